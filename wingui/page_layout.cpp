#include "wingui/page_layout.h"

#include <algorithm>
#include <cmath>
#include <optional>

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
constexpr int kCaptionGap = 8;      // between the widest caption and the fields
constexpr int kMaxFieldWidth = 360; // a drop-down list wider than that looks empty
constexpr int kCheckBoxWidth = 20;  // the box and the space before its label
constexpr int kLineHeight = 14;     // each further line of a wrapped label

int Scaled(int pixels, double scale) {
    return static_cast<int>(std::lround(pixels * scale));
}

// A page of many switches (one per tool flag) is set closer together.
constexpr int kCompactCheckHeight = 17;
constexpr int kCompactGap = 1;

// Height of one control with its caption; `lines` of a check box's label.
int HeightOf(const sheet::ControlDef& def, double scale, bool compact, int lines) {
    switch (def.kind) {
    case ControlKind::Check:
    case ControlKind::Check3:
        return Scaled((compact ? kCompactCheckHeight : kCheckHeight) + (lines - 1) * kLineHeight,
                      scale);
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

bool HasCaptionBeside(ControlKind kind) {
    return kind == ControlKind::Choice || kind == ControlKind::Text || kind == ControlKind::Number;
}

// Where fields start in a column of `width`: after the widest caption and a
// gap, but never leaving the field less than two fifths of the column.
int FieldOffset(int widestCaption, int width, double scale) {
    const int wanted = widestCaption + Scaled(kCaptionGap, scale);
    return std::max(0, std::min(wanted, width - width * 2 / 5));
}

PlacedControl Place(size_t index, const sheet::ControlDef& def, int x, int y, int width,
                    int fieldOffset, int fieldWidth, double scale, bool compact, int lines) {
    PlacedControl p;
    p.control = index;
    p.lines = lines;
    const int height = HeightOf(def, scale, compact, lines);
    switch (def.kind) {
    case ControlKind::Choice:
    case ControlKind::Text:
    case ControlKind::Number: {
        // Caption on the left, field on the right, on one line.
        const int captionHeight = Scaled(kCaptionHeight, scale);
        p.caption = {x, y + (height - captionHeight) / 2, fieldOffset - Scaled(kGap, scale),
                     captionHeight};
        p.field = {x + fieldOffset, y, fieldWidth, height};
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
                int columns, bool compact, int widestCaption, const std::vector<int>& labelWidths,
                bool wrap) {
    PageLayout layout;
    layout.columns = columns;
    const int gap = Scaled(compact ? kCompactGap : kGap, scale);
    const int columnGap = Scaled(kColumnGap, scale);
    const int width = (page.w - columnGap * (columns - 1)) / columns;
    layout.columnWidth = width;
    layout.fieldOffset = FieldOffset(widestCaption, width, scale);
    layout.fieldWidth = std::min(width - layout.fieldOffset, Scaled(kMaxFieldWidth, scale));
    layout.textsFit = widestCaption + Scaled(kCaptionGap, scale) <= layout.fieldOffset;
    // A check box's label wider than the column takes a second line; one
    // that needs more is cut. Words do not break at the exact edge.
    const int labelRoom = width - Scaled(kCheckBoxWidth, scale);
    int column = 0;
    int y = page.y;
    for (size_t i = 0; i < controls.size(); ++i) {
        const sheet::ControlDef& def = controls[i];
        if (def.hidden) continue;
        int lines = 1;
        if (def.kind == ControlKind::Check || def.kind == ControlKind::Check3) {
            if (labelWidths[i] > labelRoom) {
                lines = wrap ? 2 : 1;
                if (!wrap) layout.textsFit = false;
            }
            if (labelWidths[i] > labelRoom * 2 * 17 / 20) layout.textsFit = false;
        }
        const int height = HeightOf(def, scale, compact, lines);
        if (y + height > page.Bottom() && y > page.y) {
            ++column;
            y = page.y;
        }
        if (column >= columns || y + height > page.Bottom()) layout.fits = false;
        const int x = page.x + std::min(column, columns - 1) * (width + columnGap);
        layout.placed.push_back(Place(i, def, x, y, width, layout.fieldOffset, layout.fieldWidth,
                                      scale, compact, lines));
        y += height + gap;
    }
    return layout;
}

} // namespace

int ApproximateTextWidth(const std::string& label, double scale) {
    size_t shown = 0;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && i + 1 < label.size() && label[i + 1] != '&') continue;
        if (label[i] == '&') ++i; // "&&" shows one "&"
        ++shown;
    }
    return Scaled(static_cast<int>(shown) * 6, scale);
}

PageLayout LayOutPage(const std::vector<sheet::ControlDef>& controls, const Rect& page,
                      double scale, const TextWidth& textWidth, const std::string& heading) {
    const auto measure = [&](const std::string& label) {
        return textWidth ? textWidth(label) : ApproximateTextWidth(label, scale);
    };
    int widest = heading.empty() ? 0 : measure(heading);
    std::vector<int> labelWidths(controls.size(), 0);
    for (size_t i = 0; i < controls.size(); ++i) {
        const sheet::ControlDef& def = controls[i];
        if (def.hidden) continue;
        if (HasCaptionBeside(def.kind)) widest = std::max(widest, measure(def.label));
        if (def.kind == ControlKind::Check || def.kind == ControlKind::Check3)
            labelWidths[i] = measure(def.label);
    }
    // Fewest columns first, then the same set closer together; a layout
    // that cuts a label only when every one that fits does.
    // Wrapped labels make a page longer: when no such layout fits, labels
    // stay on one line.
    std::optional<PageLayout> cutting;
    PageLayout layout;
    for (bool wrap : {true, false})
        for (bool compact : {false, true})
            for (int columns = 1; columns <= kMaxColumns; ++columns) {
                layout = Flow(controls, page, scale, columns, compact, widest, labelWidths, wrap);
                if (layout.fits && layout.textsFit) return layout;
                if (layout.fits && !cutting) cutting = layout;
            }
    return cutting ? *cutting : layout;
}

HeadingPlace PlaceHeading(const PageLayout& layout, const Rect& page, int y, double scale) {
    const int height = Scaled(kFieldHeight, scale);
    const int captionHeight = Scaled(kCaptionHeight, scale);
    HeadingPlace place;
    place.caption = {page.x, y + (height - captionHeight) / 2,
                     layout.fieldOffset - Scaled(kGap, scale), captionHeight};
    place.field = {page.x + layout.fieldOffset, y, layout.fieldWidth, height};
    return place;
}

std::vector<Rect> AllRects(const PageLayout& layout) {
    std::vector<Rect> rects;
    for (const PlacedControl& p : layout.placed)
        for (const Rect& r : {p.caption, p.field, p.addButton, p.deleteButton})
            if (r.w > 0 && r.h > 0) rects.push_back(r);
    return rects;
}

} // namespace quorle::wingui
