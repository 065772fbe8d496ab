#include "tui/layout.h"

#include <algorithm>

namespace quorle::tui {

Layout ComputeLayout(int lines, int columns, int treeWidth, int previewLines) {
    Layout l;
    l.fits = lines >= kMinLines && columns >= kMinColumns;
    if (!l.fits) return l;
    const int left = std::clamp(treeWidth, kMinTreeColumns, columns / 3);
    const int right = columns - left - 1; // one column for the divider
    const int preview = std::clamp(previewLines, 1, MaxPreviewLines(lines));
    const int previewY = lines - 2 - preview;
    l.title = {0, 0, 1, columns};
    l.config = {1, 0, 2, left}; // the label, then the choice
    l.tree = {3, 0, previewY - 3, left};
    l.tabs = {1, left + 1, 1, right};
    l.category = {2, left + 1, 1, right};
    l.controls = {3, left + 1, previewY - 3, right};
    l.preview = {previewY, 0, preview, columns};
    l.status = {lines - 2, 0, 1, columns};
    l.help = {lines - 1, 0, 1, columns};
    return l;
}

int MaxPreviewLines(int lines) {
    return std::max(1, lines / 4);
}

const char* KeyHelp(KeyHelpFor pane) {
    switch (pane) {
    case KeyHelpFor::Config:
        return " Enter:choose  Tab:pane  /:search  ?:keys  F10/^S:OK  Esc:cancel";
    case KeyHelpFor::Tree:
        return " Enter:select  Space:add  <-/->:fold  Tab:pane  /:search  F10:OK  Esc:cancel";
    case KeyHelpFor::Strip:
        return " <-/->:switch  Tab:pane  /:search  ?:keys  F10/^S:OK  Esc:cancel";
    case KeyHelpFor::Controls:
        break;
    }
    return " Space:toggle  Enter:edit  letter:jump  /:search  ?:help  F10/^S:OK  Esc:cancel";
}

} // namespace quorle::tui
