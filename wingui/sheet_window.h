// The options sheet as a modal Win32 dialog: a selection pane (configuration
// combo over a tree with Ctrl and Shift multi-selection), the tabs of the
// current mask with their "Category" selector and page, the command-line
// preview under the tabs, OK and Cancel. Every value and decision comes from
// the sheet through `CSheetFace`; the window keeps only handles.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sheet/sheet_view.h"
#include "wingui/handles.h"
#include "wingui/page_layout.h"

namespace quorle::wingui {

class SheetWindow {
  public:
    explicit SheetWindow(sheet::CSheetFace& face) : face_(face) {}
    SheetWindow(const SheetWindow&) = delete;
    SheetWindow& operator=(const SheetWindow&) = delete;

    // Runs the dialog: 0 OK, -1 Cancel, 1 a failed write-back or a fault.
    int Run();
    // The window message boxes belong to while the sheet is up.
    HWND Handle() const { return dialog_; }

  private:
    struct PageControl {
        size_t control = 0;
        Window caption;
        Window field;
        Window addButton;
        Window deleteButton;
    };

    static INT_PTR CALLBACK DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    static INT_PTR CALLBACK PageProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Ctrl+F in the sheet's modal loop opens the search.
    static LRESULT CALLBACK KeyFilter(int code, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK TreeProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR id, DWORD_PTR data);

    INT_PTR OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR OnPageMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Create();
    void Destroy();
    HWND Child(HWND parent, const char* windowClass, const std::string& text, DWORD style,
               const Rect& rect, int id, DWORD exStyle = 0);
    // A control of a template, placed at `rect` and given the sheet's font.
    HWND Adopt(HWND parent, int id, const Rect& rect);
    int Px(int pixels) const;
    // The pane width that shows every item of the filled tree whole.
    int TreeWidth() const;

    // Rereads the sheet after a command and brings every window in line.
    void Refresh();
    void FillTree();
    void MarkTree();
    void FillTabs();
    void FillCategories();
    void BuildPage();
    void ClearPage();
    void LoadPage();
    void ShowCommandLine(const std::string& text);
    void FillConfigurations();

    // What the user did.
    void OnTreeClick(HTREEITEM item, bool ctrl, bool shift);
    void OnConfiguration();
    void OnCommand(int id, int code, HWND from);
    LRESULT OnNotify(const NMHDR& header);
    LRESULT DrawTreeItem(const NMHDR& header);
    bool CommitEdits(); // false when a field's text was refused
    void Report(sheet::CommandResult result);
    void OnOk();
    void OnCancel();
    void OnSearch();
    void SetList(size_t control, const std::vector<std::string>& entries);
    std::vector<std::string> ListEntries(size_t control) const;
    const PageControl* Find(size_t control) const;

    sheet::CSheetFace& face_;
    HWND dialog_ = nullptr;
    HWND page_ = nullptr; // child dialog; destroyed with the sheet
    double scale_ = 1.0;
    GdiObject font_;
    Window configCaption_, config_, tree_, tabs_, preview_, ok_, cancel_, tooltip_;
    Window categoryCaption_, category_;
    std::vector<PageControl> controls_;
    Rect pageRect_;

    // Tree items and the nodes they stand for (the item's lParam indexes both).
    std::vector<HTREEITEM> items_;
    std::vector<sheet::NodeRef> refs_;
    HTREEITEM anchor_ = nullptr;
    // What the shown windows were built from.
    std::vector<std::string> shownTabs_, shownCategories_, configChoices_;
    const void* shownPage_ = nullptr;
    int shownTab_ = -2, shownCategory_ = -2;
    size_t shownCount_ = 0;
    bool updating_ = false; // notifications caused by the view itself are ignored
    int result_ = -1;
};

// Asks which configurations to show: the dialog "Select project
// configurations to modify". Empty when cancelled.
std::vector<std::string> PickConfigurations(HWND owner, const std::vector<std::string>& all,
                                            const std::vector<std::string>& shown);

// The search: the control picked from what the sheet found; nothing when
// cancelled.
std::optional<sheet::SearchHit> SearchFor(HWND owner, const sheet::CSheetFace& face);

// A window's text.
std::string WindowText(HWND window);

} // namespace quorle::wingui
