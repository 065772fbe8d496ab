#include "platform/win32/dialog_template.h"

namespace quorle::platform::win32 {
namespace {

void PutDword(std::vector<uint16_t>& out, uint32_t value) {
    out.push_back(static_cast<uint16_t>(value & 0xFFFFu));
    out.push_back(static_cast<uint16_t>(value >> 16));
}

void PutShort(std::vector<uint16_t>& out, int16_t value) {
    out.push_back(static_cast<uint16_t>(value));
}

// A zero-terminated UTF-16 string; an embedded zero would end it early, so
// the text stops there.
void PutText(std::vector<uint16_t>& out, const std::u16string& text) {
    for (char16_t c : text) {
        if (c == 0) break;
        out.push_back(static_cast<uint16_t>(c));
    }
    out.push_back(0);
}

void AlignToDword(std::vector<uint16_t>& out) {
    if (out.size() % 2 != 0) out.push_back(0);
}

} // namespace

std::vector<uint16_t> BuildDialogTemplate(const DialogLayout& layout) {
    std::vector<uint16_t> out;
    uint32_t style = layout.style;
    if (!layout.font.empty())
        style |= kDsSetFont;
    else
        style &= ~kDsSetFont;
    PutDword(out, style);
    PutDword(out, 0); // extended style
    out.push_back(static_cast<uint16_t>(layout.items.size()));
    PutShort(out, layout.x);
    PutShort(out, layout.y);
    PutShort(out, layout.cx);
    PutShort(out, layout.cy);
    out.push_back(0); // no menu
    out.push_back(0); // the predefined dialog class
    PutText(out, layout.caption);
    if (!layout.font.empty()) {
        out.push_back(layout.pointSize);
        PutText(out, layout.font);
    }
    for (const DialogItem& item : layout.items) {
        AlignToDword(out);
        PutDword(out, item.style);
        PutDword(out, 0); // extended style
        PutShort(out, item.x);
        PutShort(out, item.y);
        PutShort(out, item.cx);
        PutShort(out, item.cy);
        out.push_back(item.id);
        out.push_back(0xFFFF); // class by atom
        out.push_back(item.classAtom);
        PutText(out, item.text);
        out.push_back(0); // no creation data
    }
    return out;
}

DialogLayout FeedbackDialogLayout(const std::u16string& caption, const std::u16string& text) {
    constexpr uint32_t kControl = kWsChild | kWsVisible;
    DialogLayout layout;
    layout.style = kWsPopup | kWsCaption | kWsSysMenu | kDsModalFrame | kDsCenter;
    layout.cx = 280;
    layout.cy = 93;
    layout.caption = caption;
    layout.font = u"MS Shell Dlg";
    layout.items = {
        {kControl | kSsLeft, 7, 7, 266, 40, kFeedbackTextId, kStaticClass, text},
        {kControl | kWsTabStop | kBsAutoCheckBox, 7, 54, 266, 10, kFeedbackNoAskId, kButtonClass,
         u"Please don't ask me again"},
        {kControl | kWsTabStop | kWsGroup | kBsDefPushButton, 116, 72, 76, 14, kFeedbackProvideId,
         kButtonClass, u"Provide feedback"},
        {kControl | kWsTabStop | kBsPushButton, 197, 72, 76, 14, kFeedbackNoThanksId, kButtonClass,
         u"No thanks"},
    };
    return layout;
}

} // namespace quorle::platform::win32
