// Drives a shown options sheet from another thread by the window messages a
// user's mouse and keys would cause, for the automation tests. Declares no
// Windows type, so the tests need no Windows header.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace quorle::wingui::driver {

using Handle = void*;

// The top-level window of this process with that title, once it shows.
std::optional<Handle> WaitForWindow(const std::string& title, int milliseconds);
// True while a window of that title exists in this process.
bool WindowExists(const std::string& title);

// The texts of the tree's items, depth first.
std::vector<std::string> TreeItems(Handle sheet);
// Clicks the n-th item whose text starts with `label`, with Ctrl and/or Shift held.
bool ClickTreeItem(Handle sheet, const std::string& label, int occurrence, bool ctrl, bool shift);
// Items in the selected state.
std::vector<std::string> SelectedTreeItems(Handle sheet);
// Items whose text shows on the highlight colour on the screen.
std::vector<std::string> HighlightedTreeItems(Handle sheet);

bool ChooseConfiguration(Handle sheet, const std::string& text);
// "Multiple Configurations...": in the dialog it opens, selects exactly
// `names` and presses OK, or Cancel when `ok` is false. False when the
// dialog did not show, lacks a name, or stayed open.
bool ChooseMultipleConfigurations(Handle sheet, const std::vector<std::string>& names, bool ok);
std::string ConfigurationText(Handle sheet);

std::vector<std::string> Tabs(Handle sheet);
// The number of tabs; unlike the titles, it can be read from a sheet in
// another process.
int TabCount(Handle sheet);
// A key typed in the tree or the row of tabs (posted, so that a sheet in
// another process takes it too).
enum class Pane { Tree, Tabs };
void PressKeyIn(Handle sheet, Pane pane, int virtualKey);
int ActiveTab(Handle sheet);
bool ClickTab(Handle sheet, const std::string& title);

std::vector<std::string> Categories(Handle sheet);
bool ChooseCategory(Handle sheet, const std::string& label);

// Page controls are found by their text ("&" removed): a check box or
// button by its own text, a field by the caption before it.
std::optional<int> CheckState(Handle sheet, const std::string& text); // 0, 1, 2 (mixed)
bool Click(Handle sheet, const std::string& text);
bool ChooseInCombo(Handle sheet, const std::string& caption, const std::string& item);
std::optional<std::string> FieldText(Handle sheet, const std::string& caption);
// Types into a field and moves the focus on, as leaving the field does.
bool TypeInto(Handle sheet, const std::string& caption, const std::string& text);
std::vector<std::string> ListItems(Handle sheet, const std::string& caption);
// "New" beside the list, the entry typed in place, Enter (posted: the list
// shows the entry once the sheet took it).
bool AddListEntry(Handle sheet, const std::string& caption, const std::string& entry);
bool IsEnabled(Handle sheet, const std::string& text);
std::vector<std::string> PageTexts(Handle sheet);

std::string Preview(Handle sheet);
// The controls Tab visits, from the configuration combo round to it again,
// by the dialog manager's own order: "configuration", "tree", "tabs",
// "category", "OK", "Cancel", or a page control's text or caption.
std::vector<std::string> TabStops(Handle sheet);
// The tooltip text of the control with that text or caption.
std::optional<std::string> Tooltip(Handle sheet, const std::string& text);

// Where a page control and the caption before it show, in screen pixels;
// "Category" is the selector above the page. No caption: all zero.
struct Edges {
    int left = 0, top = 0, right = 0, bottom = 0;
};
struct Placement {
    Edges caption;
    Edges field;
};
std::optional<Placement> PlacementOf(Handle sheet, const std::string& text);
// The visible texts of the page (captions, labels, check boxes' labels on
// as many lines as the box is high) wider, in their font, than the control
// that shows them.
std::vector<std::string> CutCaptions(Handle sheet);
// True when the sheet says the shown page is too dense for every label to
// show whole.
bool PageCutsLabels(Handle sheet);
// Tree items whose text ends beyond the tree's right edge; with
// `scrolling`, beyond where the horizontal scroll bar can bring it.
std::vector<std::string> CutTreeItems(Handle sheet, bool scrolling);

// Placement of every page control and of the page, in screen pixels:
// true when each lies wholly on the page.
bool ControlsInsidePage(Handle sheet, std::string& offender);

// The version of the common controls that runs each of the sheet's own
// controls and of the shown page's controls, by window class: 6 is the
// themed library of the side-by-side assembly, 5 the classic comctl32, 0 a
// class of user32.
std::vector<std::pair<std::string, int>> ControlsVersions(Handle sheet);
// The same for a button this thread makes, under the process's own context.
int ButtonVersionOutsideTheSheet();

// OK and Cancel are posted: the sheet may answer with a message box.
void PressOk(Handle sheet);
void PressCancel(Handle sheet);
// The close box in the title bar.
void PressCloseBox(Handle sheet);
// Enter and Escape as keys reach the focused control first.
void PressKey(Handle sheet, int virtualKey);

// A message box of this process, its text, and the button pressed to close it.
struct Box {
    std::string caption;
    std::string text;
};
std::optional<Box> WaitForMessageBox(int milliseconds);
// Answers the box shown (Yes or No, else OK) and waits until it is gone.
void CloseMessageBox(bool yes);

// The search, opened as Ctrl+F opens it, with `text` typed: the hits it
// lists and what it says. Nothing when the dialog did not show.
struct SearchShown {
    std::vector<std::string> hits;
    std::string status;
};
std::optional<SearchShown> Search(Handle sheet, const std::string& text);
// In the search shown: picks the n-th hit and presses OK, or Cancel when
// `ok` is false. False when no search shows or it stayed open.
bool EndSearch(Handle sheet, size_t hit, bool ok);

// Windows and GDI objects the view library holds now, and the windows of the
// calling process's threads.
struct Counts {
    long viewWindows = -1;
    long viewGdiObjects = -1;
    long threadWindows = 0;
};
Counts LiveCounts(const std::string& viewLibraryPath);

// The directory of the running program, with its trailing separator.
std::string ExecutableDirectory();

} // namespace quorle::wingui::driver
