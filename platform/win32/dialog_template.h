// In-memory dialog templates: the DLGTEMPLATE layout that DialogBoxIndirect
// reads, built from a description, so that the plug-in shows its dialogs
// without a resource script. Uses no Windows header (its constants are
// checked against <windows.h> where it is used), so it is tested anywhere.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorle::platform::win32 {

// Window, dialog and control styles the templates use.
inline constexpr uint32_t kWsPopup = 0x80000000u;
inline constexpr uint32_t kWsVisible = 0x10000000u;
inline constexpr uint32_t kWsChild = 0x40000000u;
inline constexpr uint32_t kWsCaption = 0x00C00000u;
inline constexpr uint32_t kWsSysMenu = 0x00080000u;
inline constexpr uint32_t kWsGroup = 0x00020000u;
inline constexpr uint32_t kWsTabStop = 0x00010000u;
inline constexpr uint32_t kDsModalFrame = 0x80u;
inline constexpr uint32_t kDsSetFont = 0x40u;
inline constexpr uint32_t kDsCenter = 0x800u;
inline constexpr uint32_t kSsLeft = 0x0u;
inline constexpr uint32_t kBsPushButton = 0x0u;
inline constexpr uint32_t kBsDefPushButton = 0x1u;
inline constexpr uint32_t kBsAutoCheckBox = 0x3u;

// Predefined window classes, named by atom in an item.
inline constexpr uint16_t kButtonClass = 0x0080;
inline constexpr uint16_t kStaticClass = 0x0082;

// Positions and sizes in dialog units.
struct DialogItem {
    uint32_t style = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    uint16_t id = 0;
    uint16_t classAtom = kStaticClass;
    std::u16string text;
};

struct DialogLayout {
    uint32_t style = 0; // DS_SETFONT is added when `font` is set
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::u16string caption;
    uint16_t pointSize = 8;
    std::u16string font; // empty: the system font
    std::vector<DialogItem> items;
};

// The template as 16-bit words, every item starting on a 32-bit boundary
// counted from the first word (vector storage is aligned at least that far).
std::vector<uint16_t> BuildDialogTemplate(const DialogLayout& layout);

// Control identifiers of the feedback request; the buttons carry the ids
// that Enter and Escape send.
inline constexpr uint16_t kFeedbackProvideId = 1;  // IDOK
inline constexpr uint16_t kFeedbackNoThanksId = 2; // IDCANCEL
inline constexpr uint16_t kFeedbackTextId = 100;
inline constexpr uint16_t kFeedbackNoAskId = 101;

// The feedback request: the text, the "Please don't ask me again" box, and
// "Provide feedback" (the default) and "No thanks".
DialogLayout FeedbackDialogLayout(const std::u16string& caption, const std::u16string& text);

} // namespace quorle::platform::win32
