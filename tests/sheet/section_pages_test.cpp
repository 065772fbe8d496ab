// The section pages: every check of the section dialogs with its message,
// the layout and the page left as they were; editing written into every
// selected linker; deep group chains without recursion; the .gsi export
// written whole or not at all.
#include <gtest/gtest.h>

#include <filesystem>

#include "models/linker_model.h"
#include "page_fixture.h"
#include "platform/platform.h"
#include "sections/layout_tree.h"
#include "sections/ld_script.h"
#include "sections/script_file.h"
#include "sheet/layout_walk.h"
#include "sheet/section_pages.h"
#include "sheet_harness.h"
#include "support/temp_dir.h"
#include "support/test_files.h"
#include "toolchain/family.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;
namespace fs = std::filesystem;

namespace {

std::string DefaultLayoutString() {
    models::LinkerModel model;
    model.layout_.groups = sections::DefaultGroups();
    return model.Write();
}

std::vector<PhaseInput> Linker(std::vector<std::string> inputs, int projects = 1) {
    std::vector<ProjectSpec> list;
    for (int p = 0; p < projects; ++p)
        list.push_back({"demo" + std::to_string(p),
                        {"Debug"},
                        {{"demo", "", {p % static_cast<int>(inputs.size())}}}});
    return {{"OptLinker", std::move(inputs), std::move(list)}};
}

struct SectionSheet {
    explicit SectionSheet(std::vector<std::string> inputs = {DefaultLayoutString()},
                          int projects = 1)
        : h(Linker(std::move(inputs), projects)) {
        for (int p = 0; p < projects; ++p) {
            auto node = h.Node("OptLinker", "demo" + std::to_string(p));
            EXPECT_EQ(p == 0 ? h.Select(node) : h.Add(node), CommandResult::Done);
        }
    }
    CommandResult Run(std::vector<std::string> fields) { return h.sheet->SectionCommand(fields); }
    CSectionPage& Page() { return *dynamic_cast<CSectionPage*>(h.sheet->ActivePage()); }
    std::string Text() { return h.sheet->SelectedSets().front()->model->Write(); }
    SheetHarness h;
};

struct Check {
    std::vector<std::string> command;
    std::string message;
};

} // namespace

TEST(SectionPages, EveryCheckShowsItsMessageAndChangesNothing) {
    SectionSheet s;
    ASSERT_EQ(s.Run({"region", "add", "ram", "0x0", "0xFFFF"}), CommandResult::Done);
    const std::vector<Check> checks = {
        {{"group", "add", "", "address", "0x5000"}, "A name must be specified"},
        {{"group", "add", ".text", "address", "0x5000"}, "ERROR: Group name already defined"},
        {{"group", "add", "my group", "address", "0x5000"},
         "Whitespace is not permitted in the group name"},
        {{"group", "add", ".new", "address", "0x00001000"},
         "Address overlapping found with section ' .text '\nPlease give some other address"},
        {{"group", "add", ".new", "address", ""}, "Address field must not be empty"},
        {{"label", "add", ".text", "a b"}, "Whitespace is not permitted in the label name"},
        {{"label", "add", ".text", "_vects"}, "ERROR: Label name already defined"},
        {{"label", "add", ".text", ""}, "Please enter a label name."},
        {{"section", "add", ".text", "All-sections", "All-files"},
         "ERROR: \"All sections\" from \"All files\" is not allowed"},
        {{"section", "add", ".text", ".x"}, "ERROR: At least one file must be specified"},
        {{"section", "add", ".text", "", "a.o"}, "ERROR: You must specify a section name"},
        {{"section", "add", ".text", ".a b", "a.o"},
         "Whitespace is not permitted in the section name"},
        {{"section", "add", ".text", "KEEP(*(.ctors))", "All-files"},
         "ERROR: \"KEEP(*(.ctors))\" is not a section name ld can read.\nGive an input-section "
         "name or wildcard pattern (such as .text.*), alone or inside SORT(), SORT_BY_NAME(), "
         "SORT_BY_ALIGNMENT(), SORT_BY_INIT_PRIORITY() or SORT_NONE().\nKEEP is set for the whole "
         "group, in its Advanced settings."},
        {{"section", "add", ".text", ".x;", "a.o"},
         "ERROR: \".x;\" is not a section name ld can read.\nGive an input-section name or "
         "wildcard pattern (such as .text.*), alone or inside SORT(), SORT_BY_NAME(), "
         "SORT_BY_ALIGNMENT(), SORT_BY_INIT_PRIORITY() or SORT_NONE()."},
        {{"label", "remove", ".text", "_mdata"},
         "Label cannot be removed because\nit is referenced elsewhere"},
        {{"label", "modify", ".text", "_mdata", "_x"},
         "Label cannot be modified because\nit is referenced elsewhere"},
        {{"item", "remove", ".text"}, "Selection error; aborting"},
        {{"region", "add", "r2", "0x", "0x50"},
         "ERROR: Insuficient information has been\n  given to create a memory region"},
        {{"region", "add", "r2", "0x100", "0x50"},
         "ERROR: The end address must be higher than the start address"},
        {{"region", "add", "ram", "0x20000", "0x2FFFF"}, "ERROR: Region name already in use"},
        {{"region", "add", "rom", "0x8000", "0x1FFFF"},
         "ERROR: The new memory region overlaps a region already defined"},
    };
    for (const Check& check : checks) {
        const std::string before = s.Text();
        s.h.messages.shown.clear();
        ASSERT_EQ(s.Run(check.command), CommandResult::Refused) << check.message;
        ASSERT_EQ(s.h.messages.shown.size(), 1u) << check.message;
        EXPECT_EQ(s.h.messages.shown[0].text, check.message);
        EXPECT_EQ(s.Text(), before) << check.message;
        // The user stays on the tab and the page that refused.
        EXPECT_EQ(s.h.sheet->ShownTabTitles().front(), "Link/Library");
        EXPECT_TRUE(s.Page().Handles(check.command.front())) << check.message;
    }
}

TEST(SectionPages, NoLoadAndKeepTogether) {
    SectionSheet s;
    // KEEP can be changed only while garbage collection is on.
    EXPECT_EQ(s.Run({"advanced", ".stack", "1", "1"}), CommandResult::BadValue);
    ASSERT_EQ(s.h.sheet->SetControl("GCSECTS", {"1"}), CommandResult::Done);
    ASSERT_EQ(s.Run({"advanced", ".stack", "1", "1"}), CommandResult::Done);
    EXPECT_TRUE(s.h.messages.shown.empty());
    // NOLOAD checked on a kept group leaves KEEP on.
    ASSERT_EQ(s.Run({"advanced", ".bss", "0", "1"}), CommandResult::Done);
    ASSERT_EQ(s.Run({"advanced", ".bss", "1", "1"}), CommandResult::Done);
    EXPECT_TRUE(s.h.messages.shown.empty());
    ASSERT_EQ(s.h.sheet->ShowCategory("Output"), CommandResult::Done); // saves the layout
    auto* model = As<models::LinkerModel>(s.h.sheet->SelectedSets().front()->model.get());
    for (const char* name : {".stack", ".bss"}) {
        auto place = FindGroupNamed(model->layout_.groups, name);
        ASSERT_TRUE(place) << name;
        EXPECT_TRUE(place->Group().noLoad) << name;
        EXPECT_TRUE(place->Group().keep) << name;
    }
    // The script keeps the section's contents in the NOLOAD group.
    std::string script = sections::ScriptText(model->layout_, "Dravik GNUCORVO [ELF]", 0, false);
    EXPECT_NE(script.find("\t.stack 0x00FFFC00 (NOLOAD) : AT (0x00FFFC00)\n\t{\n\t\t_stack = .;\n"
                          "\t\tKEEP(*(.stack))\n"),
              std::string::npos)
        << script;
}

// A group the user places behind the label .mdata is loaded at goes there,
// with a warning; placed in front of the group holding it, without one.
TEST(SectionPages, AGroupBehindALoadLabelIsWarnedOf) {
    SectionSheet s;
    ASSERT_EQ(s.Run({"group", "add", ".rodata", "follow", ".text"}), CommandResult::Done);
    ASSERT_EQ(s.h.messages.shown.size(), 1u);
    EXPECT_EQ(s.h.messages.shown[0].caption, "WARNING");
    EXPECT_EQ(s.h.messages.shown[0].text,
              "The group .rodata follows the label _mdata of .text, where .mdata is loaded: their "
              "contents would overlap in memory.\nLet .rodata follow the group before .text "
              "instead.");
    s.h.messages.shown.clear();
    ASSERT_EQ(s.Run({"group", "add", ".consts", "follow", ".vects"}), CommandResult::Done);
    EXPECT_TRUE(s.h.messages.shown.empty());
    ASSERT_EQ(s.h.sheet->ShowCategory("Output"), CommandResult::Done); // saves the layout
    std::vector<std::string> names;
    for (const auto& group : models::LinkerModel(s.Text()).layout_.groups)
        names.push_back(group.name);
    EXPECT_EQ(names, (std::vector<std::string>{".vects", ".consts", ".text", ".rodata", ".mdata",
                                               ".bss", ".stack"}));
}

TEST(SectionPages, EditsReachEverySelectedLinkerAndTheOptionString) {
    SectionSheet s({DefaultLayoutString(), DefaultLayoutString() + " [B|MFILEGEN|1]"}, 2);
    ASSERT_EQ(s.Run({"group", "add", ".rodata", "follow", ".text"}), CommandResult::Done);
    ASSERT_EQ(s.Run({"section", "add", ".rodata", ".rodata", "All-files"}), CommandResult::Done);
    ASSERT_EQ(s.Run({"label", "add", ".rodata", "_ro start", "free"}), CommandResult::Done);
    ASSERT_EQ(s.Run({"group", "add", ".late", "label", "_ro____start"}), CommandResult::Done);
    ASSERT_EQ(s.Run({"region", "add", "ram", "0x0", "0xFFFF"}), CommandResult::Done);
    ASSERT_EQ(s.Run({"start", ".stack", "0x00FFF000"}), CommandResult::Done);
    EXPECT_EQ(s.h.sheet->ActivePage()->Label(), "Start");
    ASSERT_TRUE(s.h.sheet->Ok().has_value());
    for (size_t i = 0; i < 2; ++i) {
        models::LinkerModel model(s.h.host.Output(0).at(i));
        const auto& groups = model.layout_.groups;
        ASSERT_EQ(groups.size(), 6u);
        EXPECT_EQ(groups[2].name, ".rodata"); // after .text
        ASSERT_EQ(groups[2].children.size(), 1u);
        EXPECT_EQ(groups[2].children[0].name, ".late");
        EXPECT_EQ(groups[5].placementText, "0x00FFF000");
        ASSERT_EQ(model.layout_.regions.size(), 1u);
        EXPECT_EQ(model.mapFile_, i == 1); // the other keys of each string stay
    }
}

TEST(SectionPages, DifferentLayoutsShowMixedUntilRestored) {
    models::LinkerModel other;
    SectionSheet s({DefaultLayoutString(), other.Write()}, 2);
    ASSERT_EQ(s.h.sheet->ShowCategory("Group map"), CommandResult::Done);
    EXPECT_TRUE(s.Page().States()[0].mixed);
    EXPECT_EQ(s.Run({"group", "remove", ".text"}), CommandResult::Disabled);
    ASSERT_EQ(s.h.sheet->Press("Restore defaults"), CommandResult::Done);
    EXPECT_FALSE(s.Page().States()[0].mixed);
    ASSERT_EQ(s.Run({"group", "remove", ".text"}), CommandResult::Done);
    ASSERT_TRUE(s.h.sheet->Ok().has_value());
    ASSERT_EQ(s.h.host.Output(0).size(), 1u); // both read to the same text now
    models::LinkerModel model(s.h.host.Output(0)[0]);
    EXPECT_EQ(model.layout_.groups.size(), 4u);
}

TEST(SectionEditor, ChainOfAHundredThousandGroupsWithoutRecursion) {
    constexpr int kDepth = 100000;
    sections::SectionLayout layout;
    sections::SectionGroup root;
    root.name = "g0";
    root.placement = sections::kFixedAddress;
    root.placementText = "0x0";
    root.contents.push_back(sections::LabelItem("l0"));
    layout.groups.push_back(std::move(root));
    sections::SectionGroup* tail = &layout.groups[0];
    for (int i = 1; i < kDepth; ++i) {
        sections::SectionGroup g;
        g.name = "g" + std::to_string(i);
        g.placement = sections::kAtLabel;
        g.placementText = "l" + std::to_string(i - 1);
        g.contents.push_back(sections::LabelItem("l" + std::to_string(i)));
        tail->children.push_back(std::move(g));
        tail = &tail->children[0];
    }
    {
        CSectionEditor editor;
        editor.Load(layout);
        EXPECT_TRUE(SameGroups(editor.Layout().groups, layout.groups));
        auto rows = editor.GroupRows();
        ASSERT_EQ(rows.size(), static_cast<size_t>(kDepth));
        EXPECT_EQ(rows.back().depth, kDepth - 1);
        EXPECT_EQ(rows.back().text, "g99999|label|l99998");
        // The deepest label places a new group; the label it references is kept.
        ASSERT_EQ(editor.AddGroup("tail", "label", "l99999").kind, EditResult::Done);
        EXPECT_EQ(editor.RemoveLabel("g99999", "l99999").message,
                  "Label cannot be removed because\nit is referenced elsewhere");
        EXPECT_EQ(editor.AddLabel("g5", "l77777", false).message,
                  "ERROR: Label name already defined");
        EXPECT_FALSE(SameGroups(editor.Layout().groups, layout.groups));
        // Removing the second group takes the whole chain below it.
        ASSERT_EQ(editor.RemoveGroup("g1").kind, EditResult::Done);
        EXPECT_EQ(editor.GroupRows().size(), 1u);
    }
    DestroyGroups(layout.groups);
    EXPECT_TRUE(layout.groups.empty());
}

TEST(SectionEditor, ModifyMovesAGroupWithItsChildrenOrRefuses) {
    CSectionEditor editor;
    sections::SectionLayout layout;
    layout.groups = sections::DefaultGroups();
    editor.Load(layout);
    ASSERT_EQ(editor.AddGroup(".inner", "label", "_ebss").kind, EditResult::Done);
    // A group cannot move under its own labels.
    ASSERT_EQ(editor.AddLabel(".inner", "_in", false).kind, EditResult::Done);
    EXPECT_EQ(editor.ModifyGroup(".inner", ".inner", "label", "_in").kind, EditResult::BadArgument);
    EXPECT_TRUE(
        FindGroupNamed(const_cast<sections::SectionLayout&>(editor.Layout()).groups, ".inner"));
    // Moved under .text's label: the group goes with it and keeps its contents.
    ASSERT_EQ(editor.ModifyGroup(".inner", ".moved", "label", "_mdata").kind, EditResult::Done);
    auto& groups = const_cast<sections::SectionLayout&>(editor.Layout()).groups;
    ASSERT_EQ(groups[1].children.size(), 1u);
    EXPECT_EQ(groups[1].children[0].name, ".moved");
    EXPECT_EQ(groups[1].children[0].contents.size(), 1u);
    EXPECT_TRUE(groups[3].children.empty());
}

TEST(SectionPages, ExportIsWrittenWholeOrNotAtAll) {
    testing_support::TempDir temp("sheet_export");
    const fs::path dir = temp.Root();
    ProjectInfoFixture info(kCorvo, dir.string());
    PageSets sets;
    sets.Add(2, DefaultLayoutString());
    sets.shared.info = info.Get();
    CSectionPage page(SectionView::GroupMap);
    page.Load(sets.Context());
    const std::string target = (dir / "layout.gsi").string();
    ASSERT_EQ(page.Command({"export", target}), SetOutcome::Done);
    const std::string reference = (dir / "reference.ld").string();
    auto model = As<models::LinkerModel>(sets.owned[0]->model.get());
    sections::ScriptTarget scriptTarget{toolchain::EffectiveToolchainName(*info.Get()),
                                        model->cpu_.cpuType_, model->NormalMode()};
    ASSERT_EQ(sections::WriteScriptFile(reference, model->layout_, scriptTarget,
                                        sections::ProjectResolver(*info.Get())),
              sections::ScriptFileResult::Ok);
    EXPECT_EQ(platform::ReadFile(target, false), platform::ReadFile(reference, false));
    EXPECT_FALSE(fs::exists(target + ".tmp~"));
    // The temporary file cannot be made: the old export stays as it was.
    platform::WriteFile(target, "old", false);
    fs::create_directory(target + ".tmp~");
    EXPECT_EQ(page.Command({"export", target}), SetOutcome::Refused);
    EXPECT_EQ(platform::ReadFile(target, false), std::optional<std::string>("old"));
}
