// The sheet as a view (terminal or window) sees it: positions instead of names, every
// control of the shown tabs for the search, and whether anything changed.
#include <gtest/gtest.h>

#include "interface/quorle.h"
#include "platform/platform.h"
#include "sheet/sheet_face.h"
#include "sheet_harness.h"
#include "support/temp_dir.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

const std::string kPlain = "[V|VERSION|2]";

std::vector<PhaseInput> Workspace() {
    return {
        {"GNU Compiler",
         {kPlain, kPlain + " [B|DEBUG|0]"},
         {{"demo",
           {"Debug", "Release"},
           {{"main.c", "C source file", {0, 0}}, {"util.c", "C source file", {1, 1}}}}}},
        {"OptLinker", {kPlain}, {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
    };
}

size_t IndexOf(const CSheetFace& face, const std::string& key) {
    const auto& controls = face.Controls();
    for (size_t i = 0; i < controls.size(); ++i)
        if (controls[i].key == key) return i;
    ADD_FAILURE() << "no control " << key;
    return controls.size();
}

// Shows the category page of that label on the active tab.
void ShowCategoryNamed(CSheetFace& face, const std::string& label) {
    const auto labels = face.Categories();
    for (size_t i = 0; i < labels.size(); ++i)
        if (labels[i] == label) {
            ASSERT_EQ(face.ShowCategory(i), CommandResult::Done);
            return;
        }
    ADD_FAILURE() << "no category " << label;
}

} // namespace

TEST(SheetFace, BlankUntilSomethingIsSelected) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    EXPECT_EQ(face.Title(), "Dravik GNUCORVO [ELF] Toolchain");
    EXPECT_EQ(face.ActiveTab(), -1);
    EXPECT_TRUE(face.Tabs().empty());
    EXPECT_TRUE(face.Categories().empty());
    EXPECT_TRUE(face.Controls().empty());
    EXPECT_EQ(face.Preview(), "");
    EXPECT_TRUE(face.AllControls().empty());
    EXPECT_EQ(face.ActivateTab(0), CommandResult::Unknown);
    EXPECT_EQ(face.SetControl(0, {"1"}), CommandResult::Unknown);
    EXPECT_EQ(face.ShownConfigurations(), std::vector<std::string>{"Debug"});
    EXPECT_EQ(face.Tree().children.size(), h.sheet->Tree().Build().children.size());
}

TEST(SheetFace, TabsCategoriesAndControlsByPosition) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    ASSERT_EQ(face.Select({h.Node("GNU Compiler", "demo", "main.c")}, false), CommandResult::Done);
    EXPECT_EQ(face.Selection().size(), 1u);
    ASSERT_EQ(face.Tabs(), (std::vector<std::string>{"C/C++", "Toolchain Option"}));
    EXPECT_EQ(face.ActiveTab(), 0);
    ASSERT_FALSE(face.Categories().empty());
    EXPECT_EQ(face.ActiveCategory(), 0);
    EXPECT_NE(face.Preview(), "");

    ASSERT_EQ(face.ActivateTab(1), CommandResult::Done);
    EXPECT_EQ(face.ActiveTab(), 1);
    // The Toolchain Option tab has no category list and no preview.
    EXPECT_TRUE(face.Categories().empty());
    EXPECT_EQ(face.ActiveCategory(), -1);
    EXPECT_EQ(face.Preview(), "");
    EXPECT_EQ(face.ShowCategory(0), CommandResult::Unknown);
    EXPECT_EQ(face.ActivateTab(2), CommandResult::Unknown);
    EXPECT_EQ(face.ActiveTab(), 1);
}

TEST(SheetFace, SetControlChangesTheModelAndMarksTheSheetChanged) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    ASSERT_EQ(face.Select({h.Node("GNU Compiler", "demo", "main.c")}, false), CommandResult::Done);
    ShowCategoryNamed(face, "Optimize");
    const size_t lto = IndexOf(face, "LTO");
    const size_t optimize = IndexOf(face, "OPTIMIZE");
    // Refused changes leave the sheet unchanged.
    EXPECT_EQ(face.SetControl(face.Controls().size(), {"1"}), CommandResult::Unknown);
    EXPECT_EQ(face.SetControl(IndexOf(face, "OPTLV"), {"no such level"}), CommandResult::BadValue);
    EXPECT_FALSE(face.Changed());

    ASSERT_EQ(face.SetControl(optimize, {"0"}), CommandResult::Done);
    EXPECT_TRUE(face.Changed());
    // Link-time optimisation waits for the optimiser.
    EXPECT_EQ(face.SetControl(lto, {"1"}), CommandResult::Disabled);
    ASSERT_EQ(face.SetControl(optimize, {"1"}), CommandResult::Done);
    ASSERT_EQ(face.SetControl(lto, {"1"}), CommandResult::Done);
    EXPECT_EQ(face.States()[lto].value, Value{"1"});
    EXPECT_NE(face.Preview().find("-flto"), std::string::npos) << face.Preview();
    ASSERT_EQ(face.Ok(), 0);
    bool found = false;
    for (const std::string& text : h.host.Output(0))
        found = found || text.find("[B|LTO|1]") != std::string::npos;
    EXPECT_TRUE(found);
}

TEST(SheetFace, EveryControlOfTheShownTabsCanBeReached) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    ASSERT_EQ(face.Select({h.Node("GNU Compiler", "demo", "main.c")}, false), CommandResult::Done);
    ASSERT_EQ(face.Select({h.Node("OptLinker", "demo", "demo")}, true), CommandResult::Done);
    std::vector<FaceControl> all = face.AllControls();
    ASSERT_FALSE(all.empty());
    std::set<std::string> tabs;
    for (const FaceControl& c : all) {
        tabs.insert(c.tabTitle);
        ASSERT_EQ(face.ActivateTab(c.tab), CommandResult::Done) << c.label;
        if (!c.categoryLabel.empty()) {
            ASSERT_EQ(face.ShowCategory(c.category), CommandResult::Done);
        }
        ASSERT_LT(c.control, face.Controls().size());
        const ControlDef& def = face.Controls()[c.control];
        EXPECT_EQ(PlainLabel(def.label), c.label);
        EXPECT_EQ(def.key, c.key);
        EXPECT_FALSE(def.hidden);
        EXPECT_NE(def.kind, ControlKind::Label);
    }
    EXPECT_EQ(tabs, (std::set<std::string>{"C/C++", "Link/Library", "Toolchain Option"}));
}

// Without a script and without a terminal (as under the test runner, whose
// output is a pipe) the editor says what to do and answers 1.
TEST(SheetFace, NoTerminalAndNoScriptNamesTheVariable) {
#if defined(_WIN32)
    GTEST_SKIP() << "on Windows the call opens the sheet's window; tests/wingui_sheet drives it";
#endif
    HostRecordsFixture host(Workspace());
    testing_support::TempDir workspaceDir("face_no_terminal_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    testing_support::TempDir temp("face_no_terminal");
    auto dir = temp.Root();
    const std::string log = (dir / "messages.txt").string();
    platform::UnsetEnv("QUORLE_SHEET_SCRIPT");
    platform::SetEnv("QUORLE_MESSAGES", log);
    ASSERT_FALSE(platform::StandardOutputIsTerminal() && platform::StandardInputIsTerminal());
    const std::string plugin = std::string(QUORLE_RESOURCE_DIR) + "/Quorle.dll";
    EXPECT_EQ(EditOptions(host.List(), plugin.c_str(), info.Get()), 1);
    platform::UnsetEnv("QUORLE_MESSAGES");
    const std::string logged = testing_support::ReadBytes(log);
    EXPECT_NE(logged.find("ERROR\t"), std::string::npos) << logged;
    EXPECT_NE(logged.find("QUORLE_SHEET_SCRIPT"), std::string::npos) << logged;
    EXPECT_NE(logged.find("terminal"), std::string::npos) << logged;
    EXPECT_FALSE(host.HasOutput(0));
}

TEST(SheetFace, ValuesOfAControlPerConfigurationAndItsDefault) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    ASSERT_EQ(face.ShowConfigurations({"Debug", "Release"}), CommandResult::Done);
    ASSERT_EQ(face.Select({h.Node("GNU Compiler", "demo", "main.c"),
                           h.Node("GNU Compiler", "demo", "util.c")},
                          false),
              CommandResult::Done);
    ShowCategoryNamed(face, "Object");
    const size_t debug = IndexOf(face, "DEBUGLV");
    ControlValues values = face.ValuesOf(debug);
    ASSERT_TRUE(values.defaultValue);
    ASSERT_EQ(values.configurations.size(), 2u);
    EXPECT_EQ(values.configurations[0].first, "Debug");
    EXPECT_EQ(values.configurations[1].first, "Release");
    // main.c leaves the debug information to its default, util.c turns it off.
    EXPECT_EQ(values.configurations[0].second.size(), 2u);
    EXPECT_EQ(values.configurations[1].second, values.configurations[0].second);
    EXPECT_NE(std::find(values.configurations[0].second.begin(),
                        values.configurations[0].second.end(), *values.defaultValue),
              values.configurations[0].second.end());
    // Only the configuration shown.
    ASSERT_EQ(face.ShowConfigurations({"Release"}), CommandResult::Done);
    values = face.ValuesOf(debug);
    ASSERT_EQ(values.configurations.size(), 1u);
    EXPECT_EQ(values.configurations[0].first, "Release");
    EXPECT_TRUE(face.ValuesOf(face.Controls().size()).configurations.empty());
}

TEST(SheetFace, SectionCommandsReachTheLinkerAndMarkTheSheetChanged) {
    SheetHarness h(Workspace());
    CSheetFaceOver face(*h.sheet);
    EXPECT_EQ(face.SectionCommand({"region", "add", "ram", "0x0", "0xFFFF"}),
              CommandResult::Unknown);
    ASSERT_EQ(face.Select({h.Node("OptLinker", "demo")}, false), CommandResult::Done);
    EXPECT_FALSE(face.Changed());
    ASSERT_EQ(face.SectionCommand({"region", "add", "ram", "0x0", "0xFFFF"}), CommandResult::Done);
    EXPECT_TRUE(face.Changed());
    EXPECT_EQ(face.Categories()[static_cast<size_t>(face.ActiveCategory())], "Memory");
    const auto& states = face.States();
    ASSERT_FALSE(states.empty());
    EXPECT_EQ(states[0].value, std::vector<std::string>{"ram|0x0|0xFFFF"});
    EXPECT_EQ(face.SectionCommand({"region", "add", "ram", "0x0", "0xFFFF"}),
              CommandResult::Refused);
}
