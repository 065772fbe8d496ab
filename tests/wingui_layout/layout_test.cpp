// Every page the sheet can show is laid out on the page area of the window
// view at 96 and 144 dots per inch: nothing leaves the page, nothing
// overlaps, and each visible control is placed once.
#include <gtest/gtest.h>

#include <set>

#include "sheet/sheet_face.h"
#include "sheet_harness.h"
#include "wingui/page_layout.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;
using quorle::wingui::Rect;

namespace {

const std::string kPlain = "[V|VERSION|2]";

std::vector<PhaseInput> EveryTool() {
    return {
        {"GNU Compiler", {kPlain}, {{"demo", {"Debug"}, {{"main.c", "C source file", {0}}}}}},
        {"GNU Assembler",
         {kPlain},
         {{"demo", {"Debug"}, {{"start.s", "Assembly source file", {0}}}}}},
        {"OptLinker", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}},
        {"GNU Library Generator", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}},
        {"Debug", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}},
    };
}

// The page area of the window at 96 dots per inch: the tab's body below the
// "Category" selector.
Rect PageArea(double scale) {
    return Rect{0, 0, static_cast<int>(620 * scale), static_cast<int>(405 * scale)};
}

bool Overlap(const Rect& a, const Rect& b) {
    return a.x < b.Right() && b.x < a.Right() && a.y < b.Bottom() && b.y < a.Bottom();
}

struct Page {
    std::string name;
    std::vector<ControlDef> controls;
};

std::vector<Page> AllPages() {
    SheetHarness h(EveryTool());
    CSheetFaceOver face(*h.sheet);
    // Every tab: the CPU tab shows for a file-type or project level.
    std::vector<NodeRef> nodes{
        h.Node("GNU Compiler", "demo"), h.Node("GNU Assembler", "demo", "start.s"),
        h.Node("OptLinker", "demo", "demo"), h.Node("GNU Library Generator", "demo", "demo"),
        h.Node("Debug", "demo", "demo")};
    std::vector<Page> pages;
    for (const NodeRef& node : nodes) {
        EXPECT_EQ(face.Select({node}, false), CommandResult::Done);
        for (size_t t = 0; t < face.Tabs().size(); ++t) {
            EXPECT_EQ(face.ActivateTab(t), CommandResult::Done);
            const size_t categories = std::max<size_t>(1, face.Categories().size());
            for (size_t c = 0; c < categories; ++c) {
                if (!face.Categories().empty()) {
                    EXPECT_EQ(face.ShowCategory(c), CommandResult::Done);
                }
                std::string name = face.Tabs()[t];
                if (!face.Categories().empty()) name += " / " + face.Categories()[c];
                pages.push_back(Page{name, face.Controls()});
            }
        }
    }
    return pages;
}

} // namespace

TEST(PageLayout, EveryPageFitsAt96And144DotsPerInch) {
    const std::vector<Page> pages = AllPages();
    std::set<std::string> names;
    for (const Page& page : pages) names.insert(page.name);
    // Each tool tab with its categories, and the tabs without them.
    for (const char* name : {"C/C++ / Object", "Assembly / Source", "Link/Library / Input", "CPU",
                             "Simulator", "Toolchain Option"})
        EXPECT_EQ(names.count(name), 1u) << name;
    EXPECT_GE(names.size(), 25u);
    for (double scale : {1.0, 1.5}) {
        const Rect area = PageArea(scale);
        for (const Page& page : pages) {
            SCOPED_TRACE(page.name + " at scale " + std::to_string(scale));
            const wingui::PageLayout layout = wingui::LayOutPage(page.controls, area, scale);
            EXPECT_TRUE(layout.fits);
            size_t visible = 0;
            for (const ControlDef& def : page.controls) visible += def.hidden ? 0 : 1;
            EXPECT_EQ(layout.placed.size(), visible);
            const std::vector<Rect> rects = wingui::AllRects(layout);
            for (size_t i = 0; i < rects.size(); ++i) {
                EXPECT_TRUE(rects[i].Inside(area))
                    << "rect " << i << " at " << rects[i].x << "," << rects[i].y;
                for (size_t j = i + 1; j < rects.size(); ++j)
                    EXPECT_FALSE(Overlap(rects[i], rects[j])) << "rects " << i << " and " << j;
            }
        }
    }
}

TEST(PageLayout, FieldsSitBesideTheirCaptionsAndListsGetTheirButtons) {
    std::vector<ControlDef> controls(3);
    controls[0].kind = ControlKind::Text;
    controls[0].label = "&Name :";
    controls[1].kind = ControlKind::List;
    controls[1].label = "&Paths :";
    controls[2].kind = ControlKind::Check;
    controls[2].label = "&Debug";
    controls[2].hidden = true;
    const wingui::PageLayout layout = wingui::LayOutPage(controls, Rect{10, 20, 400, 300}, 1.0);
    ASSERT_EQ(layout.placed.size(), 2u); // the hidden box has no place
    const wingui::PlacedControl& text = layout.placed[0];
    EXPECT_EQ(text.caption.x, 10);
    EXPECT_EQ(text.field.y, 20);
    EXPECT_GT(text.field.x, text.caption.Right());
    EXPECT_EQ(text.field.Right(), 410);
    const wingui::PlacedControl& list = layout.placed[1];
    EXPECT_GT(list.field.y, text.field.Bottom());
    EXPECT_GT(list.addButton.x, list.field.Right());
    EXPECT_GT(list.deleteButton.y, list.addButton.Bottom());
    EXPECT_EQ(layout.columns, 1);
}

TEST(PageLayout, ALongPageSpillsIntoAnotherColumnAndSaysWhenEvenThatIsNotEnough) {
    std::vector<ControlDef> controls(30);
    for (ControlDef& def : controls) {
        def.kind = ControlKind::Check;
        def.label = "&Switch";
    }
    const Rect area{0, 0, 600, 300};
    const wingui::PageLayout spilled = wingui::LayOutPage(controls, area, 1.0);
    EXPECT_TRUE(spilled.fits);
    EXPECT_EQ(spilled.columns, 3);
    EXPECT_GT(spilled.placed.back().field.x, 300);
    // Closer together before giving up: 17 + 1 pixels a switch.
    controls.resize(48, controls.front());
    const wingui::PageLayout compact = wingui::LayOutPage(controls, area, 1.0);
    EXPECT_TRUE(compact.fits);
    EXPECT_EQ(compact.placed[1].field.y - compact.placed[0].field.y, 18);
    controls.resize(60, controls.front());
    const wingui::PageLayout tooMany = wingui::LayOutPage(controls, area, 1.0);
    EXPECT_FALSE(tooMany.fits);
}

namespace {

ControlDef Def(ControlKind kind, const std::string& label) {
    ControlDef def;
    def.kind = kind;
    def.label = label;
    return def;
}

// Five pixels a shown character: widths the checks can work out.
int FivePerCharacter(const std::string& label) {
    int shown = 0;
    for (char c : label) shown += c == '&' ? 0 : 1;
    return shown * 5;
}

} // namespace

TEST(PageLayout, CaptionsAndFieldsFormColumnsAsWideAsTheWidestCaption) {
    std::vector<ControlDef> controls = {
        Def(ControlKind::Check, "&Optimize"),
        Def(ControlKind::Choice, "Optimization &level:"), // 19 shown: 95 pixels
        Def(ControlKind::Text, "&Map file:"),
        Def(ControlKind::Number, "&Size:"),
        Def(ControlKind::List, "&Paths:"), // a caption above, not beside
    };
    controls.push_back(Def(ControlKind::Choice, std::string(60, 'x'))); // hidden: not counted
    controls.back().hidden = true;
    const Rect area{10, 40, 500, 300};
    const wingui::PageLayout layout =
        wingui::LayOutPage(controls, area, 1.0, FivePerCharacter, "Cate&gory");
    // The widest caption and the 8-pixel gap before the fields.
    EXPECT_EQ(layout.fieldOffset, 95 + 8);
    EXPECT_EQ(layout.columnWidth, 500);
    EXPECT_TRUE(layout.textsFit);
    ASSERT_EQ(layout.placed.size(), 5u);
    for (size_t i : {1u, 2u, 3u}) {
        const wingui::PlacedControl& p = layout.placed[i];
        EXPECT_EQ(p.caption.x, 10) << i;
        EXPECT_EQ(p.field.x, 10 + 103) << i;
        EXPECT_EQ(p.field.w, 360) << i; // not the whole 397 pixels left
        EXPECT_EQ(p.field.Right(), 473) << i;
        EXPECT_GE(p.caption.w, 95) << i; // the widest caption shows whole
        EXPECT_LT(p.caption.Right(), p.field.x) << i;
        // The caption sits in the middle of its field's height.
        EXPECT_NEAR(p.caption.y + p.caption.h / 2.0, p.field.y + p.field.h / 2.0, 1.0) << i;
    }
    EXPECT_EQ(layout.placed[0].field.x, 10); // a check box starts with the captions

    // The selector above the page uses the same two columns.
    const wingui::HeadingPlace heading = wingui::PlaceHeading(layout, area, 8, 1.0);
    EXPECT_EQ(heading.caption.x, 10);
    EXPECT_EQ(heading.field.x, layout.placed[1].field.x);
    EXPECT_EQ(heading.field.Right(), layout.placed[1].field.Right());
    EXPECT_EQ(heading.field.y, 8);
    EXPECT_LT(heading.caption.Right(), heading.field.x);
}

TEST(PageLayout, TheHeadingWidensTheCaptionColumnAndLongCaptionsLeaveFieldsRoom) {
    // Check boxes only: the caption column is the heading's.
    const std::vector<ControlDef> boxes = {Def(ControlKind::Check, "&A"),
                                           Def(ControlKind::Check, "&B")};
    const Rect area{0, 0, 400, 300};
    EXPECT_EQ(wingui::LayOutPage(boxes, area, 1.0, FivePerCharacter, "Category").fieldOffset,
              40 + 8);
    // The heading wider than every caption sets the column.
    const std::vector<ControlDef> short_ = {Def(ControlKind::Text, "&N:")};
    const wingui::PageLayout wide =
        wingui::LayOutPage(short_, area, 1.0, FivePerCharacter, "A rather long heading");
    EXPECT_EQ(wide.fieldOffset, 21 * 5 + 8);
    EXPECT_EQ(wide.placed[0].field.x, 113);
    // A caption longer than three fifths of the column is cut there.
    const std::vector<ControlDef> long_ = {Def(ControlKind::Text, std::string(100, 'w'))};
    const wingui::PageLayout cut = wingui::LayOutPage(long_, area, 1.0, FivePerCharacter);
    EXPECT_EQ(cut.fieldOffset, 400 - 160);
    EXPECT_EQ(cut.placed[0].field.w, 160);
    EXPECT_FALSE(cut.textsFit);
    // At 144 dots per inch the gap grows with the scale, the measured text does not.
    EXPECT_EQ(wingui::LayOutPage(short_, area, 1.5, FivePerCharacter).fieldOffset, 10 + 12);
}

TEST(PageLayout, EveryColumnOfALongPageIsSplitAlike) {
    std::vector<ControlDef> controls;
    for (int i = 0; i < 20; ++i) // 11 rows in a column
        controls.push_back(Def(i % 2 ? ControlKind::Choice : ControlKind::Text,
                               i == 15 ? "&The longest caption:" : "&Short:"));
    const Rect area{0, 0, 620, 300};
    const wingui::PageLayout layout = wingui::LayOutPage(controls, area, 1.0, FivePerCharacter);
    ASSERT_TRUE(layout.fits);
    ASSERT_EQ(layout.columns, 2);
    const int columnWidth = (620 - 12) / 2;
    EXPECT_EQ(layout.columnWidth, columnWidth);
    // The longest caption sits in the second column and widens the first too.
    EXPECT_EQ(layout.fieldOffset, 20 * 5 + 8);
    std::set<int> captionEdges, fieldEdges, rightEdges;
    for (const wingui::PlacedControl& p : layout.placed) {
        captionEdges.insert(p.caption.x);
        fieldEdges.insert(p.field.x);
        rightEdges.insert(p.field.Right());
    }
    EXPECT_EQ(captionEdges, (std::set<int>{0, columnWidth + 12}));
    EXPECT_EQ(fieldEdges, (std::set<int>{108, columnWidth + 12 + 108}));
    EXPECT_EQ(rightEdges, (std::set<int>{columnWidth, 620}));
}

TEST(PageLayout, ApproximateWidthsCountShownCharactersOnly) {
    EXPECT_EQ(wingui::ApproximateTextWidth("&Map file:", 1.0), 9 * 6);
    EXPECT_EQ(wingui::ApproximateTextWidth("R&&D", 1.0), 3 * 6);
    EXPECT_EQ(wingui::ApproximateTextWidth("abcd", 1.5), 36);
}

TEST(PageLayout, ControlsMoveCloserTogetherRatherThanIntoAColumnThatCutsACaption) {
    // 12 switches to a column as usual, 16 closer together.
    std::vector<ControlDef> controls(30, Def(ControlKind::Check, "&Switch"));
    controls[0] = Def(ControlKind::Text, "&" + std::string(24, 'c')); // 120 pixels
    const Rect area{0, 0, 600, 300};
    const wingui::PageLayout closer = wingui::LayOutPage(controls, area, 1.0, FivePerCharacter);
    EXPECT_TRUE(closer.fits);
    EXPECT_TRUE(closer.textsFit);
    EXPECT_EQ(closer.columns, 2); // three would leave the caption 116 pixels
    EXPECT_EQ(closer.placed[2].field.y - closer.placed[1].field.y, 18);
    // A caption too long for any split: the first layout that fits.
    controls[0] = Def(ControlKind::Text, std::string(100, 'c'));
    const wingui::PageLayout cutting = wingui::LayOutPage(controls, area, 1.0, FivePerCharacter);
    EXPECT_TRUE(cutting.fits);
    EXPECT_FALSE(cutting.textsFit);
    EXPECT_EQ(cutting.columns, 3);
    EXPECT_EQ(cutting.placed[2].field.y - cutting.placed[1].field.y, 24);
}

TEST(PageLayout, ACheckBoxLabelWiderThanItsColumnTakesASecondLine) {
    // 400 pixels less the box: 380 for the label, 80 characters.
    std::vector<ControlDef> controls = {Def(ControlKind::Check, "&" + std::string(76, 'a')),
                                        Def(ControlKind::Check, std::string(77, 'b')),
                                        Def(ControlKind::Check, "&c")};
    const Rect area{0, 0, 400, 300};
    const wingui::PageLayout layout = wingui::LayOutPage(controls, area, 1.0, FivePerCharacter);
    ASSERT_EQ(layout.placed.size(), 3u);
    EXPECT_TRUE(layout.textsFit);
    EXPECT_EQ(layout.placed[0].lines, 1);
    EXPECT_EQ(layout.placed[0].field.h, 20);
    EXPECT_EQ(layout.placed[1].lines, 2);
    EXPECT_EQ(layout.placed[1].field.h, 20 + 14);
    EXPECT_EQ(layout.placed[2].field.y, layout.placed[1].field.Bottom() + 4);
    // Beyond two lines, less what word breaks may waste, it is cut.
    controls[1].label = std::string(130, 'b');
    EXPECT_FALSE(wingui::LayOutPage(controls, area, 1.0, FivePerCharacter).textsFit);
    controls[1].label = std::string(129, 'b');
    EXPECT_TRUE(wingui::LayOutPage(controls, area, 1.0, FivePerCharacter).textsFit);
}
