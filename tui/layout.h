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
inline constexpr int kMinTreeColumns = 20;

// The tree pane is `treeWidth` wide (its longest row), at least 20 columns
// and at most a third of the terminal; the page takes the rest. The preview
// takes `previewLines` lines, up to a quarter of the terminal.
Layout ComputeLayout(int lines, int columns, int treeWidth = 0, int previewLines = 1);
int MaxPreviewLines(int lines);

// The key-help line of each pane; each fits in 80 columns.
enum class KeyHelpFor { Config, Tree, Strip, Controls };
const char* KeyHelp(KeyHelpFor pane);

} // namespace quorle::tui
