// What the sheet decides for every view: mnemonics, a choice's text, the
// combo's text, the phase beside a tree node, the search and what Cancel asks.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <set>

#include "resources/sheet_strings.h"
#include "sheet/messages.h"
#include "sheet/mnemonic.h"
#include "sheet/page_builders.h"
#include "sheet/search.h"
#include "sheet/sheet_face.h"
#include "sheet_harness.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

// A compiler with one file and a linker, in three configurations of one project.
std::vector<PhaseInput> Workspace() {
    const std::vector<std::string> configs{"Debug", "Release", "Test"};
    const std::string version = "[V|VERSION|2]";
    PhaseInput compiler{"GNU Compiler", {version}, {{"demo", configs, {}}}};
    compiler.projects[0].files.push_back({"main.c", "C source file", {0, 0, 0}});
    PhaseInput linker{"OptLinker", {version}, {{"demo", configs, {}}}};
    linker.projects[0].files.push_back({"demo", "", {0, 0, 0}});
    return {compiler, linker};
}

// Every node of the tree with the kind of the node it hangs under.
void Walk(const TreeNode& node, NodeKind parent,
          const std::function<void(const TreeNode&, NodeKind)>& visit) {
    visit(node, parent);
    for (const TreeNode& child : node.children) Walk(child, node.kind, visit);
}

} // namespace

TEST(Mnemonics, TheMarkedLetterItsPlaceAndTheShownLabel) {
    constexpr size_t kNone = std::string::npos;
    struct Case {
        const char* label;
        size_t mark;     // in the label
        size_t position; // in the label as shown
        char letter;
    };
    const Case cases[] = {
        {"Optimization &level:", 13, 13, 'l'},
        {"&Quit", 0, 0, 'q'}, // lower case, whatever the label has
        // A doubled ampersand is a literal one and no mnemonic.
        {"Save && &Quit", 8, 7, 'q'},
        {"Fish && chips", kNone, kNone, '\0'},
        {"No mnemonic", kNone, kNone, '\0'},
        {"Trailing &", kNone, kNone, '\0'},
        // A mark before anything but an ASCII letter or digit gives no key.
        {"Size & speed", 5, kNone, '\0'},
        {"Caf&\xc3\xa9", 3, kNone, '\0'},
        {"Level &2", 6, 6, '2'},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(MnemonicMark(c.label), c.mark) << c.label;
        EXPECT_EQ(MnemonicPosition(c.label), c.position) << c.label;
        EXPECT_EQ(MnemonicOf(c.label), c.letter) << c.label;
    }

    EXPECT_EQ(LabelWithoutMarks("Save && &Quit:"), "Save & Quit:");
    EXPECT_EQ(LabelWithoutMarks("Trailing &"), "Trailing ");
    EXPECT_EQ(PlainLabel("&Memory resource :"), "Memory resource");
    EXPECT_EQ(PlainLabel("Save && &Quit"), "Save & Quit");
}

TEST(Mnemonics, APageGivesEveryLabelOneLetterOfItsOwn) {
    PageData page{"Page", "CTabTest", {}};
    auto control = [](ControlKind kind, std::string label) {
        ControlDef c;
        c.kind = kind;
        c.label = std::move(label);
        return c;
    };
    page.controls = {control(ControlKind::Check, "&Optimize"),
                     control(ControlKind::Check, "&Output map"), // O is taken: loses its mark
                     control(ControlKind::Check, "Omit frame"),
                     control(ControlKind::Label, "Static text"),
                     control(ControlKind::Check, "Fish && chips")};
    build::AssignMnemonics(page);
    EXPECT_EQ(page.controls[0].label, "&Optimize");
    EXPECT_EQ(page.controls[1].label, "O&utput map");
    EXPECT_EQ(page.controls[2].label, "O&mit frame");
    EXPECT_EQ(page.controls[3].label, "Static text"); // static text takes none
    EXPECT_EQ(page.controls[4].label, "&Fish && chips");
    std::set<char> letters;
    for (const ControlDef& c : page.controls) {
        if (c.kind == ControlKind::Label) continue;
        EXPECT_TRUE(letters.insert(MnemonicOf(c.label)).second) << c.label;
    }
}

TEST(ChoiceText, TheWordsLabelOrTheWordItself) {
    ControlDef choice;
    choice.kind = ControlKind::Choice;
    choice.values = {"", "0", "s"};
    choice.valueLabels = {"(not set)", "", "Size (-Os)"};
    EXPECT_EQ(ChoiceText(choice, ""), "(not set)");
    EXPECT_EQ(ChoiceText(choice, "s"), "Size (-Os)");
    EXPECT_EQ(ChoiceText(choice, "0"), "0");       // a blank label
    EXPECT_EQ(ChoiceText(choice, "fast"), "fast"); // not a word of the choice
    choice.valueLabels.resize(1);
    EXPECT_EQ(ChoiceText(choice, "s"), "s"); // more words than labels
}

TEST(FaceRules, TheComboShowsOneOfItsChoices) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    EXPECT_EQ(face.ConfigurationText(), "Debug");
    ASSERT_EQ(face.ShowConfigurations({"Release", "Test"}), CommandResult::Done);
    EXPECT_EQ(face.ConfigurationText(), SheetText(sheet_strings::kMultipleConfigurations));
    const std::vector<std::string> choices = face.ConfigurationChoices();
    EXPECT_NE(std::find(choices.begin(), choices.end(), face.ConfigurationText()), choices.end());
    ASSERT_EQ(face.ShowConfigurations({"Debug", "Release", "Test"}), CommandResult::Done);
    EXPECT_EQ(face.ConfigurationText(), SheetText(sheet_strings::kAllConfigurations));
    ASSERT_EQ(face.ShowConfigurations({"Test"}), CommandResult::Done);
    EXPECT_EQ(face.ConfigurationText(), "Test");
}

TEST(FaceRules, AProjectsOwnLeavesNameTheirPhase) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    std::vector<std::string> named;
    Walk(face.Tree(), NodeKind::AllProjects, [&](const TreeNode& node, NodeKind parent) {
        const std::string phase = face.PhaseShownBeside(node, parent);
        if (!phase.empty()) named.push_back(node.label + " (" + phase + ")");
    });
    // File leaves, levels standing for every phase and projects name none.
    EXPECT_EQ(named, std::vector<std::string>{"demo (OptLinker)"});

    TreeNode level;
    level.kind = NodeKind::ProjectLevel;
    level.label = SheetText(sheet_strings::kProjectLevel);
    level.record = 1;
    EXPECT_EQ(face.PhaseShownBeside(level, NodeKind::Project), "OptLinker");
    level.record = kAnyRecord;
    EXPECT_EQ(face.PhaseShownBeside(level, NodeKind::Project), "");
    // A leaf already named after its phase is not named twice.
    TreeNode leaf;
    leaf.label = "OptLinker";
    leaf.record = 1;
    EXPECT_EQ(face.PhaseShownBeside(leaf, NodeKind::ProjectLevel), "");
    leaf.label = "main.c";
    leaf.record = 0;
    EXPECT_EQ(face.PhaseShownBeside(leaf, NodeKind::FileTypeLevel), "");
}

TEST(FaceRules, TheSearchFindsControlsOfTheShownTabs) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    const FaceQuestion question = face.SearchQuestion();
    EXPECT_EQ(question.caption, "Search");
    EXPECT_EQ(question.text, "Label or tool flag:");
    EXPECT_TRUE(face.Search("flto").empty());
    EXPECT_EQ(face.NothingFound("flto"),
              "Nothing matches \"flto\" (select a node in the tree first).");

    ASSERT_EQ(face.Select({h.Node("GNU Compiler", "demo", "main.c")}, false), CommandResult::Done);
    const std::vector<SearchHit> hits = face.Search("-FLTO");
    auto lto = std::find_if(hits.begin(), hits.end(),
                            [](const SearchHit& hit) { return hit.control.key == "LTO"; });
    ASSERT_NE(lto, hits.end());
    EXPECT_EQ(lto->text, SearchHitText(lto->control));
    EXPECT_EQ(lto->text.rfind("C/C++ / Optimize / ", 0), 0u) << lto->text;
    // The hit leads to its control.
    ASSERT_EQ(face.ActivateTab(lto->control.tab), CommandResult::Done);
    ASSERT_EQ(face.ShowCategory(lto->control.category), CommandResult::Done);
    EXPECT_EQ(face.Controls()[lto->control.control].key, "LTO");
    EXPECT_TRUE(face.Search("no-such-flag").empty());
    EXPECT_EQ(face.NothingFound("no-such-flag"), "Nothing matches \"no-such-flag\".");
}

TEST(FaceRules, SearchWordsBeginWordsOfLabelKeyFlagOrChoice) {
    std::vector<FaceControl> all = {
        {0,
         0,
         2,
         "C/C++",
         "Optimize",
         "Link-time optimization",
         "LTO",
         "Keep the code (-flto)",
         {}},
        {1, 0, 0, "Link/Library", "Output", "Generate map file", "MFILEGEN", "(-Map=)", {}},
        {2, 0, 0, "Warning", "", "Text", "", "", {}},
    };
    EXPECT_EQ(SearchControls(all, "-FLTO"), std::vector<size_t>{0});
    EXPECT_EQ(SearchControls(all, "mfilegen"), std::vector<size_t>{1});
    EXPECT_EQ(SearchControls(all, "map"), std::vector<size_t>{1});
    EXPECT_EQ(SearchControls(all, "t"), (std::vector<size_t>{0, 2}));
    EXPECT_EQ(SearchControls(all, "ap"), std::vector<size_t>{}); // inside a word only
    EXPECT_EQ(SearchWords("Keep (--split-by-reloc=N) .text"),
              (std::vector<std::string>{"keep", "split-by-reloc", "n", ".text"}));
    EXPECT_TRUE(SearchControls(all, "  ").empty());
    EXPECT_TRUE(SearchControls(all, "nothing such").empty());
    // Words in any order, over label, key and flags; dashes as the user likes.
    EXPECT_EQ(SearchControls(all, "optimization link"), std::vector<size_t>{0});
    EXPECT_EQ(SearchControls(all, "flto"), std::vector<size_t>{0});
    EXPECT_EQ(SearchControls(all, "--flto"), std::vector<size_t>{0});
    EXPECT_EQ(SearchControls(all, "lto code"), std::vector<size_t>{0});
    EXPECT_TRUE(SearchControls(all, "optimization map").empty());
    std::vector<FaceControl> choice = {
        {0,
         0,
         1,
         "C/C++",
         "Optimize",
         "Optimization level",
         "OPTLV",
         "",
         {"Speed (-O3)", "Size (-Os)"}},
    };
    EXPECT_EQ(SearchControls(choice, "-Os"), std::vector<size_t>{0});
    EXPECT_EQ(SearchControls(choice, "o3"), std::vector<size_t>{0});
    EXPECT_TRUE(SearchControls(choice, "O2").empty());
    EXPECT_EQ(SearchHitText(all[0]),
              "C/C++ / Optimize / Link-time optimization  (Keep the code (-flto))");
    EXPECT_EQ(SearchHitText(all[2]), "Warning / Text");
}

TEST(FaceRules, CancelAsksOnlyOnceSomethingChanged) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    EXPECT_FALSE(face.CancelQuestion().has_value());
    ASSERT_EQ(face.Select({h.Node("GNU Compiler", "demo", "main.c")}, false), CommandResult::Done);
    // Looking around and a refused value lose nothing.
    ASSERT_EQ(face.ActivateTab(1), CommandResult::Done);
    ASSERT_EQ(face.ActivateTab(0), CommandResult::Done);
    EXPECT_EQ(face.SetControl(face.Controls().size(), {"1"}), CommandResult::Unknown);
    EXPECT_FALSE(face.CancelQuestion().has_value());

    const std::vector<SearchHit> hits = face.Search("LTO");
    ASSERT_FALSE(hits.empty());
    ASSERT_EQ(face.ShowCategory(hits[0].control.category), CommandResult::Done);
    size_t optimize = face.Controls().size();
    for (size_t i = 0; i < face.Controls().size(); ++i)
        if (face.Controls()[i].key == "OPTIMIZE") optimize = i;
    ASSERT_EQ(face.SetControl(optimize, {"0"}), CommandResult::Done);
    const auto question = face.CancelQuestion();
    ASSERT_TRUE(question.has_value());
    EXPECT_EQ(question->caption, "Cancel");
    EXPECT_EQ(question->text, "Discard the changes?");
}
