#include "wingui_sheet/driver/driver.h"

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cstdlib>
#include <functional>
#include <thread>

#include "core/ascii_text.h"
#include "sheet/tree.h"
#include "wingui/ids.h"
#include "wingui/win_api.h"

namespace quorle::wingui::driver {
namespace {

constexpr const char* kSearchCaption = "Search";

HWND H(Handle handle) {
    return static_cast<HWND>(handle);
}

// Sent and waited for, but never for ever: a message box would block it.
LRESULT Send(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    ::SendMessageTimeoutA(window, message, wParam, lParam, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
}

std::string Text(HWND window) {
    char buffer[1024] = {};
    Send(window, WM_GETTEXT, sizeof buffer, reinterpret_cast<LPARAM>(buffer));
    return buffer;
}

std::string ClassOf(HWND window) {
    char buffer[64] = {};
    ::GetClassNameA(window, buffer, sizeof buffer);
    return buffer;
}

std::string StripMnemonic(const std::string& shown) {
    std::string plain;
    for (char c : shown)
        if (c != '&') plain += c;
    return plain;
}

bool SameText(const std::string& shown, const std::string& wanted) {
    return StripMnemonic(shown) == wanted;
}

std::vector<HWND> TopWindows() {
    std::vector<HWND> found;
    ::EnumWindows(
        [](HWND window, LPARAM list) -> BOOL {
            DWORD process = 0;
            ::GetWindowThreadProcessId(window, &process);
            if (process == ::GetCurrentProcessId())
                reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

HWND Page(Handle sheet) {
    return ::GetDlgItem(H(sheet), kIdPage);
}

// The page's controls, without the "Category" selector above them.
std::vector<HWND> PageChildren(Handle sheet) {
    std::vector<HWND> children;
    for (HWND c = ::GetWindow(Page(sheet), GW_CHILD); c != nullptr;
         c = ::GetWindow(c, GW_HWNDNEXT)) {
        const int id = ::GetDlgCtrlID(c);
        if (id != kIdCategoryCaption && id != kIdCategory) children.push_back(c);
    }
    return children;
}

// A control by its own text, or the one after a caption of that text.
HWND Control(Handle sheet, const std::string& text) {
    const std::vector<HWND> children = PageChildren(sheet);
    for (size_t i = 0; i < children.size(); ++i) {
        if (!::IsWindowVisible(children[i]) || !SameText(Text(children[i]), text)) continue;
        if (ClassOf(children[i]) == "Static")
            return i + 1 < children.size() ? children[i + 1] : nullptr;
        return children[i];
    }
    return nullptr;
}

void Click(HWND window, int x, int y, WPARAM keys) {
    Send(window, WM_LBUTTONDOWN, MK_LBUTTON | keys, MAKELPARAM(x, y));
    Send(window, WM_LBUTTONUP, keys, MAKELPARAM(x, y));
}

void Walk(HWND tree, HTREEITEM item, std::vector<std::pair<HTREEITEM, std::string>>& items) {
    for (; item != nullptr;
         item = reinterpret_cast<HTREEITEM>(
             Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)))) {
        char buffer[512] = {};
        TVITEMA info{};
        info.mask = TVIF_TEXT;
        info.hItem = item;
        info.pszText = buffer;
        info.cchTextMax = sizeof buffer;
        Send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
        items.emplace_back(item, buffer);
        Walk(tree,
             reinterpret_cast<HTREEITEM>(
                 Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item))),
             items);
    }
}

std::vector<std::pair<HTREEITEM, std::string>> AllItems(Handle sheet) {
    HWND tree = ::GetDlgItem(H(sheet), kIdTree);
    std::vector<std::pair<HTREEITEM, std::string>> items;
    Walk(tree, reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0)), items);
    return items;
}

bool Choose(HWND combo, const std::string& item) {
    const auto at = Send(combo, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                         reinterpret_cast<LPARAM>(item.c_str()));
    if (at == CB_ERR) return false;
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(at));
    // What the combo tells its parent when the user picks an entry.
    Send(::GetParent(combo), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(combo), CBN_SELCHANGE),
         reinterpret_cast<LPARAM>(combo));
    return true;
}

std::vector<std::string> ComboItems(HWND combo) {
    std::vector<std::string> items;
    const auto count = Send(combo, CB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        char buffer[512] = {};
        Send(combo, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(buffer));
        items.emplace_back(buffer);
    }
    return items;
}

HWND FindBox() {
    for (HWND window : TopWindows())
        if (::IsWindowVisible(window) && ClassOf(window) == "#32770" &&
            ::GetDlgItem(window, 0xFFFF) != nullptr && ::GetDlgItem(window, kIdTabs) == nullptr)
            return window;
    return nullptr;
}

// Asks `done` every 20 ms until it answers true or the time is up.
bool Poll(int milliseconds, const std::function<bool()>& done) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(milliseconds);
    while (std::chrono::steady_clock::now() < end) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    return done();
}

// A shown dialog of that title, of any process. By title and class, which
// sends no message: the dialog's thread may still be loading libraries and
// must not be waited for.
HWND ShownDialog(const std::string& title) {
    HWND window = ::FindWindowExA(nullptr, nullptr, "#32770", title.c_str());
    return window != nullptr && ::IsWindowVisible(window) ? window : nullptr;
}

} // namespace

std::optional<Handle> WaitForWindow(const std::string& title, int milliseconds) {
    HWND window = nullptr;
    if (!Poll(milliseconds, [&] {
            window = ShownDialog(title);
            return window != nullptr && ::GetDlgItem(window, kIdTabs) != nullptr;
        }))
        return std::nullopt;
    return window;
}

bool WindowExists(const std::string& title) {
    return ::FindWindowExA(nullptr, nullptr, "#32770", title.c_str()) != nullptr;
}

std::vector<std::string> TreeItems(Handle sheet) {
    std::vector<std::string> texts;
    for (const auto& item : AllItems(sheet)) texts.push_back(item.second);
    return texts;
}

bool ClickTreeItem(Handle sheet, const std::string& label, int occurrence, bool ctrl, bool shift) {
    HWND tree = ::GetDlgItem(H(sheet), kIdTree);
    for (const auto& item : AllItems(sheet)) {
        if (item.second.rfind(label, 0) != 0 || occurrence-- > 0) continue;
        Send(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item.first));
        RECT rect{};
        *reinterpret_cast<HTREEITEM*>(&rect) = item.first;
        if (!Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) return false;
        // Near the text's start: a long text runs past the pane's edge.
        Click(tree, rect.left + std::min(8L, (rect.right - rect.left) / 2),
              (rect.top + rect.bottom) / 2, (ctrl ? MK_CONTROL : 0) | (shift ? MK_SHIFT : 0));
        return true;
    }
    return false;
}

std::vector<std::string> HighlightedTreeItems(Handle sheet) {
    HWND tree = ::GetDlgItem(H(sheet), kIdTree);
    // The tree painted now, then read back from the screen.
    ::RedrawWindow(tree, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    Send(tree, WM_NULL);
    const COLORREF highlight = ::GetSysColor(COLOR_HIGHLIGHT);
    std::vector<std::string> painted;
    HDC dc = ::GetDC(tree);
    for (const auto& item : AllItems(sheet)) {
        RECT rect{};
        *reinterpret_cast<HTREEITEM*>(&rect) = item.first;
        if (!Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) continue;
        int hits = 0, all = 0;
        for (LONG y = rect.top + 1; y < rect.bottom - 1; y += 2)
            for (LONG x = rect.left + 1; x < rect.right - 1; x += 2, ++all)
                if (::GetPixel(dc, x, y) == highlight) ++hits;
        if (all > 0 && hits * 2 > all) painted.push_back(item.second);
    }
    ::ReleaseDC(tree, dc);
    return painted;
}

std::vector<std::string> SelectedTreeItems(Handle sheet) {
    HWND tree = ::GetDlgItem(H(sheet), kIdTree);
    std::vector<std::string> selected;
    for (const auto& item : AllItems(sheet)) {
        const auto state =
            Send(tree, TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item.first), TVIS_SELECTED);
        if ((state & TVIS_SELECTED) != 0) selected.push_back(item.second);
    }
    return selected;
}

bool ChooseConfiguration(Handle sheet, const std::string& text) {
    return Choose(::GetDlgItem(H(sheet), kIdConfig), text);
}

bool ChooseMultipleConfigurations(Handle sheet, const std::vector<std::string>& names, bool ok) {
    HWND combo = ::GetDlgItem(H(sheet), kIdConfig);
    // The combo's last choice opens the pick of several.
    const auto at = Send(combo, CB_GETCOUNT) - 1;
    if (at < 0) return false;
    Send(combo, CB_SETCURSEL, static_cast<WPARAM>(at));
    // Posted: the sheet answers with a modal dialog of its own.
    ::PostMessageA(H(sheet), WM_COMMAND, MAKEWPARAM(kIdConfig, CBN_SELCHANGE),
                   reinterpret_cast<LPARAM>(combo));
    HWND picker = nullptr;
    if (!Poll(10000, [&] {
            return (picker = ShownDialog("Select project configurations to modify")) != nullptr;
        }))
        return false;
    HWND list = ::GetDlgItem(picker, kIdConfigList);
    bool found = list != nullptr;
    Send(list, LB_SETSEL, FALSE, -1);
    for (const std::string& name : names) {
        const auto row = Send(list, LB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                              reinterpret_cast<LPARAM>(name.c_str()));
        if (row == LB_ERR)
            found = false;
        else
            Send(list, LB_SETSEL, TRUE, row);
    }
    const int button = ok ? kIdOk : kIdCancel;
    ::PostMessageA(picker, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(picker, button)));
    const bool closed = Poll(10000, [picker] { return !::IsWindow(picker); });
    // The sheet redraws its tree once the dialog returned; a sent message
    // waits for that.
    Send(H(sheet), WM_NULL);
    return found && closed;
}

std::string ConfigurationText(Handle sheet) {
    return Text(::GetDlgItem(H(sheet), kIdConfig));
}

int TabCount(Handle sheet) {
    return static_cast<int>(Send(::GetDlgItem(H(sheet), kIdTabs), TCM_GETITEMCOUNT));
}

void PressKeyIn(Handle sheet, Pane pane, int virtualKey) {
    HWND control = ::GetDlgItem(H(sheet), pane == Pane::Tree ? kIdTree : kIdTabs);
    ::PostMessageA(control, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
    ::PostMessageA(control, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0xC0000001);
    Send(control, WM_NULL); // the keys are taken by then
}

std::vector<std::string> Tabs(Handle sheet) {
    HWND tabs = ::GetDlgItem(H(sheet), kIdTabs);
    std::vector<std::string> titles;
    const auto count = Send(tabs, TCM_GETITEMCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        char buffer[256] = {};
        TCITEMA item{};
        item.mask = TCIF_TEXT;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        Send(tabs, TCM_GETITEMA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        titles.emplace_back(buffer);
    }
    return titles;
}

int ActiveTab(Handle sheet) {
    return static_cast<int>(Send(::GetDlgItem(H(sheet), kIdTabs), TCM_GETCURSEL));
}

bool ClickTab(Handle sheet, const std::string& title) {
    HWND tabs = ::GetDlgItem(H(sheet), kIdTabs);
    const std::vector<std::string> titles = Tabs(sheet);
    for (size_t i = 0; i < titles.size(); ++i) {
        if (titles[i] != title) continue;
        RECT rect{};
        Send(tabs, TCM_GETITEMRECT, i, reinterpret_cast<LPARAM>(&rect));
        Click(tabs, (rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2, 0);
        return true;
    }
    return false;
}

std::vector<std::string> Categories(Handle sheet) {
    HWND combo = ::GetDlgItem(Page(sheet), kIdCategory);
    if (!::IsWindowVisible(combo)) return {};
    return ComboItems(combo);
}

bool ChooseCategory(Handle sheet, const std::string& label) {
    return Choose(::GetDlgItem(Page(sheet), kIdCategory), label);
}

std::optional<int> CheckState(Handle sheet, const std::string& text) {
    HWND box = Control(sheet, text);
    if (box == nullptr) return std::nullopt;
    const auto state = Send(box, BM_GETCHECK);
    return state == BST_CHECKED ? 1 : state == BST_INDETERMINATE ? 2 : 0;
}

bool Click(Handle sheet, const std::string& text) {
    HWND button = Control(sheet, text);
    if (button == nullptr) return false;
    Send(button, BM_CLICK);
    return true;
}

bool ChooseInCombo(Handle sheet, const std::string& caption, const std::string& item) {
    HWND combo = Control(sheet, caption);
    return combo != nullptr && Choose(combo, item);
}

std::optional<std::string> FieldText(Handle sheet, const std::string& caption) {
    HWND field = Control(sheet, caption);
    if (field == nullptr) return std::nullopt;
    return Text(field);
}

bool TypeInto(Handle sheet, const std::string& caption, const std::string& text) {
    HWND field = Control(sheet, caption);
    if (field == nullptr) return false;
    Send(field, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
    // What the edit tells its parent when the focus moves on.
    ::PostMessageA(::GetParent(field), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(field), EN_KILLFOCUS),
                   reinterpret_cast<LPARAM>(field));
    return true;
}

std::vector<std::string> ListItems(Handle sheet, const std::string& caption) {
    HWND list = Control(sheet, caption);
    std::vector<std::string> items;
    if (list == nullptr) return items;
    const auto count = Send(list, LVM_GETITEMCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        char buffer[512] = {};
        LVITEMA item{};
        item.iSubItem = 0;
        item.pszText = buffer;
        item.cchTextMax = sizeof buffer;
        Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(&item));
        items.emplace_back(buffer);
    }
    return items;
}

bool AddListEntry(Handle sheet, const std::string& caption, const std::string& entry) {
    HWND list = Control(sheet, caption);
    if (list == nullptr) return false;
    HWND add = ::GetWindow(list, GW_HWNDNEXT);
    if (add == nullptr || Text(add) != "New") return false;
    Send(add, BM_CLICK);
    HWND edit = reinterpret_cast<HWND>(Send(list, LVM_GETEDITCONTROL));
    if (edit == nullptr) return false;
    Send(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(entry.c_str()));
    // Posted: a refused entry answers with a message box.
    ::PostMessageA(edit, WM_KEYDOWN, VK_RETURN, 1);
    return true;
}

bool IsEnabled(Handle sheet, const std::string& text) {
    HWND control = Control(sheet, text);
    return control != nullptr && ::IsWindowEnabled(control);
}

std::vector<std::string> PageTexts(Handle sheet) {
    std::vector<std::string> texts;
    for (HWND child : PageChildren(sheet))
        if (::IsWindowVisible(child)) texts.push_back(Text(child));
    return texts;
}

std::vector<std::string> TabStops(Handle sheet) {
    HWND dialog = H(sheet);
    HWND start = ::GetDlgItem(dialog, kIdConfig);
    std::vector<std::string> stops;
    HWND at = start;
    for (int i = 0; i < 500 && at != nullptr; ++i) {
        const int id = ::GetDlgCtrlID(at);
        std::string name;
        switch (id) {
        case kIdConfig:
            name = "configuration";
            break;
        case kIdTree:
            name = "tree";
            break;
        case kIdTabs:
            name = "tabs";
            break;
        case kIdCategory:
            name = "category";
            break;
        case kIdOk:
            name = "OK";
            break;
        case kIdCancel:
            name = "Cancel";
            break;
        default: {
            // A field is named by the caption before it.
            name = StripMnemonic(Text(at));
            HWND before = ::GetWindow(at, GW_HWNDPREV);
            if (before != nullptr && ClassOf(before) == "Static")
                name = StripMnemonic(Text(before));
        }
        }
        stops.push_back(name);
        at = ::GetNextDlgTabItem(dialog, at, FALSE);
        if (at == start) break;
    }
    return stops;
}

std::string Preview(Handle sheet) {
    return Text(::GetDlgItem(H(sheet), kIdPreview));
}

std::optional<std::string> Tooltip(Handle sheet, const std::string& text) {
    HWND control = Control(sheet, text);
    if (control == nullptr) return std::nullopt;
    for (HWND window : TopWindows()) {
        if (ClassOf(window) != TOOLTIPS_CLASSA || ::GetWindow(window, GW_OWNER) != H(sheet))
            continue;
        char buffer[1024] = {};
        TTTOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        tool.hwnd = Page(sheet);
        tool.uId = reinterpret_cast<UINT_PTR>(control);
        tool.lpszText = buffer;
        Send(window, TTM_GETTEXTA, sizeof buffer, reinterpret_cast<LPARAM>(&tool));
        return std::string(buffer);
    }
    return std::nullopt;
}

namespace {

Edges EdgesOf(HWND window) {
    RECT rect{};
    ::GetWindowRect(window, &rect);
    return {rect.left, rect.top, rect.right, rect.bottom};
}

// How wide a window's text shows in the window's own font.
int ShownWidth(HWND window, const std::string& text) {
    HDC dc = ::GetDC(window);
    auto font = reinterpret_cast<HGDIOBJ>(Send(window, WM_GETFONT));
    HGDIOBJ before = font != nullptr ? ::SelectObject(dc, font) : nullptr;
    SIZE size{};
    ::GetTextExtentPoint32A(dc, text.c_str(), static_cast<int>(text.size()), &size);
    if (before != nullptr) ::SelectObject(dc, before);
    ::ReleaseDC(window, dc);
    return size.cx;
}

} // namespace

std::optional<Placement> PlacementOf(Handle sheet, const std::string& text) {
    if (text == "Category") {
        HWND caption = ::GetDlgItem(Page(sheet), kIdCategoryCaption);
        HWND combo = ::GetDlgItem(Page(sheet), kIdCategory);
        if (!::IsWindowVisible(combo)) return std::nullopt;
        return Placement{EdgesOf(caption), EdgesOf(combo)};
    }
    const std::vector<HWND> children = PageChildren(sheet);
    for (size_t i = 0; i < children.size(); ++i) {
        if (!::IsWindowVisible(children[i]) || !SameText(Text(children[i]), text)) continue;
        if (ClassOf(children[i]) != "Static") return Placement{{}, EdgesOf(children[i])};
        if (i + 1 == children.size()) return std::nullopt;
        return Placement{EdgesOf(children[i]), EdgesOf(children[i + 1])};
    }
    return std::nullopt;
}

std::vector<std::string> CutCaptions(Handle sheet) {
    std::vector<std::string> cut;
    for (HWND child = ::GetWindow(Page(sheet), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        const std::string text = StripMnemonic(Text(child));
        RECT client{};
        ::GetClientRect(child, &client);
        const std::string kind = ClassOf(child);
        const auto type = ::GetWindowLongPtrA(child, GWL_STYLE) & BS_TYPEMASK;
        if (kind == "Static") {
            if (ShownWidth(child, text) > client.right) cut.push_back(text);
        } else if (kind == "Button" && (type == BS_AUTOCHECKBOX || type == BS_AUTO3STATE)) {
            // The label beside the box, on as many lines as the box is high.
            TEXTMETRICA metrics{};
            HDC dc = ::GetDC(child);
            HGDIOBJ before = ::SelectObject(dc, reinterpret_cast<HGDIOBJ>(Send(child, WM_GETFONT)));
            ::GetTextMetricsA(dc, &metrics);
            ::SelectObject(dc, before);
            ::ReleaseDC(child, dc);
            const int lines = std::max(1L, client.bottom / std::max(1L, metrics.tmHeight));
            const int room = client.right - ::GetSystemMetrics(SM_CXMENUCHECK) - 4;
            if (ShownWidth(child, text) > room * lines) cut.push_back(text);
        }
    }
    return cut;
}

bool PageCutsLabels(Handle sheet) {
    return ::GetWindowLongPtrA(Page(sheet), GWLP_USERDATA) != 0;
}

std::vector<std::string> CutTreeItems(Handle sheet, bool scrolling) {
    HWND tree = ::GetDlgItem(H(sheet), kIdTree);
    RECT client{};
    ::GetClientRect(tree, &client);
    int reach = client.right;
    SCROLLINFO scroll{};
    scroll.cbSize = sizeof scroll;
    scroll.fMask = SIF_ALL;
    if (scrolling && (::GetWindowLongPtrA(tree, GWL_STYLE) & WS_HSCROLL) != 0 &&
        ::GetScrollInfo(tree, SB_HORZ, &scroll))
        reach += std::max(0, scroll.nMax + 1 - static_cast<int>(scroll.nPage) - scroll.nPos);
    std::vector<std::string> cut;
    for (const auto& item : AllItems(sheet)) {
        RECT rect{};
        *reinterpret_cast<HTREEITEM*>(&rect) = item.first;
        if (!Send(tree, TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect))) continue;
        // The text as drawn from the item's left edge; the item's rectangle
        // has a few pixels more than the scroll range counts.
        if (rect.left + ShownWidth(tree, item.second) > reach) cut.push_back(item.second);
    }
    return cut;
}

bool ControlsInsidePage(Handle sheet, std::string& offender) {
    RECT page{};
    ::GetWindowRect(Page(sheet), &page);
    for (HWND child = ::GetWindow(Page(sheet), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT)) {
        if (!::IsWindowVisible(child)) continue;
        RECT rect{};
        ::GetWindowRect(child, &rect);
        if (rect.left < page.left || rect.top < page.top || rect.right > page.right ||
            rect.bottom > page.bottom) {
            offender = ClassOf(child) + " \"" + Text(child) + "\"";
            return false;
        }
    }
    return true;
}

namespace {

// The common controls library whose procedure runs the window's class: 6
// when it comes from the side-by-side assembly of version 6, 5 for the
// classic comctl32 of the system folder, 0 for another library (user32).
// By the library's place: Wine reports 5.81 from both copies of comctl32.
int LibraryVersion(HWND window) {
    HMODULE module = nullptr;
    for (const auto proc :
         {::GetClassLongPtrW(window, GCLP_WNDPROC), ::GetClassLongPtrA(window, GCLP_WNDPROC)}) {
        // The other character set's answer may be a handle, not an address.
        if (::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                                     GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                                 reinterpret_cast<LPCSTR>(proc), &module))
            break;
        module = nullptr;
    }
    char buffer[MAX_PATH] = {};
    if (module == nullptr || ::GetModuleFileNameA(module, buffer, MAX_PATH) == 0) return -1;
    std::string path = buffer;
    for (char& c : path) c = core::AsciiLower(c);
    const std::string assembly = "microsoft.windows.common-controls_6595b64144ccf1df_";
    const size_t at = path.find(assembly);
    if (at != std::string::npos) return std::atoi(path.c_str() + at + assembly.size());
    const size_t slash = path.find_last_of("\\/");
    return path.substr(slash + 1) == "comctl32.dll" ? 5 : 0;
}

} // namespace

std::vector<std::pair<std::string, int>> ControlsVersions(Handle sheet) {
    std::vector<std::pair<std::string, int>> versions;
    for (int id : {kIdConfig, kIdTree, kIdTabs, kIdPreview, kIdOk, kIdCancel}) {
        HWND control = ::GetDlgItem(H(sheet), id);
        if (control != nullptr) versions.emplace_back(ClassOf(control), LibraryVersion(control));
    }
    for (HWND child = ::GetWindow(Page(sheet), GW_CHILD); child != nullptr;
         child = ::GetWindow(child, GW_HWNDNEXT))
        if (::IsWindowVisible(child))
            versions.emplace_back(ClassOf(child) + " \"" + StripMnemonic(Text(child)) + "\"",
                                  LibraryVersion(child));
    return versions;
}

int ButtonVersionOutsideTheSheet() {
    HWND button = ::CreateWindowExA(0, "BUTTON", "probe", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    const int version = button != nullptr ? LibraryVersion(button) : -1;
    if (button != nullptr) ::DestroyWindow(button);
    return version;
}

void PressOk(Handle sheet) {
    ::PostMessageA(H(sheet), WM_COMMAND, MAKEWPARAM(kIdOk, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(H(sheet), kIdOk)));
}

void PressCancel(Handle sheet) {
    ::PostMessageA(H(sheet), WM_COMMAND, MAKEWPARAM(kIdCancel, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(H(sheet), kIdCancel)));
}

void PressCloseBox(Handle sheet) {
    ::PostMessageA(H(sheet), WM_SYSCOMMAND, SC_CLOSE, 0);
}

void PressKey(Handle sheet, int virtualKey) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(H(sheet), nullptr), &info);
    HWND target = info.hwndFocus != nullptr ? info.hwndFocus : H(sheet);
    ::PostMessageA(target, WM_KEYDOWN, static_cast<WPARAM>(virtualKey), 1);
    ::PostMessageA(target, WM_KEYUP, static_cast<WPARAM>(virtualKey), 0xC0000001);
}

std::optional<Box> WaitForMessageBox(int milliseconds) {
    HWND box = nullptr;
    if (!Poll(milliseconds, [&] { return (box = FindBox()) != nullptr; })) return std::nullopt;
    return Box{Text(box), Text(::GetDlgItem(box, 0xFFFF))};
}

void CloseMessageBox(bool yes) {
    HWND box = FindBox();
    if (box == nullptr) return;
    int id = IDOK;
    if (::GetDlgItem(box, IDYES) != nullptr) id = yes ? IDYES : IDNO;
    ::PostMessageA(box, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(box, id)));
    // Gone before the caller goes on: a box still closing would be taken for
    // the next one, which would then be left unanswered.
    Poll(10000, [box] { return !::IsWindow(box) || !::IsWindowVisible(box); });
}

std::optional<SearchShown> Search(Handle sheet, const std::string& text) {
    ::PostMessageA(H(sheet), kMsgSearch, 0, 0);
    HWND search = nullptr;
    if (!Poll(10000, [&] { return (search = ShownDialog(kSearchCaption)) != nullptr; }))
        return std::nullopt;
    // As typing does: the dialog hears of the change and searches.
    Send(::GetDlgItem(search, kIdSearchText), WM_SETTEXT, 0,
         reinterpret_cast<LPARAM>(text.c_str()));
    SearchShown shown;
    HWND list = ::GetDlgItem(search, kIdSearchHits);
    const auto count = Send(list, LB_GETCOUNT);
    for (LRESULT i = 0; i < count; ++i) {
        std::string item(static_cast<size_t>(Send(list, LB_GETTEXTLEN, i)) + 1, '\0');
        Send(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(item.data()));
        item.resize(item.size() - 1);
        shown.hits.push_back(item);
    }
    shown.status = Text(::GetDlgItem(search, kIdSearchStatus));
    return shown;
}

bool EndSearch(Handle sheet, size_t hit, bool ok) {
    HWND search = ShownDialog(kSearchCaption);
    if (search == nullptr) return false;
    if (ok) Send(::GetDlgItem(search, kIdSearchHits), LB_SETCURSEL, hit);
    const int button = ok ? kIdOk : kIdCancel;
    ::PostMessageA(search, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                   reinterpret_cast<LPARAM>(::GetDlgItem(search, button)));
    const bool closed = Poll(10000, [] { return ShownDialog(kSearchCaption) == nullptr; });
    // The sheet shows the hit once the dialog returned; a sent message waits for that.
    Send(H(sheet), WM_NULL);
    return closed;
}

std::string ExecutableDirectory() {
    char path[MAX_PATH] = {};
    ::GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string text = path;
    return text.substr(0, text.find_last_of("\\/") + 1);
}

Counts LiveCounts(const std::string& viewLibraryPath) {
    Counts counts;
    // Kept loaded so that the counts outlive each sheet's own load and unload.
    HMODULE view = ::LoadLibraryA(viewLibraryPath.c_str());
    using Fn = void (*)(long*, long*);
    auto fn = reinterpret_cast<Fn>(
        reinterpret_cast<void*>(::GetProcAddress(view, "QuorleSheetWindowHandles")));
    if (fn != nullptr) fn(&counts.viewWindows, &counts.viewGdiObjects);
    for (HWND window : TopWindows())
        if (::IsWindowVisible(window)) ++counts.threadWindows;
    return counts;
}

} // namespace quorle::wingui::driver
