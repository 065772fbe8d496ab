// "Select project configurations to modify": a multi-selection list of the
// configurations, OK and Cancel, from the resource library's template.
#include <algorithm>

#include "wingui/ids.h"
#include "wingui/resource_module.h"
#include "wingui/sheet_window.h"

namespace quorle::wingui {
namespace {

struct Pick {
    const std::vector<std::string>* all;
    const std::vector<std::string>* shown;
    std::vector<std::string> chosen;
};

void Init(HWND dialog, const Pick& pick) {
    HWND list = ::GetDlgItem(dialog, kIdConfigList);
    for (size_t i = 0; i < pick.all->size(); ++i) {
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((*pick.all)[i].c_str()));
        bool on =
            std::find(pick.shown->begin(), pick.shown->end(), (*pick.all)[i]) != pick.shown->end();
        ::SendMessageA(list, LB_SETSEL, on ? TRUE : FALSE, static_cast<LPARAM>(i));
    }
    ::SetFocus(list);
}

INT_PTR CALLBACK PickProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        if (message == WM_INITDIALOG) {
            ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
            Init(dialog, *reinterpret_cast<Pick*>(lParam));
            return FALSE; // the focus is set
        }
        auto* pick = reinterpret_cast<Pick*>(::GetWindowLongPtrA(dialog, DWLP_USER));
        if (pick == nullptr) return FALSE;
        if (message == WM_COMMAND && (LOWORD(wParam) == kIdOk || LOWORD(wParam) == kIdCancel)) {
            if (LOWORD(wParam) == kIdOk) {
                HWND list = ::GetDlgItem(dialog, kIdConfigList);
                for (size_t i = 0; i < pick->all->size(); ++i)
                    if (::SendMessageA(list, LB_GETSEL, i, 0) > 0)
                        pick->chosen.push_back((*pick->all)[i]);
            }
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        if (message == WM_CLOSE) {
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

std::vector<std::string> PickConfigurations(HWND owner, const std::vector<std::string>& all,
                                            const std::vector<std::string>& shown) {
    Pick pick{&all, &shown, {}};
    ::DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(kDialogConfigurations), owner, &PickProc,
                      reinterpret_cast<LPARAM>(&pick));
    return pick.chosen;
}

} // namespace quorle::wingui
