#include "wingui/sheet_window.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <stdexcept>

#include <uxtheme.h>

#include "wingui/ids.h"
#include "wingui/resource_module.h"
#include "wingui/tree_text.h"
#include "wingui/visual_styles.h"

namespace quorle::wingui {
namespace {

using sheet::CommandResult;
using sheet::ControlKind;

// The client area at 96 dots per inch.
constexpr int kWidth = 920;
constexpr int kHeight = 610;
constexpr int kMargin = 8;
constexpr int kPaneWidth = 250;    // at least
constexpr int kMaxPaneWidth = 420; // beyond it the tree scrolls
constexpr int kPreviewHeight = 64;
constexpr int kButtonWidth = 80;
constexpr int kButtonHeight = 26;

// A static or edit control wants CR LF between lines.
std::string WithCrLf(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c == '\n' && (out.empty() || out.back() != '\r')) out += '\r';
        out += c;
    }
    return out;
}

// The sheet shown now, for the key filter: one per thread, as the dialog is modal.
SheetWindow* shownSheet = nullptr;

void AddTreeItems(HWND tree, HTREEITEM parent, const sheet::TreeNode& node,
                  sheet::NodeKind parentKind, const sheet::CSheetFace& face,
                  std::vector<HTREEITEM>& items, std::vector<sheet::NodeRef>& refs) {
    std::string text = TreeItemText(node, face.PhaseShownBeside(node, parentKind));
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    insert.item.mask = TVIF_TEXT | TVIF_PARAM;
    insert.item.pszText = text.data();
    insert.item.lParam = static_cast<LPARAM>(items.size());
    auto item = reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    items.push_back(item);
    refs.push_back(sheet::NodeRef{node.kind, node.record, node.project, node.target});
    for (const sheet::TreeNode& child : node.children)
        AddTreeItems(tree, item, child, node.kind, face, items, refs);
    // Levels open, leaves under them visible: the tree is small.
    if (!node.children.empty())
        ::SendMessageA(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
}

HTREEITEM Next(HWND tree, HTREEITEM from, WPARAM how) {
    return reinterpret_cast<HTREEITEM>(
        ::SendMessageA(tree, TVM_GETNEXTITEM, how, reinterpret_cast<LPARAM>(from)));
}

} // namespace

std::string WindowText(HWND window) {
    int length = ::GetWindowTextLengthA(window);
    std::string text(static_cast<size_t>(std::max(length, 0)) + 1, '\0');
    int got = ::GetWindowTextA(window, text.data(), length + 1);
    text.resize(static_cast<size_t>(std::max(got, 0)));
    return text;
}

int SheetWindow::Px(int pixels) const {
    return static_cast<int>(std::lround(pixels * scale_));
}

int SheetWindow::Run() {
    // Before the classes are registered and the first window is made.
    const VisualStyles styles;
    INITCOMMONCONTROLSEX init{sizeof init, ICC_TREEVIEW_CLASSES | ICC_TAB_CLASSES |
                                               ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES |
                                               ICC_STANDARD_CLASSES};
    ::InitCommonControlsEx(&init);
    result_ = -1;
    SheetWindow* before = shownSheet;
    shownSheet = this;
    HHOOK filter =
        ::SetWindowsHookExA(WH_MSGFILTER, &SheetWindow::KeyFilter, nullptr, ::GetCurrentThreadId());
    INT_PTR ended =
        ::DialogBoxParamA(ResourceModule(), MAKEINTRESOURCEA(kDialogSheet), ::GetActiveWindow(),
                          &SheetWindow::DialogProc, reinterpret_cast<LPARAM>(this));
    if (filter != nullptr) ::UnhookWindowsHookEx(filter);
    shownSheet = before;
    if (ended == -1 && dialog_ == nullptr) return 1; // the dialog could not be made
    dialog_ = nullptr;
    return result_;
}

INT_PTR CALLBACK SheetWindow::DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SheetWindow*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (message == WM_INITDIALOG) {
        self = reinterpret_cast<SheetWindow*>(lParam);
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        self->dialog_ = window;
    }
    if (self == nullptr) return FALSE;
    // No C++ exception may cross into the system's code.
    try {
        return self->OnMessage(message, wParam, lParam);
    } catch (...) {
        self->result_ = 1;
        ::EndDialog(window, 1);
        return TRUE;
    }
}

LRESULT CALLBACK SheetWindow::KeyFilter(int code, WPARAM wParam, LPARAM lParam) {
    const auto* msg = reinterpret_cast<const MSG*>(lParam);
    SheetWindow* self = shownSheet;
    // Only keys meant for the sheet itself: a box or dialog over it keeps its own.
    if (code == MSGF_DIALOGBOX && self != nullptr && self->dialog_ != nullptr &&
        msg->message == WM_KEYDOWN && msg->wParam == 'F' &&
        (::GetKeyState(VK_CONTROL) & 0x8000) != 0 &&
        (msg->hwnd == self->dialog_ || ::IsChild(self->dialog_, msg->hwnd))) {
        ::PostMessageA(self->dialog_, kMsgSearch, 0, 0);
        return TRUE;
    }
    return ::CallNextHookEx(nullptr, code, wParam, lParam);
}

INT_PTR CALLBACK SheetWindow::PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<SheetWindow*>(::GetWindowLongPtrA(window, DWLP_USER));
    if (message == WM_INITDIALOG) {
        ::SetWindowLongPtrA(window, DWLP_USER, lParam);
        return FALSE;
    }
    if (self == nullptr) return FALSE;
    try {
        return self->OnPageMessage(message, wParam, lParam);
    } catch (...) {
        self->result_ = 1;
        ::EndDialog(self->dialog_, 1);
        return TRUE;
    }
}

LRESULT CALLBACK SheetWindow::TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                       UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<SheetWindow*>(data);
    try {
        if (message == WM_LBUTTONDOWN) {
            TVHITTESTINFO hit{};
            hit.pt = {static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
            ::SendMessageA(window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit));
            // Clicks on an item's text or icon select; the +/- button folds as usual.
            if (hit.hItem != nullptr && (hit.flags & (TVHT_ONITEMLABEL | TVHT_ONITEMICON)) != 0) {
                ::SetFocus(window);
                self->OnTreeClick(hit.hItem, (wParam & MK_CONTROL) != 0, (wParam & MK_SHIFT) != 0);
                return 0;
            }
        } else if (message == WM_NCDESTROY) {
            ::RemoveWindowSubclass(window, &SheetWindow::TreeProc, 1);
        }
    } catch (...) {
        self->result_ = 1;
        ::EndDialog(self->dialog_, 1);
        return 0;
    }
    return ::DefSubclassProc(window, message, wParam, lParam);
}

HWND SheetWindow::Child(HWND parent, const char* windowClass, const std::string& text, DWORD style,
                        const Rect& rect, int id, DWORD exStyle) {
    HWND child = ::CreateWindowExA(exStyle, windowClass, text.c_str(),
                                   WS_CHILD | WS_VISIBLE | style, rect.x, rect.y, rect.w, rect.h,
                                   parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                   ::GetModuleHandleA(nullptr), nullptr);
    if (child != nullptr)
        ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return child;
}

HWND SheetWindow::Adopt(HWND parent, int id, const Rect& rect) {
    HWND child = ::GetDlgItem(parent, id);
    if (child == nullptr) throw std::runtime_error("the dialog template lacks a control");
    ::SetWindowPos(child, nullptr, rect.x, rect.y, rect.w, rect.h, SWP_NOZORDER | SWP_NOACTIVATE);
    ::SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
    return child;
}

INT_PTR SheetWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        Create();
        Refresh();
        ::SetFocus(tree_.get());
        return FALSE; // the focus is set
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        LRESULT answer = OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case kMsgRefresh:
        Refresh();
        return TRUE;
    case kMsgSearch:
        OnSearch();
        return TRUE;
    case DM_GETDEFID:
        ::SetWindowLongPtrA(dialog_, DWLP_MSGRESULT, MAKELONG(kIdOk, DC_HASDEFID));
        return TRUE;
    case WM_CLOSE:
        OnCancel();
        return TRUE;
    case WM_DESTROY:
        Destroy();
        return FALSE;
    default:
        return FALSE;
    }
}

INT_PTR SheetWindow::OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_COMMAND:
        OnCommand(LOWORD(wParam), HIWORD(wParam), reinterpret_cast<HWND>(lParam));
        return TRUE;
    case WM_NOTIFY: {
        LRESULT answer = OnNotify(*reinterpret_cast<const NMHDR*>(lParam));
        ::SetWindowLongPtrA(page_, DWLP_MSGRESULT, answer);
        return TRUE;
    }
    case kMsgLoad:
        LoadPage();
        return TRUE;
    case kMsgValidateSave:
        // A page that refuses answers -1 and the sheet keeps what it shows.
        ::SetWindowLongPtrA(page_, DWLP_MSGRESULT, CommitEdits() ? 0 : -1);
        return TRUE;
    case kMsgShowCommandLine:
        ::SetWindowTextA(preview_.get(), WithCrLf(reinterpret_cast<const char*>(lParam)).c_str());
        return TRUE;
    default:
        return FALSE;
    }
}

void SheetWindow::Create() {
    HDC screen = ::GetDC(nullptr);
    scale_ = ::GetDeviceCaps(screen, LOGPIXELSY) / 96.0;
    ::ReleaseDC(nullptr, screen);
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    ::SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    font_ = GdiObject(::CreateFontIndirectA(&metrics.lfMessageFont));

    ::SetWindowTextA(dialog_, face_.Title().c_str());
    const int m = Px(kMargin);
    const int height = Px(kHeight);
    const int buttonsTop = height - m - Px(kButtonHeight);
    // The tree first: the pane is as wide as its widest item, within limits.
    const int treeTop = m + Px(50);
    tree_ = Window(Adopt(dialog_, kIdTree, {m, treeTop, Px(kPaneWidth), buttonsTop - m - treeTop}));
    FillTree();
    RECT frame{0, 0, 0, height};
    ::AdjustWindowRectEx(&frame, static_cast<DWORD>(::GetWindowLongPtrA(dialog_, GWL_STYLE)), FALSE,
                         static_cast<DWORD>(::GetWindowLongPtrA(dialog_, GWL_EXSTYLE)));
    RECT work{};
    ::SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    const int rest = Px(kWidth) - Px(kPaneWidth); // everything but the pane
    const int widest = std::min<int>(Px(kMaxPaneWidth),
                                     work.right - work.left - (frame.right - frame.left) - rest);
    const int pane = std::clamp(TreeWidth(), Px(kPaneWidth), std::max(Px(kPaneWidth), widest));
    const int width = rest + pane;
    const int frameWidth = width + frame.right - frame.left, frameHeight = frame.bottom - frame.top;
    ::SetWindowPos(dialog_, nullptr,
                   work.left + std::max(0L, (work.right - work.left - frameWidth) / 2),
                   work.top + std::max(0L, (work.bottom - work.top - frameHeight) / 2), frameWidth,
                   frameHeight, SWP_NOZORDER);
    ::SetWindowPos(tree_.get(), nullptr, m, treeTop, pane, buttonsTop - m - treeTop,
                   SWP_NOZORDER | SWP_NOACTIVATE);
    configCaption_ = Window(Adopt(dialog_, kIdConfigCaption, {m, m + Px(3), pane, Px(16)}));
    config_ = Window(Adopt(dialog_, kIdConfig, {m, m + Px(20), pane, Px(240)}));
    ::SetWindowSubclass(tree_.get(), &SheetWindow::TreeProc, 1, reinterpret_cast<DWORD_PTR>(this));

    const int right = m + pane + m;
    const int tabsWidth = width - right - m;
    const int previewTop = buttonsTop - m - Px(kPreviewHeight);
    const Rect tabsRect{right, m, tabsWidth, previewTop - m - m};
    // The page is a child dialog of the sheet over the tab control's body, on
    // top of its siblings so that it paints over the control (which clips
    // it out) and, with the template's order, follows the row of tabs in the
    // Tab order. Were it the tab control's child, the control would be a
    // container that Tab passes through without stopping at the row of tabs.
    tabs_ = Window(Adopt(dialog_, kIdTabs, tabsRect));
    RECT body{0, 0, tabsRect.w, tabsRect.h};
    // The row of tabs has its height only while it holds a tab.
    TCITEMA probe{};
    probe.mask = TCIF_TEXT;
    probe.pszText = const_cast<char*>("C/C++");
    ::SendMessageA(tabs_.get(), TCM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&probe));
    ::SendMessageA(tabs_.get(), TCM_ADJUSTRECT, FALSE, reinterpret_cast<LPARAM>(&body));
    ::SendMessageA(tabs_.get(), TCM_DELETEALLITEMS, 0, 0);
    page_ = ::CreateDialogParamA(ResourceModule(), MAKEINTRESOURCEA(kDialogPage), dialog_,
                                 &SheetWindow::PageProc, reinterpret_cast<LPARAM>(this));
    if (page_ == nullptr) throw std::runtime_error("the page could not be made");
    ::SetWindowLongPtrA(page_, GWLP_ID, kIdPage);
    // The page takes the tab body's background, as a property page does.
    ::EnableThemeDialogTexture(page_, ETDT_ENABLETAB);
    ::SetWindowPos(page_, HWND_TOP, tabsRect.x + body.left, tabsRect.y + body.top,
                   body.right - body.left, body.bottom - body.top, SWP_NOACTIVATE);
    const int pageWidth = body.right - body.left, pageHeight = body.bottom - body.top;
    categoryCaption_ = Window(Adopt(page_, kIdCategoryCaption, {m, m + Px(3), Px(70), Px(16)}));
    category_ = Window(Adopt(page_, kIdCategory, {m + Px(74), m, Px(260), Px(300)}));
    pageRect_ = {m, m + Px(34), pageWidth - 2 * m, pageHeight - m - Px(34) - m};

    preview_ =
        Window(Adopt(dialog_, kIdPreview, {right, previewTop, tabsWidth, Px(kPreviewHeight)}));
    ok_ = Window(Adopt(dialog_, kIdOk,
                       {width - m - 2 * Px(kButtonWidth) - Px(6), buttonsTop, Px(kButtonWidth),
                        Px(kButtonHeight)}));
    cancel_ = Window(
        Adopt(dialog_, kIdCancel,
              {width - m - Px(kButtonWidth), buttonsTop, Px(kButtonWidth), Px(kButtonHeight)}));
    tooltip_ =
        Window(::CreateWindowExA(WS_EX_TOPMOST, TOOLTIPS_CLASSA, nullptr, WS_POPUP | TTS_ALWAYSTIP,
                                 CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT,
                                 dialog_, nullptr, ::GetModuleHandleA(nullptr), nullptr));
    ::SendMessageA(tooltip_.get(), TTM_SETMAXTIPWIDTH, 0, Px(400));

    FillConfigurations();
}

int SheetWindow::TreeWidth() const {
    // The right end of the widest item's text, with its indent, in the
    // tree's client area; then the borders and a vertical scroll bar.
    int right = 0;
    for (HTREEITEM item : items_) {
        // The message takes the item in the rectangle's first bytes.
        RECT rect{};
        std::memcpy(&rect, &item, sizeof item);
        if (::SendMessageA(tree_.get(), TVM_GETITEMRECT, TRUE, reinterpret_cast<LPARAM>(&rect)))
            right = std::max<int>(right, rect.right);
    }
    return right + Px(4) + 2 * ::GetSystemMetrics(SM_CXEDGE) + ::GetSystemMetrics(SM_CXVSCROLL);
}

void SheetWindow::Destroy() {
    ClearPage();
    // Children go before the window that holds them and the font they use.
    categoryCaption_.Reset();
    category_.Reset();
    if (page_ != nullptr) ::DestroyWindow(page_);
    page_ = nullptr;
    for (Window* w :
         {&configCaption_, &config_, &tree_, &tabs_, &preview_, &ok_, &cancel_, &tooltip_})
        w->Reset();
    items_.clear();
    refs_.clear();
    font_.Reset();
}

void SheetWindow::FillConfigurations() {
    updating_ = true;
    configChoices_ = face_.ConfigurationChoices();
    ::SendMessageA(config_.get(), CB_RESETCONTENT, 0, 0);
    for (const std::string& choice : configChoices_)
        ::SendMessageA(config_.get(), CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(choice.c_str()));
    const std::string now = face_.ConfigurationText();
    auto at = std::find(configChoices_.begin(), configChoices_.end(), now);
    ::SendMessageA(config_.get(), CB_SETCURSEL,
                   at == configChoices_.end() ? -1 : at - configChoices_.begin(), 0);
    updating_ = false;
}

void SheetWindow::FillTree() {
    updating_ = true;
    ::SendMessageA(tree_.get(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
    items_.clear();
    refs_.clear();
    anchor_ = nullptr;
    AddTreeItems(tree_.get(), TVI_ROOT, face_.Tree(), sheet::NodeKind::AllProjects, face_, items_,
                 refs_);
    updating_ = false;
    MarkTree();
}

void SheetWindow::MarkTree() {
    // The tree view has no multi-selection of its own: every selected node
    // carries the selected state, set here from the sheet's selection.
    const std::vector<sheet::NodeRef> selection = face_.Selection();
    for (size_t i = 0; i < items_.size(); ++i) {
        bool selected = std::find(selection.begin(), selection.end(), refs_[i]) != selection.end();
        TVITEMA item{};
        item.mask = TVIF_STATE;
        item.hItem = items_[i];
        item.stateMask = TVIS_SELECTED;
        item.state = selected ? TVIS_SELECTED : 0;
        ::SendMessageA(tree_.get(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    }
    // The item just clicked was painted before its state changed.
    ::InvalidateRect(tree_.get(), nullptr, FALSE);
}

LRESULT SheetWindow::DrawTreeItem(const NMHDR& header) {
    // The selected state alone is not drawn while the tree lacks the focus,
    // and the selection is what the pages edit, so it is painted here in the
    // highlight colours whether or not the tree has the focus.
    auto& draw = reinterpret_cast<NMTVCUSTOMDRAW&>(const_cast<NMHDR&>(header));
    if (draw.nmcd.dwDrawStage == CDDS_PREPAINT) return CDRF_NOTIFYITEMDRAW;
    if (draw.nmcd.dwDrawStage != CDDS_ITEMPREPAINT) return CDRF_DODEFAULT;
    // MarkTree keeps the selected state in line with the sheet's selection.
    const auto item = static_cast<WPARAM>(draw.nmcd.dwItemSpec);
    if ((::SendMessageA(tree_.get(), TVM_GETITEMSTATE, item, TVIS_SELECTED) & TVIS_SELECTED) != 0) {
        draw.clrText = ::GetSysColor(COLOR_HIGHLIGHTTEXT);
        draw.clrTextBk = ::GetSysColor(COLOR_HIGHLIGHT);
    }
    return CDRF_DODEFAULT;
}

void SheetWindow::OnTreeClick(HTREEITEM item, bool ctrl, bool shift) {
    TVITEMA info{};
    info.mask = TVIF_PARAM;
    info.hItem = item;
    ::SendMessageA(tree_.get(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&info));
    const auto index = static_cast<size_t>(info.lParam);
    if (index >= refs_.size()) return;
    if (!CommitEdits()) return;
    CommandResult result;
    if (shift && anchor_ != nullptr) {
        // Every visible node from the anchor to the clicked one, in either order.
        std::vector<sheet::NodeRef> range;
        bool inside = false;
        for (HTREEITEM at = Next(tree_.get(), nullptr, TVGN_ROOT); at != nullptr;
             at = Next(tree_.get(), at, TVGN_NEXTVISIBLE)) {
            const bool end = at == anchor_ || at == item;
            if (end || inside) {
                auto pos = std::find(items_.begin(), items_.end(), at);
                if (pos != items_.end())
                    range.push_back(refs_[static_cast<size_t>(pos - items_.begin())]);
            }
            if (end && (inside || anchor_ == item)) break;
            if (end) inside = true;
        }
        result = face_.Select(range, ctrl);
    } else if (ctrl) {
        std::vector<sheet::NodeRef> selection = face_.Selection();
        auto it = std::find(selection.begin(), selection.end(), refs_[index]);
        if (it == selection.end()) {
            result = face_.Select({refs_[index]}, true);
        } else {
            selection.erase(it);
            result = face_.Select(selection, false);
        }
        anchor_ = item;
    } else {
        result = face_.Select({refs_[index]}, false);
        anchor_ = item;
    }
    updating_ = true;
    ::SendMessageA(tree_.get(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    updating_ = false;
    Report(result);
}

void SheetWindow::FillTabs() {
    std::vector<std::string> titles = face_.Tabs();
    updating_ = true;
    if (titles != shownTabs_) {
        ::SendMessageA(tabs_.get(), TCM_DELETEALLITEMS, 0, 0);
        for (size_t i = 0; i < titles.size(); ++i) {
            TCITEMA item{};
            item.mask = TCIF_TEXT;
            item.pszText = titles[i].data();
            ::SendMessageA(tabs_.get(), TCM_INSERTITEMA, i, reinterpret_cast<LPARAM>(&item));
        }
        shownTabs_ = std::move(titles);
    }
    ::SendMessageA(tabs_.get(), TCM_SETCURSEL, face_.ActiveTab(), 0);
    updating_ = false;
}

void SheetWindow::FillCategories() {
    std::vector<std::string> labels = face_.Categories();
    updating_ = true;
    if (labels != shownCategories_) {
        ::SendMessageA(category_.get(), CB_RESETCONTENT, 0, 0);
        for (const std::string& label : labels)
            ::SendMessageA(category_.get(), CB_ADDSTRING, 0,
                           reinterpret_cast<LPARAM>(label.c_str()));
        shownCategories_ = std::move(labels);
    }
    const int show = shownCategories_.empty() ? SW_HIDE : SW_SHOW;
    ::ShowWindow(categoryCaption_.get(), show);
    ::ShowWindow(category_.get(), show);
    ::SendMessageA(category_.get(), CB_SETCURSEL, face_.ActiveCategory(), 0);
    updating_ = false;
}

void SheetWindow::ClearPage() {
    for (PageControl& c : controls_) {
        for (Window* w : {&c.caption, &c.field, &c.addButton, &c.deleteButton}) {
            if (w->get() == nullptr || tooltip_.get() == nullptr) continue;
            TTTOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V2_SIZE;
            tool.hwnd = page_;
            tool.uId = reinterpret_cast<UINT_PTR>(w->get());
            ::SendMessageA(tooltip_.get(), TTM_DELTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
    }
    controls_.clear();
}

void SheetWindow::BuildPage() {
    ClearPage();
    const std::vector<sheet::ControlDef>& defs = face_.Controls();
    Rect area = pageRect_;
    const bool heading = !shownCategories_.empty();
    if (!heading) {
        // No selector on this tab: the page starts at the top.
        area.h += area.y - Px(kMargin);
        area.y = Px(kMargin);
    }
    // Captions measured in the font they show in.
    HDC dc = ::GetDC(page_);
    HGDIOBJ before = ::SelectObject(dc, font_.get());
    const auto width = [dc](const std::string& label) {
        const std::string shown = sheet::LabelWithoutMarks(label);
        SIZE size{};
        ::GetTextExtentPoint32A(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
        return static_cast<int>(size.cx);
    };
    const PageLayout layout =
        LayOutPage(defs, area, scale_, width, heading ? WindowText(categoryCaption_.get()) : "");
    ::SelectObject(dc, before);
    ::ReleaseDC(page_, dc);
    // Said on the page, for the automation tests: a page too dense to
    // show every label whole in its area.
    ::SetWindowLongPtrA(page_, GWLP_USERDATA, layout.textsFit ? 0 : 1);
    if (heading) {
        // The selector lines up with the page's captions and fields.
        const HeadingPlace place = PlaceHeading(layout, area, Px(kMargin), scale_);
        ::SetWindowPos(categoryCaption_.get(), nullptr, place.caption.x, place.caption.y,
                       place.caption.w, place.caption.h, SWP_NOZORDER | SWP_NOACTIVATE);
        ::SetWindowPos(category_.get(), nullptr, place.field.x, place.field.y, place.field.w,
                       Px(300), SWP_NOZORDER | SWP_NOACTIVATE);
    }
    for (const PlacedControl& place : layout.placed) {
        const sheet::ControlDef& def = defs[place.control];
        const int id = static_cast<int>(place.control);
        PageControl c;
        c.control = place.control;
        switch (def.kind) {
        case ControlKind::Check:
        case ControlKind::Check3:
            c.field =
                Window(Child(page_, "BUTTON", def.label,
                             (def.kind == ControlKind::Check ? BS_AUTOCHECKBOX : BS_AUTO3STATE) |
                                 WS_TABSTOP | (place.lines > 1 ? BS_MULTILINE : 0),
                             place.field, kIdControlBase + id));
            break;
        case ControlKind::Button:
            c.field = Window(Child(page_, "BUTTON", def.label, BS_PUSHBUTTON | WS_TABSTOP,
                                   place.field, kIdControlBase + id));
            break;
        case ControlKind::Label:
            c.field = Window(
                Child(page_, "STATIC", def.label, SS_LEFT, place.field, kIdControlBase + id));
            break;
        case ControlKind::Choice: {
            c.caption = Window(
                Child(page_, "STATIC", def.label, SS_LEFT, place.caption, kIdCaptionBase + id));
            Rect drop = place.field;
            drop.h = Px(200);
            c.field =
                Window(Child(page_, "COMBOBOX", "", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                             drop, kIdControlBase + id));
            for (size_t i = 0; i < def.values.size(); ++i)
                ::SendMessageA(
                    c.field.get(), CB_ADDSTRING, 0,
                    reinterpret_cast<LPARAM>(sheet::ChoiceText(def, def.values[i]).c_str()));
            break;
        }
        case ControlKind::Text:
        case ControlKind::Number:
            c.caption = Window(
                Child(page_, "STATIC", def.label, SS_LEFT, place.caption, kIdCaptionBase + id));
            c.field = Window(Child(page_, "EDIT", "",
                                   ES_AUTOHSCROLL | WS_TABSTOP |
                                       (def.kind == ControlKind::Number ? ES_NUMBER : 0),
                                   place.field, kIdControlBase + id, WS_EX_CLIENTEDGE));
            break;
        case ControlKind::List: {
            c.caption = Window(
                Child(page_, "STATIC", def.label, SS_LEFT, place.caption, kIdCaptionBase + id));
            c.field = Window(Child(page_, WC_LISTVIEWA, "",
                                   LVS_REPORT | LVS_NOCOLUMNHEADER | LVS_SINGLESEL |
                                       LVS_EDITLABELS | LVS_SHOWSELALWAYS | WS_TABSTOP,
                                   place.field, kIdControlBase + id, WS_EX_CLIENTEDGE));
            LVCOLUMNA column{};
            column.mask = LVCF_WIDTH;
            column.cx = place.field.w - Px(24);
            ::SendMessageA(c.field.get(), LVM_INSERTCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
            ::SendMessageA(c.field.get(), LVM_SETEXTENDEDLISTVIEWSTYLE, LVS_EX_FULLROWSELECT,
                           LVS_EX_FULLROWSELECT);
            c.addButton = Window(Child(page_, "BUTTON", "New", BS_PUSHBUTTON | WS_TABSTOP,
                                       place.addButton, kIdListAddBase + id));
            c.deleteButton = Window(Child(page_, "BUTTON", "Delete", BS_PUSHBUTTON | WS_TABSTOP,
                                          place.deleteButton, kIdListDeleteBase + id));
            break;
        }
        }
        // Each control's help, the flag it produces, as its tooltip.
        if (!def.help.empty() && c.field.get() != nullptr) {
            TTTOOLINFOA tool{};
            tool.cbSize = TTTOOLINFOA_V2_SIZE;
            tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
            tool.hwnd = page_;
            tool.uId = reinterpret_cast<UINT_PTR>(c.field.get());
            tool.lpszText = const_cast<char*>(def.help.c_str());
            ::SendMessageA(tooltip_.get(), TTM_ADDTOOLA, 0, reinterpret_cast<LPARAM>(&tool));
        }
        controls_.push_back(std::move(c));
    }
}

const SheetWindow::PageControl* SheetWindow::Find(size_t control) const {
    for (const PageControl& c : controls_)
        if (c.control == control) return &c;
    return nullptr;
}

void SheetWindow::LoadPage() {
    const std::vector<sheet::ControlDef>& defs = face_.Controls();
    const std::vector<sheet::ControlState>& states = face_.States();
    updating_ = true;
    for (const PageControl& c : controls_) {
        if (c.control >= defs.size() || c.control >= states.size()) continue;
        const sheet::ControlDef& def = defs[c.control];
        const sheet::ControlState& state = states[c.control];
        const std::string first = state.value.empty() ? std::string() : state.value.front();
        HWND field = c.field.get();
        switch (def.kind) {
        case ControlKind::Check:
        case ControlKind::Check3: {
            WPARAM check = first == "1" ? BST_CHECKED : BST_UNCHECKED;
            if (def.kind == ControlKind::Check3 && (state.mixed || first == "2"))
                check = BST_INDETERMINATE;
            ::SendMessageA(field, BM_SETCHECK, check, 0);
            break;
        }
        case ControlKind::Choice: {
            auto at = std::find(def.values.begin(), def.values.end(), first);
            ::SendMessageA(field, CB_SETCURSEL,
                           state.mixed || at == def.values.end() ? -1 : at - def.values.begin(), 0);
            break;
        }
        case ControlKind::Text:
        case ControlKind::Number:
            if (::GetFocus() != field || WindowText(field) != first)
                ::SetWindowTextA(field, state.mixed ? "" : first.c_str());
            break;
        case ControlKind::List: {
            ::SendMessageA(field, LVM_DELETEALLITEMS, 0, 0);
            for (size_t i = 0; i < state.value.size(); ++i) {
                LVITEMA item{};
                item.mask = LVIF_TEXT;
                item.iItem = static_cast<int>(i);
                item.pszText = const_cast<char*>(state.value[i].c_str());
                ::SendMessageA(field, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item));
            }
            break;
        }
        default:
            break;
        }
        for (const Window* w : {&c.caption, &c.field, &c.addButton, &c.deleteButton})
            if (w->get() != nullptr) ::EnableWindow(w->get(), state.enabled ? TRUE : FALSE);
    }
    updating_ = false;
}

void SheetWindow::Refresh() {
    FillConfigurations();
    FillTabs();
    FillCategories();
    const std::vector<sheet::ControlDef>& defs = face_.Controls();
    // A page is rebuilt only when another page shows; values are reloaded always.
    if (&defs != shownPage_ || defs.size() != shownCount_ || face_.ActiveTab() != shownTab_ ||
        face_.ActiveCategory() != shownCategory_) {
        BuildPage();
        shownPage_ = &defs;
        shownCount_ = defs.size();
        shownTab_ = face_.ActiveTab();
        shownCategory_ = face_.ActiveCategory();
    }
    ::SendMessageA(page_, kMsgLoad, 0, 0);
    const std::string preview = face_.Preview();
    ::SendMessageA(page_, kMsgShowCommandLine, 0, reinterpret_cast<LPARAM>(preview.c_str()));
    MarkTree();
}

void SheetWindow::Report(CommandResult result) {
    if (result != CommandResult::Done) ::MessageBeep(MB_ICONWARNING);
    Refresh();
}

bool SheetWindow::CommitEdits() {
    const std::vector<sheet::ControlDef>& defs = face_.Controls();
    const std::vector<sheet::ControlState>& states = face_.States();
    bool accepted = true;
    for (const PageControl& c : controls_) {
        if (c.control >= defs.size()) continue;
        const sheet::ControlDef& def = defs[c.control];
        if (def.kind != ControlKind::Text && def.kind != ControlKind::Number) continue;
        const sheet::ControlState& state = states[c.control];
        const std::string text = WindowText(c.field.get());
        const std::string now = state.value.empty() ? std::string() : state.value.front();
        if (text == now || (state.mixed && text.empty())) continue;
        if (face_.SetControl(c.control, {text}) != CommandResult::Done) accepted = false;
    }
    return accepted;
}

void SheetWindow::OnOk() {
    if (::SendMessageA(page_, kMsgValidateSave, 1, 0) == -1) {
        Refresh();
        return;
    }
    if (auto result = face_.Ok()) {
        result_ = *result;
        ::EndDialog(dialog_, *result);
        return;
    }
    Refresh(); // a page refused: the sheet stays open
}

void SheetWindow::OnCancel() {
    if (auto question = face_.CancelQuestion()) {
        if (::MessageBoxA(dialog_, question->text.c_str(), question->caption.c_str(),
                          MB_ICONWARNING | MB_YESNO) != IDYES)
            return;
    }
    result_ = -1;
    ::EndDialog(dialog_, -1);
}

void SheetWindow::OnSearch() {
    const std::optional<sheet::SearchHit> hit = SearchFor(dialog_, face_);
    if (!hit) return;
    CommandResult result = face_.ActivateTab(hit->control.tab);
    if (result == CommandResult::Done && !hit->control.categoryLabel.empty())
        result = face_.ShowCategory(hit->control.category);
    Report(result);
    if (result != CommandResult::Done) return;
    if (const PageControl* c = Find(hit->control.control)) ::SetFocus(c->field.get());
}

void SheetWindow::OnConfiguration() {
    const int at = static_cast<int>(::SendMessageA(config_.get(), CB_GETCURSEL, 0, 0));
    if (at < 0 || static_cast<size_t>(at) >= configChoices_.size()) return;
    const std::string choice = configChoices_[static_cast<size_t>(at)];
    std::vector<std::string> names{choice};
    if (static_cast<size_t>(at) + 1 == configChoices_.size()) {
        names =
            PickConfigurations(dialog_, face_.ConfigurationNames(), face_.ShownConfigurations());
        if (names.empty()) {
            Refresh();
            return;
        }
    }
    CommandResult result = face_.ShowConfigurations(names);
    FillTree();
    Report(result);
}

std::vector<std::string> SheetWindow::ListEntries(size_t control) const {
    const auto& states = face_.States();
    return control < states.size() ? states[control].value : std::vector<std::string>{};
}

void SheetWindow::SetList(size_t control, const std::vector<std::string>& entries) {
    // Called inside the list's own notifications: it is refilled afterwards.
    if (face_.SetControl(control, entries) != CommandResult::Done) ::MessageBeep(MB_ICONWARNING);
    ::PostMessageA(dialog_, kMsgRefresh, 0, 0);
}

void SheetWindow::OnCommand(int id, int code, HWND from) {
    if (updating_) return;
    if (id == kIdOk && code == BN_CLICKED) return OnOk();
    if (id == kIdCancel && code == BN_CLICKED) return OnCancel();
    if (id == kIdConfig && code == CBN_SELCHANGE) return OnConfiguration();
    if (id == kIdCategory && code == CBN_SELCHANGE) {
        if (!CommitEdits()) return Refresh();
        const auto at = ::SendMessageA(category_.get(), CB_GETCURSEL, 0, 0);
        if (at >= 0) Report(face_.ShowCategory(static_cast<size_t>(at)));
        return;
    }
    const std::vector<sheet::ControlDef>& defs = face_.Controls();
    if (id >= kIdControlBase && id < kIdControlBase + kIdRange) {
        const auto c = static_cast<size_t>(id - kIdControlBase);
        if (c >= defs.size()) return;
        const sheet::ControlDef& def = defs[c];
        if ((def.kind == ControlKind::Check || def.kind == ControlKind::Check3) &&
            code == BN_CLICKED) {
            const auto check = ::SendMessageA(from, BM_GETCHECK, 0, 0);
            const char* value = check == BST_CHECKED ? "1" : check == BST_INDETERMINATE ? "2" : "0";
            Report(face_.SetControl(c, {value}));
        } else if (def.kind == ControlKind::Button && code == BN_CLICKED) {
            Report(face_.Press(c));
        } else if (def.kind == ControlKind::Choice && code == CBN_SELCHANGE) {
            const auto at = ::SendMessageA(from, CB_GETCURSEL, 0, 0);
            if (at >= 0 && static_cast<size_t>(at) < def.values.size())
                Report(face_.SetControl(c, {def.values[static_cast<size_t>(at)]}));
        } else if ((def.kind == ControlKind::Text || def.kind == ControlKind::Number) &&
                   code == EN_KILLFOCUS) {
            CommitEdits();
            Refresh();
        }
        return;
    }
    if (code != BN_CLICKED) return;
    if (id >= kIdListAddBase && id < kIdListAddBase + kIdRange) {
        // A new empty row, edited in place; it joins the list when the edit ends.
        const auto c = static_cast<size_t>(id - kIdListAddBase);
        const PageControl* control = Find(c);
        if (control == nullptr) return;
        HWND list = control->field.get();
        LVITEMA item{};
        item.mask = LVIF_TEXT | LVIF_PARAM;
        item.iItem = static_cast<int>(::SendMessageA(list, LVM_GETITEMCOUNT, 0, 0));
        item.pszText = const_cast<char*>("");
        item.lParam = 1; // not yet an entry
        int at = static_cast<int>(
            ::SendMessageA(list, LVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&item)));
        ::SetFocus(list);
        ::SendMessageA(list, LVM_EDITLABELA, at, 0);
    } else if (id >= kIdListDeleteBase && id < kIdListDeleteBase + kIdRange) {
        const auto c = static_cast<size_t>(id - kIdListDeleteBase);
        const PageControl* control = Find(c);
        if (control == nullptr) return;
        const int at = static_cast<int>(::SendMessageA(control->field.get(), LVM_GETNEXTITEM,
                                                       static_cast<WPARAM>(-1), LVNI_SELECTED));
        std::vector<std::string> entries = ListEntries(c);
        if (at < 0 || static_cast<size_t>(at) >= entries.size()) return;
        entries.erase(entries.begin() + at);
        SetList(c, entries);
    }
}

LRESULT SheetWindow::OnNotify(const NMHDR& header) {
    if (updating_) return 0;
    const int id = static_cast<int>(header.idFrom);
    if (id == kIdTree && header.code == TVN_SELCHANGEDA) {
        // Moving with the keyboard selects the one node under the caret.
        const auto& change = reinterpret_cast<const NMTREEVIEWA&>(header);
        if (change.action == TVC_BYKEYBOARD && change.itemNew.hItem != nullptr)
            OnTreeClick(change.itemNew.hItem, false, false);
        else
            MarkTree();
        return 0;
    }
    if (id == kIdTree && header.code == NM_CUSTOMDRAW) return DrawTreeItem(header);
    if (id == kIdTabs && header.code == TCN_SELCHANGING) {
        // The page must accept its fields before another tab shows.
        return ::SendMessageA(page_, kMsgValidateSave, 0, 0) == -1 ? TRUE : FALSE;
    }
    if (id == kIdTabs && header.code == TCN_SELCHANGE) {
        const auto at = ::SendMessageA(tabs_.get(), TCM_GETCURSEL, 0, 0);
        if (at >= 0) Report(face_.ActivateTab(static_cast<size_t>(at)));
        return 0;
    }
    if (id >= kIdControlBase && id < kIdControlBase + kIdRange &&
        header.code == LVN_ENDLABELEDITA) {
        const auto c = static_cast<size_t>(id - kIdControlBase);
        const auto& edit = reinterpret_cast<const NMLVDISPINFOA&>(header);
        std::vector<std::string> entries = ListEntries(c);
        const auto row = static_cast<size_t>(edit.item.iItem);
        if (edit.item.pszText == nullptr ||
            (row >= entries.size() && edit.item.pszText[0] == '\0')) {
            ::PostMessageA(dialog_, kMsgRefresh, 0, 0); // cancelled, or a new row left empty
            return FALSE;
        }
        if (row < entries.size())
            entries[row] = edit.item.pszText;
        else
            entries.push_back(edit.item.pszText);
        SetList(c, entries);
        return FALSE; // the list is refilled from the sheet
    }
    return 0;
}

} // namespace quorle::wingui
