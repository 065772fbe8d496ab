#include "tui/layout.h"

#include <algorithm>

namespace quorle::tui {

Layout ComputeLayout(int lines, int columns) {
    Layout l;
    l.fits = lines >= kMinLines && columns >= kMinColumns;
    if (!l.fits) return l;
    const int left = std::clamp(columns * 2 / 5, 24, 44);
    const int right = columns - left - 1; // one column for the divider
    l.title = {0, 0, 1, columns};
    l.config = {1, 0, 2, left}; // the label, then the choice
    l.tree = {3, 0, lines - 6, left};
    l.tabs = {1, left + 1, 1, right};
    l.category = {2, left + 1, 1, right};
    l.controls = {3, left + 1, lines - 6, right};
    l.preview = {lines - 3, 0, 1, columns};
    l.status = {lines - 2, 0, 1, columns};
    l.help = {lines - 1, 0, 1, columns};
    return l;
}

} // namespace quorle::tui
