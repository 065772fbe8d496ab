#include "wingui/page_layout.h"

#include <algorithm>
#include <cmath>

namespace quorle::wingui {
namespace {

using sheet::ControlKind;

// Sizes at 96 dots per inch.
constexpr int kGap = 4;
constexpr int kCheckHeight = 20;
constexpr int kFieldHeight = 23;
constexpr int kButtonHeight = 25;
constexpr int kCaptionHeight = 16;
constexpr int kListHeight = 84;
constexpr int kListButtonWidth = 64;
constexpr int kColumnGap = 12;
constexpr int kMaxColumns = 3;

int Scaled(int pixels, double scale) {
    return static_cast<int>(std::lround(pixels * scale));
}

// A page of many switches (one per tool flag) is set closer together.
constexpr int kCompactCheckHeight = 17;
constexpr int kCompactGap = 1;

// Height of one control with its caption.
int HeightOf(const sheet::ControlDef& def, double scale, bool compact) {
    switch (def.kind) {
    case ControlKind::Check:
    case ControlKind::Check3:
        return Scaled(compact ? kCompactCheckHeight : kCheckHeight, scale);
    case ControlKind::Button:
        return Scaled(kButtonHeight, scale);
    case ControlKind::Label:
        return Scaled(kCaptionHeight, scale);
    case ControlKind::List:
        return Scaled(kCaptionHeight + 2 + kListHeight, scale);
    case ControlKind::Choice:
    case ControlKind::Text:
    case ControlKind::Number:
        return Scaled(kFieldHeight, scale);
    }
    return Scaled(kFieldHeight, scale);
}

PlacedControl Place(size_t index, const sheet::ControlDef& def, int x, int y, int width,
                    double scale, bool compact) {
    PlacedControl p;
    p.control = index;
    const int height = HeightOf(def, scale, compact);
    switch (def.kind) {
    case ControlKind::Choice:
    case ControlKind::Text:
    case ControlKind::Number: {
        // Caption on the left, field on the right, on one line.
        const int captionWidth = width * 9 / 20;
        const int captionHeight = Scaled(kCaptionHeight, scale);
        p.caption = {x, y + (height - captionHeight) / 2, captionWidth - Scaled(kGap, scale),
                     captionHeight};
        p.field = {x + captionWidth, y, width - captionWidth, height};
        break;
    }
    case ControlKind::List: {
        const int captionHeight = Scaled(kCaptionHeight, scale);
        const int buttonWidth = Scaled(kListButtonWidth, scale);
        const int buttonHeight = Scaled(kButtonHeight - 2, scale);
        const int top = y + captionHeight + Scaled(2, scale);
        p.caption = {x, y, width, captionHeight};
        p.field = {x, top, width - buttonWidth - Scaled(kGap, scale), y + height - top};
        p.addButton = {x + width - buttonWidth, top, buttonWidth, buttonHeight};
        p.deleteButton = {x + width - buttonWidth, top + buttonHeight + Scaled(kGap, scale),
                          buttonWidth, buttonHeight};
        break;
    }
    case ControlKind::Button:
        // A push button as wide as its text needs, roughly.
        p.field = {x, y,
                   std::min(width, Scaled(static_cast<int>(def.label.size()) * 7 + 24, scale)),
                   height};
        break;
    default:
        p.field = {x, y, width, height};
        break;
    }
    return p;
}

PageLayout Flow(const std::vector<sheet::ControlDef>& controls, const Rect& page, double scale,
                int columns, bool compact) {
    PageLayout layout;
    layout.columns = columns;
    const int gap = Scaled(compact ? kCompactGap : kGap, scale);
    const int columnGap = Scaled(kColumnGap, scale);
    const int width = (page.w - columnGap * (columns - 1)) / columns;
    int column = 0;
    int y = page.y;
    for (size_t i = 0; i < controls.size(); ++i) {
        const sheet::ControlDef& def = controls[i];
        if (def.hidden) continue;
        const int height = HeightOf(def, scale, compact);
        if (y + height > page.Bottom() && y > page.y) {
            ++column;
            y = page.y;
        }
        if (column >= columns || y + height > page.Bottom()) layout.fits = false;
        const int x = page.x + std::min(column, columns - 1) * (width + columnGap);
        layout.placed.push_back(Place(i, def, x, y, width, scale, compact));
        y += height + gap;
    }
    return layout;
}

} // namespace

PageLayout LayOutPage(const std::vector<sheet::ControlDef>& controls, const Rect& page,
                      double scale) {
    // Fewest columns first, then the same set closer together.
    PageLayout layout;
    for (bool compact : {false, true})
        for (int columns = 1; columns <= kMaxColumns; ++columns) {
            layout = Flow(controls, page, scale, columns, compact);
            if (layout.fits) return layout;
        }
    return layout;
}

std::vector<Rect> AllRects(const PageLayout& layout) {
    std::vector<Rect> rects;
    for (const PlacedControl& p : layout.placed)
        for (const Rect& r : {p.caption, p.field, p.addButton, p.deleteButton})
            if (r.w > 0 && r.h > 0) rects.push_back(r);
    return rects;
}

} // namespace quorle::wingui
