// "Select project configurations to modify": a multi-selection list of the
// configurations, OK and Cancel.
#include <algorithm>

#include "wingui/dialog_memory.h"
#include "wingui/handles.h"
#include "wingui/ids.h"
#include "wingui/sheet_window.h"

namespace quorle::wingui {
namespace {

struct Pick {
    HFONT font;
    const std::vector<std::string>* all;
    const std::vector<std::string>* shown;
    std::vector<std::string> chosen;
    std::vector<Window> windows;
};

HWND Add(HWND dialog, Pick& pick, const char* windowClass, const char* text, DWORD style, int x, int y,
         int w, int h, int id, DWORD exStyle = 0) {
    HWND child = ::CreateWindowExA(exStyle, windowClass, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h,
                                   dialog, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(pick.font), FALSE);
    pick.windows.emplace_back(child);
    return child;
}

void Init(HWND dialog, Pick& pick) {
    HDC screen = ::GetDC(nullptr);
    const double scale = ::GetDeviceCaps(screen, LOGPIXELSY) / 96.0;
    ::ReleaseDC(nullptr, screen);
    auto px = [scale](int v) { return static_cast<int>(v * scale + 0.5); };
    ::SetWindowTextA(dialog, "Select project configurations to modify");
    RECT frame{0, 0, px(320), px(260)};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    ::SetWindowPos(dialog, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                   SWP_NOMOVE | SWP_NOZORDER);
    Add(dialog, pick, "STATIC", "&Project configurations :", SS_LEFT, px(8), px(8), px(300), px(16), -1);
    HWND list = Add(dialog, pick, "LISTBOX", "", LBS_EXTENDEDSEL | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_TABSTOP,
                    px(8), px(26), px(304), px(190), kIdConfigList, WS_EX_CLIENTEDGE);
    for (size_t i = 0; i < pick.all->size(); ++i) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((*pick.all)[i].c_str()));
        bool on = std::find(pick.shown->begin(), pick.shown->end(), (*pick.all)[i]) != pick.shown->end();
        ::SendMessageA(list, LB_SETSEL, on ? TRUE : FALSE, static_cast<LPARAM>(i));
    }
    Add(dialog, pick, "BUTTON", "OK", BS_DEFPUSHBUTTON | WS_TABSTOP, px(148), px(226), px(78), px(26), kIdOk);
    Add(dialog, pick, "BUTTON", "Cancel", BS_PUSHBUTTON | WS_TABSTOP, px(234), px(226), px(78), px(26),
        kIdCancel);
    ::SetFocus(list);
}

INT_PTR CALLBACK PickProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            Init(dialog, *reinterpret_cast<Pick*>(lParam));
            return FALSE;
        }
        auto* pick = reinterpret_cast<Pick*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        if (pick == nullptr) return FALSE;
        if (message == WM_COMMAND && (LOWORD(wParam) == kIdOk || LOWORD(wParam) == kIdCancel)) {
            if (LOWORD(wParam) == kIdOk) {
                HWND list = ::GetDlgItem(dialog, kIdConfigList);
                for (size_t i = 0; i < pick->all->size(); ++i)
                    if (::SendMessageA(list, LB_GETSEL, i, 0) > 0) pick->chosen.push_back((*pick->all)[i]);
            }
            pick->windows.clear();
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        if (message == WM_CLOSE) {
            pick->windows.clear();
            ::EndDialog(dialog, kIdCancel);
            return TRUE;
        }
    } catch (...) {
        ::EndDialog(dialog, kIdCancel);
        return TRUE;
    }
    return FALSE;
}

} // namespace

std::vector<std::string> PickConfigurations(HWND owner, HFONT font, const std::vector<std::string>& all,
                                            const std::vector<std::string>& shown) {
    Pick pick{font, &all, &shown, {}, {}};
    const auto frame = EmptyDialogTemplate(WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER,
                                           WS_EX_CONTROLPARENT);
    ::DialogBoxIndirectParamA(::GetModuleHandleA(nullptr), AsTemplate(frame), owner, &PickProc,
                              reinterpret_cast<LPARAM>(&pick));
    return pick.chosen;
}

} // namespace quorle::wingui
