// The terminal view's text forms: labels, the rows of the tree with
// folding, each control kind's line and the layout.
#include <gtest/gtest.h>

#include "tui/control_text.h"
#include "tui/dialogs.h"
#include "tui/labels.h"
#include "tui/layout.h"
#include "tui/line_edit.h"
#include "tui/section_rows.h"
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

TEST(TuiLabels, PlainText) {
    EXPECT_EQ(PlainText("Optimization &level:"), "Optimization level");
    // A doubled ampersand is a literal one.
    EXPECT_EQ(PlainText("Save && &Quit"), "Save & Quit");
    EXPECT_EQ(PlainText("&Memory resource :"), "Memory resource");
}

TEST(TuiTree, FoldingHidesChildrenAndKeepsIds) {
    using sheet::NodeKind;
    sheet::TreeNode root =
        Node(NodeKind::AllProjects, "All Loaded Projects",
             {Node(NodeKind::Project, "demo",
                   {Node(NodeKind::FileTypeLevel, "C source file _File Type Level",
                         {Node(NodeKind::Leaf, "main.c"), Node(NodeKind::Leaf, "util.c")})})});
    auto open = FlattenTree(root, {});
    ASSERT_EQ(open.size(), 5u);
    EXPECT_EQ(open[4].node->label, "util.c");
    EXPECT_EQ(open[4].depth, 3);
    EXPECT_EQ(TreeRowText(open[2]), "    [-] C source file (File Type Level)");
    EXPECT_EQ(TreeRowText(open[3]), "        main.c");

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
    // The phase the face names goes after the label.
    sheet::TreeNode levelNode = Node(NodeKind::ProjectLevel, " _Project level", {a});
    auto level = FlattenTree(levelNode, {});
    EXPECT_EQ(level[1].parent, NodeKind::ProjectLevel);
    EXPECT_EQ(TreeRowText(level[1], "OptLinker"), "    demo (OptLinker)");
    EXPECT_EQ(TreeRowText(level[0]), "[-] Project level");
    EXPECT_EQ(TreeLabel(" _All Project"), "All Project");
    EXPECT_EQ(TreeLabel("C/C++ -> Assembly file _File Type Level"),
              "C/C++ -> Assembly file (File Type Level)");
    EXPECT_EQ(TreeLabel("my_file.c"), "my_file.c");
}

TEST(TuiControls, EachKindHasItsLine) {
    EXPECT_EQ(ControlLine(Def(ControlKind::Check, "&Optimize"), State({"1"})), "[x] Optimize");
    EXPECT_EQ(ControlLine(Def(ControlKind::Check, "&Optimize"), State({"0"})), "[ ] Optimize");
    EXPECT_EQ(ControlLine(Def(ControlKind::Check, "&Optimize"), State({"0"}, true)),
              "[-] Optimize");
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
    EXPECT_EQ(ControlLine(Def(ControlKind::List, "&Defines:"), State({"A"})),
              "Defines: 1 entry: A");
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

TEST(TuiLayout, EightyByTwentyFourAndTooSmall) {
    Layout l = ComputeLayout(24, 80, 30);
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
    // The tree as wide as its rows, up to a third of the terminal.
    EXPECT_EQ(l.tree.width, 26);
    EXPECT_EQ(ComputeLayout(50, 200, 40).tree.width, 40);
    EXPECT_EQ(ComputeLayout(50, 200, 5).tree.width, kMinTreeColumns);
    // A long preview takes more lines, up to a quarter of the terminal.
    Layout wrapped = ComputeLayout(24, 80, 30, 3);
    EXPECT_EQ(wrapped.preview.height, 3);
    EXPECT_EQ(wrapped.preview.Bottom(), wrapped.status.y);
    EXPECT_EQ(wrapped.tree.Bottom(), wrapped.preview.y);
    EXPECT_EQ(ComputeLayout(24, 80, 30, 100).preview.height, 6);
    for (KeyHelpFor pane :
         {KeyHelpFor::Config, KeyHelpFor::Tree, KeyHelpFor::Strip, KeyHelpFor::Controls})
        EXPECT_LE(std::string(KeyHelp(pane)).size(), 80u) << KeyHelp(pane);
}

TEST(TuiDialogs, WrapsAtBlanksAndLineFeeds) {
    EXPECT_EQ(WrapText("An option was modified.  \nIs modification enabled?", 40),
              (std::vector<std::string>{"An option was modified.", "Is modification enabled?"}));
    EXPECT_EQ(WrapText("one two three", 8), (std::vector<std::string>{"one two", "three"}));
    EXPECT_EQ(WrapText("abcdefghij", 4), (std::vector<std::string>{"abcd", "efgh", "ij"}));
}

TEST(TuiSections, ListsAreKnownAndRowsReadBack) {
    ControlDef groups = Def(ControlKind::List, "Section &groups:");
    groups.key = "GROUPDET";
    ControlDef regions = Def(ControlKind::List, "&Memory regions:");
    regions.key = "MEMDET";
    ControlDef starts = Def(ControlKind::List, "Section &start addresses:");
    ControlDef includes = Def(ControlKind::List, "&Include directories:");
    includes.key = "INCDIR";
    EXPECT_EQ(SectionListOf(groups), SectionList::Groups);
    EXPECT_EQ(SectionListOf(regions), SectionList::Regions);
    EXPECT_EQ(SectionListOf(starts), SectionList::Starts);
    EXPECT_EQ(SectionListOf(includes), SectionList::None);
    EXPECT_EQ(SectionListOf(Def(ControlKind::Text, "Section &start addresses:")),
              SectionList::None);

    auto region = ParseRegionRow("ram|0x20000000|0x2000FFFF");
    ASSERT_TRUE(region);
    EXPECT_EQ(region->name, "ram");
    EXPECT_EQ(region->start, "0x20000000");
    EXPECT_EQ(region->end, "0x2000FFFF");
    EXPECT_FALSE(ParseRegionRow("ram|0x0"));
    EXPECT_FALSE(ParseRegionRow("|0x0|0x1"));

    auto nested = ParseGroupRow("    .data2|label|_edata");
    ASSERT_TRUE(nested);
    EXPECT_EQ(nested->depth, 2);
    EXPECT_EQ(nested->name, ".data2");
    EXPECT_EQ(nested->placement, "label");
    EXPECT_EQ(nested->text, "_edata");
    auto end = ParseGroupRow(".bss|follow|");
    ASSERT_TRUE(end);
    EXPECT_EQ(end->depth, 0);
    EXPECT_EQ(end->text, "");
    EXPECT_FALSE(ParseGroupRow("   "));

    auto start = ParseStartRow(" .text = 0x00002000 ");
    ASSERT_TRUE(start);
    EXPECT_EQ(start->first, ".text");
    EXPECT_EQ(start->second, "0x00002000");
    EXPECT_FALSE(ParseStartRow(".text 0x2000"));
    EXPECT_FALSE(ParseStartRow("=0x2000"));
    EXPECT_FALSE(ParseStartRow(".text="));

    EXPECT_EQ(FileWords("  a.o   b.o "), (std::vector<std::string>{"a.o", "b.o"}));
    EXPECT_EQ(FileWords(" "), (std::vector<std::string>{"All-files"}));
    ASSERT_EQ(PlacementWords().size(), PlacementNames().size());
}

TEST(TuiLineEditor, EditsAtTheCursorAndRefusesWhatTheCheckRefuses) {
    LineEditor plain("ab");
    EXPECT_EQ(plain.Cursor(), 2u);
    plain.Left();
    EXPECT_EQ(plain.Insert("XY"), "");
    EXPECT_EQ(plain.Text(), "aXYb");
    EXPECT_EQ(plain.Cursor(), 3u);
    plain.Home();
    EXPECT_EQ(plain.Delete(), "");
    EXPECT_EQ(plain.Backspace(), ""); // nothing before the cursor
    EXPECT_EQ(plain.Text(), "XYb");
    plain.End();
    EXPECT_EQ(plain.Backspace(), "");
    EXPECT_EQ(plain.Text(), "XY");
    plain.Right(); // past the end: stays
    EXPECT_EQ(plain.Cursor(), 2u);
    // The field shows the end of a long text, with the cursor in sight.
    LineEditor longText(std::string(30, 'x'));
    EXPECT_EQ(longText.FirstShown(10), 21u);
    longText.Home();
    EXPECT_EQ(longText.FirstShown(10), 0u);

    ControlDef count = Def(ControlKind::Number, "&Relocations per section:");
    count.minimum = 0;
    count.maximum = 65535;
    LineEditor number("", [count](const std::string& t) { return TypedNumberMessage(count, t); });
    EXPECT_EQ(number.Insert("12"), "");
    const std::string refused = number.Insert("a");
    EXPECT_EQ(refused, "Relocations per section: please enter an integer between 0 and 65535.");
    EXPECT_EQ(number.Text(), "12");
    EXPECT_NE(number.Insert("-"), ""); // no sign inside, nor below a minimum of 0
    EXPECT_EQ(number.Insert("345"), "");
    EXPECT_EQ(number.Text(), "12345");
    // Typed at once (a paste): the digits before the letter go in.
    EXPECT_EQ(number.Insert("6b7"), refused);
    EXPECT_EQ(number.Text(), "123456");
    // A clear field may always be left.
    EXPECT_EQ(number.Clear(), "");
    EXPECT_NE(number.Insert(std::string(11, '9')), "");
    EXPECT_EQ(number.Text(), std::string(10, '9'));
    number.Clear();
    EXPECT_EQ(number.Insert("+7"), "");
}

TEST(TuiControls, TypedNumbersTakeASignWhereTheRangeHasOne) {
    ControlDef offset = Def(ControlKind::Number, "&Offset:");
    offset.minimum = -10;
    offset.maximum = 10;
    EXPECT_EQ(TypedNumberMessage(offset, ""), "");
    EXPECT_EQ(TypedNumberMessage(offset, "-"), "");
    EXPECT_EQ(TypedNumberMessage(offset, "-3"), "");
    EXPECT_EQ(TypedNumberMessage(offset, "--3"),
              "Offset: please enter an integer between -10 and 10.");
    EXPECT_NE(TypedNumberMessage(offset, "3-"), "");
    EXPECT_NE(TypedNumberMessage(offset, "0x10"), "");
}

TEST(TuiHelp, LabelKeyFlagDefaultAndEachConfiguration) {
    ControlDef level = Def(ControlKind::Choice, "Optimization &level:");
    level.key = "OPTLV";
    level.help = "What the optimizer favours";
    level.values = {"1", "2"};
    level.valueLabels = {"Size (-Os)", "Speed (-O2)"};
    EXPECT_EQ(
        HelpText(level, sheet::Value{"2"}, {{"Debug", {{"1"}}}, {"Release", {{"2"}, {"1"}}}}),
        "Label: Optimization level\nOption key: OPTLV\nTool flag: What the optimizer favours\n"
        "Default: Speed (-O2)\nIn Debug: Size (-Os)\n"
        "In Release: Speed (-O2) | Size (-Os) (the selected files differ)");
    // Without key, flag or a model behind it.
    EXPECT_EQ(HelpText(Def(ControlKind::Text, "&Name:"), std::nullopt, {}),
              "Label: Name\nOption key: none\nTool flag: none of its own");
    EXPECT_EQ(ValueText(Def(ControlKind::Check, "x"), {"1"}), "on");
    EXPECT_EQ(ValueText(Def(ControlKind::Check3, "x"), {"2"}), "left as it is");
    EXPECT_EQ(ValueText(Def(ControlKind::Check, "x"), {"0"}), "off");
    EXPECT_EQ(ValueText(Def(ControlKind::List, "x"), {}), "no entries");
    EXPECT_EQ(ValueText(Def(ControlKind::List, "x"), {"a", "b"}), "a; b");
    EXPECT_EQ(ValueText(Def(ControlKind::Number, "x"), {"12"}), "[12]");
}
