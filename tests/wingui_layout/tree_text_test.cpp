// The texts of the selection tree's items: the level names without the
// mnemonic marks they carry for menus, every other name as it is.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <map>

#include "sheet/sheet_face.h"
#include "sheet_harness.h"
#include "wingui/tree_text.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

TEST(TreeItemText, LevelsLoseTheirMnemonicMarksAndNamesKeepTheirUnderscores) {
    const std::string plain = "[V|VERSION|2]";
    SheetHarness h({{"GNU Compiler",
                     {plain},
                     {{"_boot_loader",
                       {"Debug"},
                       {{"src/my_main.c", "C source file", {0}},
                        {"gen/_table.s", "C/C++ -> Assembly file", {0}}}}}},
                    {"OptLinker", {plain}, {{"_boot_loader", {"Debug"}, {{"x", "", {0}}}}}}});
    CSheetFaceOver face(*h.sheet);
    std::map<NodeKind, std::vector<std::string>> texts;
    std::function<void(const TreeNode&, NodeKind)> walk = [&](const TreeNode& node,
                                                              NodeKind parent) {
        texts[node.kind].push_back(wingui::TreeItemText(node, face.PhaseShownBeside(node, parent)));
        for (const TreeNode& child : node.children) walk(child, node.kind);
    };
    walk(face.Tree(), NodeKind::AllProjects);
    EXPECT_EQ(texts[NodeKind::AllProjectLevel], (std::vector<std::string>{"All Project"}));
    EXPECT_EQ(texts[NodeKind::FileTypeLevel],
              (std::vector<std::string>{"C source file File Type Level",
                                        "C/C++ -> Assembly file File Type Level"}));
    ASSERT_FALSE(texts[NodeKind::ProjectLevel].empty());
    for (const std::string& level : texts[NodeKind::ProjectLevel])
        EXPECT_EQ(level.rfind("Project level", 0), 0u) << level;
    // Names from the host keep every underscore, leading ones too.
    EXPECT_EQ(texts[NodeKind::Project], (std::vector<std::string>{"_boot_loader"}));
    const std::vector<std::string>& leaves = texts[NodeKind::Leaf];
    EXPECT_NE(std::find(leaves.begin(), leaves.end(), "src/my_main.c"), leaves.end());
    EXPECT_NE(std::find(leaves.begin(), leaves.end(), "gen/_table.s"), leaves.end());
    // The project's own leaf names its phase.
    EXPECT_NE(std::find(leaves.begin(), leaves.end(), "x (OptLinker)"), leaves.end());
}

TEST(TreeItemText, AProjectLevelOfOnePhaseNamesIt) {
    TreeNode node;
    node.kind = NodeKind::ProjectLevel;
    node.label = " _Project level";
    EXPECT_EQ(wingui::TreeItemText(node, "OptLinker"), "Project level (OptLinker)");
    EXPECT_EQ(wingui::TreeItemText(node, ""), "Project level");
    // A mark before a blank or at a word's end is text, not a mark.
    node.kind = NodeKind::FileTypeLevel;
    node.label = "a_b _ c_ _File Type Level";
    EXPECT_EQ(wingui::TreeItemText(node, ""), "a_b _ c_ File Type Level");
}
