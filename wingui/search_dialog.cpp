// The search as a dialog from the resource library's template: the controls
// the sheet finds, listed again as the text is typed, and the one picked.
#include "wingui/ids.h"
#include "wingui/resource_module.h"
#include "wingui/sheet_window.h"

namespace quorle::wingui {
namespace {

struct Search {
    const sheet::CSheetFace* face;
    std::vector<sheet::SearchHit> hits;
    std::optional<sheet::SearchHit> chosen;
};

void Find(HWND dialog, Search& search) {
    const std::string typed = WindowText(::GetDlgItem(dialog, kIdSearchText));
    search.hits = search.face->Search(typed);
    HWND list = ::GetDlgItem(dialog, kIdSearchHits);
    ::SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const sheet::SearchHit& hit : search.hits)
        ::SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(hit.text.c_str()));
    if (!search.hits.empty()) ::SendMessageA(list, LB_SETCURSEL, 0, 0);
    // Said only once something was typed.
    const bool typing = typed.find_first_not_of(' ') != std::string::npos;
    const std::string status =
        search.hits.empty() && typing ? search.face->NothingFound(typed) : std::string();
    ::SetDlgItemTextA(dialog, kIdSearchStatus, status.c_str());
}

// The hit picked; false while none is.
bool Choose(HWND dialog, Search& search) {
    const auto at = ::SendMessageA(::GetDlgItem(dialog, kIdSearchHits), LB_GETCURSEL, 0, 0);
    if (at < 0 || static_cast<size_t>(at) >= search.hits.size()) return false;
    search.chosen = search.hits[static_cast<size_t>(at)];
    return true;
}

// The dialog's answer to a message; false for one it leaves to the system.
bool OnMessage(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(dialog, DWLP_USER, lParam);
        const sheet::FaceQuestion question =
            reinterpret_cast<Search*>(lParam)->face->SearchQuestion();
        ::SetWindowTextA(dialog, question.caption.c_str());
        ::SetDlgItemTextA(dialog, kIdSearchPrompt, question.text.c_str());
        ::SetFocus(::GetDlgItem(dialog, kIdSearchText));
        return false; // the focus is set
    }
    auto* search = reinterpret_cast<Search*>(::GetWindowLongPtrA(dialog, DWLP_USER));
    const int id = LOWORD(wParam), code = HIWORD(wParam);
    const bool command = message == WM_COMMAND;
    if (search == nullptr || (!command && message != WM_CLOSE)) return false;
    if (command && id == kIdSearchText && code == EN_CHANGE) {
        Find(dialog, *search);
    } else if (command && (id == kIdOk || (id == kIdSearchHits && code == LBN_DBLCLK))) {
        if (Choose(dialog, *search))
            ::EndDialog(dialog, kIdOk);
        else
            ::MessageBeep(MB_ICONWARNING);
    } else if (!command || id == kIdCancel) {
        ::EndDialog(dialog, kIdCancel); // Cancel, Escape or the close box
    }
    return true;
}

INT_PTR CALLBACK SearchProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    // No C++ exception may cross into the system's code.
    try {
        return OnMessage(dialog, message, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        ::EndDialog(dialog, kIdCancel);
        return TRUE;
    }
}

} // namespace

std::optional<sheet::SearchHit> SearchFor(HWND owner, const sheet::CSheetFace& face) {
    Search search{&face, {}, std::nullopt};
    ::DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(kDialogSearch), owner, &SearchProc,
                      reinterpret_cast<LPARAM>(&search));
    return search.chosen;
}

} // namespace quorle::wingui
