// The terminal view's text forms: labels and mnemonics, the rows of the
// tree with folding, each control kind's line, the search and the layout.
#include <gtest/gtest.h>

#include "tui/control_text.h"
#include "tui/dialogs.h"
#include "tui/labels.h"
#include "tui/layout.h"
#include "tui/search.h"
#include "tui/tree_rows.h"

using namespace quorle;
using namespace quorle::tui;
using sheet::ControlDef;
using sheet::ControlKind;
using sheet::ControlState;

namespace {

ControlDef Def(ControlKind kind, const std::string& label) {
    ControlDef d;
    d.kind = kind;
    d.label = label;
    return d;
}

ControlState State(sheet::Value value, bool mixed = false) {
    ControlState s;
    s.value = std::move(value);
    s.mixed = mixed;
    return s;
}

sheet::TreeNode Node(sheet::NodeKind kind, const std::string& label,
                     std::vector<sheet::TreeNode> children = {}) {
    sheet::TreeNode n;
    n.kind = kind;
    n.label = label;
    n.project = "demo";
    n.target = label;
    n.children = std::move(children);
    return n;
}

} // namespace

TEST(TuiLabels, MnemonicAndPlainText) {
    EXPECT_EQ(PlainText("Optimization &level:"), "Optimization level");
    EXPECT_EQ(MnemonicOf("Optimization &level:"), 'l');
    EXPECT_EQ(MnemonicPosition("Optimization &level:"), 13u);
    // A doubled ampersand is a literal one and no mnemonic.
    EXPECT_EQ(PlainText("Save && &Quit"), "Save & Quit");
    EXPECT_EQ(MnemonicOf("Save && &Quit"), 'q');
    EXPECT_EQ(MnemonicPosition("Save && &Quit"), 7u);
    EXPECT_EQ(MnemonicOf("No mnemonic"), 0);
    EXPECT_EQ(MnemonicPosition("Trailing &"), std::string::npos);
    EXPECT_EQ(PlainText("&Memory resource :"), "Memory resource");
}

TEST(TuiTree, FoldingHidesChildrenAndKeepsIds) {
    using sheet::NodeKind;
    sheet::TreeNode root = Node(
        NodeKind::AllProjects, "All Loaded Projects",
        {Node(NodeKind::Project, "demo",
              {Node(NodeKind::FileTypeLevel, "C source file _File Type Level",
                    {Node(NodeKind::Leaf, "main.c"), Node(NodeKind::Leaf, "util.c")})})});
    auto open = FlattenTree(root, {});
    ASSERT_EQ(open.size(), 5u);
    EXPECT_EQ(open[4].node->label, "util.c");
    EXPECT_EQ(open[4].depth, 3);
    EXPECT_EQ(TreeRowText(open[2]), "    [-] C source file _File Type Level");
    EXPECT_EQ(TreeRowText(open[3]), "          main.c");

    auto folded = FlattenTree(root, {open[1].id});
    ASSERT_EQ(folded.size(), 2u);
    EXPECT_TRUE(folded[1].folded);
    EXPECT_EQ(TreeRowText(folded[1]), "  [+] demo");
    // A rebuilt tree gives the same ids, so folds survive a configuration change.
    sheet::TreeNode again = root;
    EXPECT_EQ(FlattenTree(again, {open[1].id}).size(), 2u);
    // Two leaves of one label in different phases are told apart.
    sheet::TreeNode a = Node(NodeKind::Leaf, "demo"), b = a;
    b.record = 3;
    EXPECT_NE(NodeId(a), NodeId(b));
    EXPECT_EQ(RefOf(b), (sheet::NodeRef{NodeKind::Leaf, 3, "demo", "demo"}));
    // Leaves of a project level show their phase; file leaves do not.
    sheet::TreeNode levelNode = Node(NodeKind::ProjectLevel, " _Project level", {a});
    auto level = FlattenTree(levelNode, {});
    EXPECT_EQ(TreeRowText(level[1], "OptLinker"), "      demo (OptLinker)");
    EXPECT_EQ(TreeRowText(open[3], "GNU Compiler"), "          main.c");
}

TEST(TuiControls, EachKindHasItsLine) {
    EXPECT_EQ(ControlLine(Def(ControlKind::Check, "&Optimize"), State({"1"})), "[x] Optimize");
    EXPECT_EQ(ControlLine(Def(ControlKind::Check, "&Optimize"), State({"0"})), "[ ] Optimize");
    EXPECT_EQ(ControlLine(Def(ControlKind::Check, "&Optimize"), State({"0"}, true)), "[-] Optimize");
    EXPECT_EQ(ControlLine(Def(ControlKind::Check3, "&Skip"), State({"2"})), "[-] Skip");

    ControlDef choice = Def(ControlKind::Choice, "Optimization &level:");
    choice.values = {"0", "1"};
    choice.valueLabels = {"Speed (-O3)", "Size (-Os)"};
    EXPECT_EQ(ControlLine(choice, State({"1"})), "Optimization level: <Size (-Os)>");
    EXPECT_EQ(ControlLine(choice, State({"1"}, true)), "Optimization level: <mixed>");

    ControlDef number = Def(ControlKind::Number, "&Relocations per section:");
    number.minimum = 0;
    number.maximum = 65535;
    EXPECT_EQ(ControlLine(number, State({"12"})), "Relocations per section: [12] (0..65535)");
    EXPECT_EQ(ControlLine(Def(ControlKind::Text, "&Output file:"), State({"a.out"}, true)),
              "Output file: [<mixed>]");
    EXPECT_EQ(ControlLine(Def(ControlKind::List, "&Defines:"), State({"A", "B=2"})),
              "Defines: 2 entries: A; B=2");
    EXPECT_EQ(ControlLine(Def(ControlKind::List, "&Defines:"), State({"A"})), "Defines: 1 entry: A");
    EXPECT_EQ(ControlLine(Def(ControlKind::Button, "&Add"), State({})), "< Add >");
    EXPECT_EQ(ControlLine(Def(ControlKind::Label, "Some text"), State({})), "Some text");
}

TEST(TuiControls, SpaceCyclesSwitchesAndChoices) {
    ControlDef check = Def(ControlKind::Check, "x");
    EXPECT_EQ(ToggledValue(check, State({"0"})), sheet::Value{"1"});
    EXPECT_EQ(ToggledValue(check, State({"1"})), sheet::Value{"0"});
    // A mixed switch becomes set everywhere.
    EXPECT_EQ(ToggledValue(check, State({"1"}, true)), sheet::Value{"1"});

    ControlDef three = Def(ControlKind::Check3, "x");
    EXPECT_EQ(ToggledValue(three, State({"0"})), sheet::Value{"1"});
    EXPECT_EQ(ToggledValue(three, State({"1"})), sheet::Value{"2"});
    EXPECT_EQ(ToggledValue(three, State({"2"})), sheet::Value{"0"});
    EXPECT_EQ(ToggledValue(three, State({"1"}, true)), sheet::Value{"0"});

    ControlDef choice = Def(ControlKind::Choice, "x");
    choice.values = {"a", "b", "c"};
    EXPECT_EQ(ToggledValue(choice, State({"b"})), sheet::Value{"c"});
    EXPECT_EQ(ToggledValue(choice, State({"c"})), sheet::Value{"a"});
    EXPECT_EQ(ToggledValue(choice, State({"b"}, true)), sheet::Value{"a"});
    EXPECT_FALSE(ToggledValue(Def(ControlKind::Text, "x"), State({"t"})).has_value());
    EXPECT_FALSE(ToggledValue(Def(ControlKind::List, "x"), State({})).has_value());
}

TEST(TuiSearch, MatchesLabelKeyOrFlagWithoutCase) {
    std::vector<sheet::FaceControl> all = {
        {0, 0, 2, "C/C++", "Optimize", "Link-time optimization", "LTO", "Keep the code (-flto)"},
        {1, 0, 0, "Link/Library", "Output", "Generate map file", "MFILEGEN", "(-Map=)"},
        {2, 0, 0, "Warning", "", "Text", "", ""},
    };
    EXPECT_EQ(SearchControls(all, "-FLTO"), std::vector<size_t>{0});
    EXPECT_EQ(SearchControls(all, "mfilegen"), std::vector<size_t>{1});
    EXPECT_EQ(SearchControls(all, "map"), std::vector<size_t>{1});
    EXPECT_EQ(SearchControls(all, "t"), (std::vector<size_t>{0, 1, 2}));
    EXPECT_TRUE(SearchControls(all, "  ").empty());
    EXPECT_TRUE(SearchControls(all, "nothing such").empty());
    EXPECT_EQ(SearchHitText(all[0]), "C/C++ / Optimize / Link-time optimization  (Keep the code (-flto))");
    EXPECT_EQ(SearchHitText(all[2]), "Warning / Text");
}

TEST(TuiLayout, EightyByTwentyFourAndTooSmall) {
    Layout l = ComputeLayout(24, 80);
    ASSERT_TRUE(l.fits);
    EXPECT_EQ(l.help.y, 23);
    EXPECT_EQ(l.preview.y, 21);
    // The panes do not overlap the bottom lines or each other.
    EXPECT_LE(l.tree.Bottom(), l.preview.y);
    EXPECT_LE(l.controls.Bottom(), l.preview.y);
    EXPECT_LT(l.tree.Right(), l.controls.x);
    EXPECT_EQ(l.config.Bottom(), l.tree.y);
    EXPECT_EQ(l.controls.Right(), 80);
    EXPECT_GE(l.controls.height, 10);
    EXPECT_FALSE(ComputeLayout(kMinLines - 1, 80).fits);
    EXPECT_FALSE(ComputeLayout(24, kMinColumns - 1).fits);
    // A wide terminal keeps the tree at most 44 columns.
    EXPECT_EQ(ComputeLayout(50, 200).tree.width, 44);
}

TEST(TuiDialogs, WrapsAtBlanksAndLineFeeds) {
    EXPECT_EQ(WrapText("An option was modified.  \nIs modification enabled?", 40),
              (std::vector<std::string>{"An option was modified.", "Is modification enabled?"}));
    EXPECT_EQ(WrapText("one two three", 8), (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(WrapText("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
}
