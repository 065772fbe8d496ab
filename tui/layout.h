// Where each part of the sheet goes on a terminal of a given size.
#pragma once

namespace quorle::tui {

struct Rect {
    int y = 0, x = 0, height = 0, width = 0;
    int Bottom() const { return y + height; }
    int Right() const { return x + width; }
};

struct Layout {
    bool fits = false; // below the smallest size only a note is shown
    Rect title;        // the sheet title
    Rect config;       // the configuration choice
    Rect tree;         // the selection tree
    Rect tabs;         // the tabs of the current mask
    Rect category;     // the category list of the active tab
    Rect controls;     // the controls of the page
    Rect preview;      // the command-line preview
    Rect status;       // the last message
    Rect help;         // the key-help line
};

inline constexpr int kMinLines = 16;
inline constexpr int kMinColumns = 60;

// The selection pane takes two fifths of the width (24 to 44 columns);
// the page the rest.
Layout ComputeLayout(int lines, int columns);

} // namespace quorle::tui
