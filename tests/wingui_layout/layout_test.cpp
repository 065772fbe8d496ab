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
