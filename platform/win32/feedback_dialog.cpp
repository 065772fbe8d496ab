#include "platform/win32/windows_api.h"

#include "platform/platform.h"
#include "platform/win32/dialog_template.h"

namespace quorle::platform {
namespace {

static_assert(win32::kWsPopup == WS_POPUP && win32::kWsVisible == WS_VISIBLE &&
              win32::kWsChild == WS_CHILD && win32::kWsCaption == WS_CAPTION &&
              win32::kWsSysMenu == WS_SYSMENU && win32::kWsGroup == WS_GROUP &&
              win32::kWsTabStop == WS_TABSTOP);
static_assert(win32::kDsModalFrame == DS_MODALFRAME && win32::kDsSetFont == DS_SETFONT &&
              win32::kDsCenter == DS_CENTER);
static_assert(win32::kSsLeft == SS_LEFT && win32::kBsPushButton == BS_PUSHBUTTON &&
              win32::kBsDefPushButton == BS_DEFPUSHBUTTON &&
              win32::kBsAutoCheckBox == BS_AUTOCHECKBOX);
static_assert(win32::kFeedbackProvideId == IDOK && win32::kFeedbackNoThanksId == IDCANCEL);

// The dialog's result: which button, and whether the box was checked.
constexpr INT_PTR kAnswerFeedback = 1;
constexpr INT_PTR kAnswerNoAsk = 2;

HMODULE OwnModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

// The ANSI text as UTF-16 for the template; a static control wants CR LF
// between lines.
std::u16string Widen(const std::string& text) {
    std::string lines;
    for (char c : text) {
        if (c == '\n' && (lines.empty() || lines.back() != '\r')) lines += '\r';
        lines += c;
    }
    if (lines.empty()) return {};
    int length =
        ::MultiByteToWideChar(CP_ACP, 0, lines.data(), static_cast<int>(lines.size()), nullptr, 0);
    if (length <= 0) return {};
    std::wstring wide(static_cast<size_t>(length), L'\0');
    ::MultiByteToWideChar(CP_ACP, 0, lines.data(), static_cast<int>(lines.size()), wide.data(),
                          length);
    return std::u16string(wide.begin(), wide.end());
}

INT_PTR CALLBACK FeedbackDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM /*lParam*/) {
    switch (message) {
    case WM_INITDIALOG:
        // Focus on the default button rather than the first tab stop, the box.
        ::SetFocus(::GetDlgItem(dialog, IDOK));
        return FALSE;
    case WM_COMMAND: {
        int id = LOWORD(wParam);
        if (id != IDOK && id != IDCANCEL) return FALSE;
        // Escape and the close box count as "No thanks"; the box is kept either way.
        INT_PTR answer = id == IDOK ? kAnswerFeedback : 0;
        if (::IsDlgButtonChecked(dialog, win32::kFeedbackNoAskId) == BST_CHECKED)
            answer |= kAnswerNoAsk;
        ::EndDialog(dialog, answer);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

} // namespace

std::string ShowFeedbackDialog(const std::string& caption, const std::string& text) {
    if (MessagesRedirected()) return AskQueued(caption, text, "NOTHANKS");
    std::vector<uint16_t> dialogTemplate =
        win32::BuildDialogTemplate(win32::FeedbackDialogLayout(Widen(caption), Widen(text)));
    INT_PTR answer = ::DialogBoxIndirectParamA(
        OwnModule(), reinterpret_cast<LPCDLGTEMPLATEA>(dialogTemplate.data()), ::GetActiveWindow(),
        FeedbackDialogProc, 0);
    // A dialog that could not be shown leaves the choice as it was.
    if (answer < 0) return "NOTHANKS";
    std::string word = (answer & kAnswerFeedback) != 0 ? "FEEDBACK" : "NOTHANKS";
    if ((answer & kAnswerNoAsk) != 0) word += "+NOASK";
    return word;
}

} // namespace quorle::platform
