// Where the window view puts each control of a page: computed from the page
// data alone, in pixels for a given scale (dots per inch / 96), so that no
// page is laid out by hand and the layout is tested without windows.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <vector>

#include "sheet/control.h"

namespace quorle::wingui {

struct Rect {
    int x = 0, y = 0, w = 0, h = 0;
    int Right() const { return x + w; }
    int Bottom() const { return y + h; }
    bool Inside(const Rect& outer) const {
        return x >= outer.x && y >= outer.y && Right() <= outer.Right() &&
               Bottom() <= outer.Bottom();
    }
};

// One visible control: its caption (static text; empty rectangle when the
// control carries its own text) and the control itself. A list also gets
// the view's "New" and "Delete" buttons.
struct PlacedControl {
    size_t control = 0; // index into the page's controls
    Rect caption;
    Rect field;
    Rect addButton;
    Rect deleteButton;
    int lines = 1; // of a check box's label
};

struct PageLayout {
    std::vector<PlacedControl> placed;
    int columns = 1;
    bool fits = true; // false when even the widest split runs off the page
    // Every column is split alike: captions from its left edge, fields from
    // `fieldOffset`, `fieldWidth` wide (to the column's right edge, or less
    // in a wide column).
    int columnWidth = 0;
    int fieldOffset = 0;
    int fieldWidth = 0;
    bool textsFit = true; // false when a caption or a check box's label is cut
};

// How wide a label shows, in pixels at the layout's scale; a "&" marks the
// mnemonic and takes no room.
using TextWidth = std::function<int(const std::string&)>;
// About the message font's width, for layouts made without a window.
int ApproximateTextWidth(const std::string& label, double scale);

// Lays the visible controls out top to bottom inside `page`, in as many
// columns (up to three) as needed to keep them on it, and closer together
// when three are not enough. `fits` is false when even that runs off the
// page (the last column then overlaps itself). The caption column is as
// wide as the widest caption, `heading` included (the selector above the
// page), so that every field starts at one edge; a field keeps at least
// two fifths of its column. A check box's label too long for its column
// wraps onto a second line. Where more columns would cut a label, the
// controls are set closer together first.
PageLayout LayOutPage(const std::vector<sheet::ControlDef>& controls, const Rect& page,
                      double scale, const TextWidth& textWidth = {},
                      const std::string& heading = {});

// The selector above the page, on the row at `y`: its caption and box in
// the first column's caption and field columns.
struct HeadingPlace {
    Rect caption;
    Rect field;
};
HeadingPlace PlaceHeading(const PageLayout& layout, const Rect& page, int y, double scale);

// Every rectangle of a layout, for checks that nothing leaves the page.
std::vector<Rect> AllRects(const PageLayout& layout);

} // namespace quorle::wingui
