// Option sets, the tree, the tab mask and the page protocol, on the core.
#include <gtest/gtest.h>

#include "resources/sheet_strings.h"
#include "sheet/messages.h"
#include "sheet/tab_mask.h"
#include "sheet_harness.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

const std::string kPlain = "[V|VERSION|2]";
const std::string kNoDebug = "[V|VERSION|2] [B|DEBUG|0]";

std::string Compiled(const std::string& text) {
    return MakeModel(0, text)->Write();
}

std::vector<PhaseInput> Workspace() {
    return {
        {"GNU Compiler",
         {kPlain, kNoDebug, "[V|VERSION|2]   "},
         {{"demo",
           {"Debug", "Release"},
           {{"main.c", "C source file", {0, 1}},
            {"util.c", "C source file", {2, 1}},
            {"default options", "C source file", {0, 0}},
            {"app.cpp", "C++ source file", {0, 0}},
            {"default options(src)", "C source file", {0, 0}}}}}},
        {"GNU Assembler",
         {kPlain},
         {{"demo", {"Debug", "Release"}, {{"start.s", "Assembly source file", {0, 0}}}}}},
        {"OptLinker", {kPlain}, {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
        {"GNU Library Generator",
         {"[V|VERSION|2] [S|OUTPUTPATH|\"$(CONFIGDIR)\\lib$(PROJECTNAME).a\"]"},
         {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
        {"Debug", {kPlain}, {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
    };
}

} // namespace

TEST(OptionSets, IdenticalSerialisationsShareOneModel) {
    SheetHarness h(Workspace());
    const COptionSets& sets = h.sheet->Sets();
    // Input 2 differs from input 0 only in blanks: one model for both.
    EXPECT_EQ(sets.AtPosition(0, 0), sets.AtPosition(0, 2));
    EXPECT_NE(sets.AtPosition(0, 0), sets.AtPosition(0, 1));
    EXPECT_EQ(sets.ByPosition().at("GNU Compiler|2"), sets.AtPosition(0, 0));
    EXPECT_EQ(sets.ByContent().count("GNU Compiler|" + Compiled(kNoDebug)), 1u);
    EXPECT_EQ(sets.AtPosition(0, 1)->openedText, Compiled(kNoDebug));
    // Five records, six distinct sets (two in the compiler).
    EXPECT_EQ(sets.All().size(), 6u);
}

TEST(OptionSets, DumpHasItsFourHeadingsAndLineForms) {
    SheetHarness h(Workspace());
    h.Select(h.Node("GNU Compiler", "demo", "util.c"));
    std::string dump = h.sheet->Dump();
    size_t select = dump.find("\nm_mapSelectOption:\n");
    size_t all = dump.find("m_mapOption:\n");
    size_t array = dump.find("m_pManager->SetOptionArray(oa):\n");
    size_t input = dump.find("saOptionIn:\n");
    ASSERT_EQ(select, 0u);
    ASSERT_LT(select, all);
    ASSERT_LT(all, array);
    ASSERT_LT(array, input);
    // util.c in Debug uses input 2, which shares set 0.
    EXPECT_EQ(dump.substr(select, all - select),
              "\nm_mapSelectOption:\n\t0 -> GNU Compiler\t" + Compiled(kPlain) + "\n");
    EXPECT_NE(dump.find("\t2 -> GNU Compiler|2\t0\t" + Compiled(kPlain) + "\n", array),
              std::string::npos);
    EXPECT_NE(dump.find("\t2 -> GNU Compiler|[V|VERSION|2]   \n", input), std::string::npos);
}

TEST(Tree, DefaultLeavesSortFirstAndNodesCarryTheirTexts) {
    SheetHarness h(Workspace());
    TreeNode root = h.sheet->Tree().Build();
    EXPECT_EQ(root.label, SheetText(sheet_strings::kAllLoadedProjects));
    ASSERT_GE(root.children.size(), 2u);
    EXPECT_EQ(root.children[0].label, SheetText(sheet_strings::kAllProject));
    const TreeNode& project = root.children[1];
    EXPECT_EQ(project.label, "demo");
    std::vector<std::string> labels;
    for (const TreeNode& n : project.children) labels.push_back(n.label);
    EXPECT_EQ(labels, (std::vector<std::string>{
                          "C source file _File Type Level", "C++ source file _File Type Level",
                          "Assembly source file _File Type Level",
                          "C/C++ -> Assembly file _File Type Level", " _Project level"}));
    std::vector<std::string> leaves;
    for (const TreeNode& n : project.children[0].children) leaves.push_back(n.label);
    EXPECT_EQ(leaves, (std::vector<std::string>{"default options", "default options(src)", "main.c",
                                                "util.c"}));
    EXPECT_EQ(project.children[0].display, Compiled(kPlain));
    EXPECT_EQ(project.children.back().display, SheetText(sheet_strings::kNoOptionDisplay));
    EXPECT_EQ(project.children.back().children.size(), 3u); // linker, generator, debug
}

TEST(Tree, ConfigurationsFilterTheLeavesOfANode) {
    SheetHarness h(Workspace());
    CSheetTree& tree = h.sheet->Tree();
    EXPECT_EQ(
        tree.ConfigurationChoices(),
        (std::vector<std::string>{"Debug", "Release", SheetText(sheet_strings::kAllConfigurations),
                                  SheetText(sheet_strings::kMultipleConfigurations)}));
    NodeRef util = h.Node("GNU Compiler", "demo", "util.c");
    ASSERT_EQ(tree.Resolve(util).size(), 1u);
    EXPECT_EQ(tree.Resolve(util)[0]->configName, "Debug");
    tree.ShowAllConfigurations();
    EXPECT_EQ(tree.Resolve(util).size(), 2u);
    EXPECT_FALSE(tree.ShowConfiguration("Nope"));
    // A file-type name, and no target: every file type of the phase.
    EXPECT_EQ(tree.Resolve(h.Node("GNU Compiler", "demo", "C source file")).size(), 8u);
    EXPECT_EQ(tree.Resolve(h.Node("GNU Compiler", "demo")).size(), 10u);
    EXPECT_FALSE(tree.Find("GNU Compiler", "demo", "nothing.c", true));
    EXPECT_FALSE(tree.Find("GNU Compiler", "other", "", false));
    // The record's name, or a name the exports take for its phase.
    EXPECT_EQ(tree.Find("Compiler", "demo", "", false), h.Node("GNU Compiler", "demo"));
    EXPECT_FALSE(tree.Find("Frob", "demo", "", false));
}

TEST(TabMask, TheFourRulesAndTheTabOrder) {
    SheetHarness h(Workspace());
    EXPECT_EQ(h.Tabs(), ""); // the blank page while nothing is selected
    EXPECT_EQ(h.sheet->ActivePage()->ClassName(), "CTabBlank");

    h.Select(h.Node("GNU Compiler", "demo", "main.c"));
    EXPECT_EQ(h.Tabs(), "C/C++|Toolchain Option");
    h.Add(h.Node("GNU Assembler", "demo", "start.s"));
    EXPECT_EQ(h.Tabs(), "C/C++|Assembly|Toolchain Option");
    // At file-type level the CPU tab joins, and the Simulator always.
    h.Select(h.Node("GNU Compiler", "demo", "C source file"));
    h.Add(h.Node("GNU Assembler", "demo", "Assembly source file"));
    EXPECT_EQ(h.Tabs(), "C/C++|Assembly|CPU|Simulator|Toolchain Option");
    h.Select(h.Node("OptLinker", "demo"));
    EXPECT_EQ(h.Tabs(), "Link/Library|Simulator|Toolchain Option");
    h.Add(h.Node("GNU Library Generator", "demo"));
    EXPECT_EQ(h.Tabs(), "Link/Library|Standard Library|CPU|Simulator|Toolchain Option");
    // No tool phase: the Warning tab alone.
    h.Select(h.Node("Debug", "demo"));
    EXPECT_EQ(h.Tabs(), "Warning");
    h.Select(NodeRef{NodeKind::Project, 0, "demo", ""});
    EXPECT_EQ(h.Tabs(), "Warning");
    EXPECT_EQ(h.sheet->Manager().Nesting(), 0);
    EXPECT_EQ(h.observer.events.front(), "tabs: C/C++|Toolchain Option");
}

TEST(TabMask, MaskFunctionWithoutASheet) {
    CLeaf compiler, generator, debug;
    compiler.phase = 0;
    generator.phase = 3;
    debug.phase = 4;
    EXPECT_EQ(TabMaskOf({}, false), unsigned(e_ShowWarning));
    EXPECT_EQ(TabMaskOf({&compiler}, false), unsigned(e_ShowCpp | e_ShowOption));
    EXPECT_EQ(TabMaskOf({&debug}, true), unsigned(e_ShowWarning));
    EXPECT_EQ(TabMaskOf({&generator, &debug}, true),
              unsigned(e_ShowLbg | e_ShowCpu | e_ShowDebugger | e_ShowOption));
    EXPECT_EQ(TabMaskOf({&generator}, false), unsigned(e_ShowLbg | e_ShowOption));
}

TEST(PageProtocol, TabsAndCategoriesLoadTheirPages) {
    SheetHarness h(Workspace());
    h.Select(h.Node("GNU Compiler", "demo", "main.c"));
    EXPECT_EQ(h.sheet->ActivePage()->ClassName(), "CPageCppSource");
    EXPECT_EQ(h.sheet->ActivateTab("Toolchain Option"), CommandResult::Done);
    EXPECT_EQ(h.sheet->ActivePage()->ClassName(), "CTabToolOption");
    EXPECT_EQ(h.sheet->ActivateTab("Link/Library"), CommandResult::Unknown);
    EXPECT_EQ(h.sheet->ShowCategory("Optimize"), CommandResult::Unknown); // not a tool tab
    EXPECT_EQ(h.sheet->ActivateTab("C/C++"), CommandResult::Done);
    EXPECT_EQ(h.sheet->ShowCategory("Optimize"), CommandResult::Done);
    EXPECT_EQ(h.sheet->ShowCategory("Nope"), CommandResult::Unknown);
    // A selection change with the same mask keeps the tab and reloads it.
    h.Select(h.Node("GNU Compiler", "demo", "util.c"));
    EXPECT_EQ(h.sheet->ActivePage()->ClassName(), "CPageCppOptimize");
    EXPECT_EQ(h.observer.events.back().rfind("preview: ", 0), 0u);
}
