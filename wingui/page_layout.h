// Where the window view puts each control of a page: computed from the page
// data alone, in pixels for a given scale (dots per inch / 96), so that no
// page is laid out by hand and the layout is tested without windows.
#pragma once

#include <cstddef>
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
};

struct PageLayout {
    std::vector<PlacedControl> placed;
    int columns = 1;
    bool fits = true; // false when even the widest split runs off the page
};

// Lays the visible controls out top to bottom inside `page`, in as many
// columns (up to three) as needed to keep them on it, and closer together
// when three are not enough. `fits` is false when even that runs off the
// page (the last column then overlaps itself).
PageLayout LayOutPage(const std::vector<sheet::ControlDef>& controls, const Rect& page,
                      double scale);

// Every rectangle of a layout, for checks that nothing leaves the page.
std::vector<Rect> AllRects(const PageLayout& layout);

} // namespace quorle::wingui
