// The meeting point of the sheet and a view (the terminal's or the window's)
// that lives in a library of its own. The view sees the sheet only through
// `CSheetFace` (virtual calls, so nothing of the plug-in's hidden symbols is
// needed) and answers message boxes through `CSheetView::Show`.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "sheet/control.h"
#include "sheet/sheet.h"
#include "sheet/tree.h"

namespace quorle::sheet {

// One control of some page of the shown tabs, for the search.
struct FaceControl {
    size_t tab = 0;      // index into Tabs()
    size_t category = 0; // page of that tab
    size_t control = 0;  // index into that page's controls
    std::string tabTitle;
    std::string categoryLabel;
    std::string label; // plain label
    std::string key;
    std::string help;
    std::vector<std::string> valueLabels; // a choice's words as shown, with their flags
};

// A control the search found, with the line a view lists it by.
struct SearchHit {
    FaceControl control;
    std::string text; // "Tab / Category / Label  (help)"
};

// A question a view puts to the user before it goes on: caption and text.
struct FaceQuestion {
    std::string caption;
    std::string text;
};

// What a control of the active page holds: the default a new model has,
// and the values of the selection in each configuration shown (one value
// each where the selected files agree).
struct ControlValues {
    std::optional<Value> defaultValue;
    std::vector<std::pair<std::string, std::vector<Value>>> configurations;
};

class CSheetFace {
  public:
    virtual ~CSheetFace() = default;

    virtual std::string Title() const = 0;
    // The combo: its choices and the text it shows now. The last choice
    // opens the pick of several configurations.
    virtual std::vector<std::string> ConfigurationChoices() const = 0;
    virtual std::vector<std::string> ConfigurationNames() const = 0;
    virtual std::vector<std::string> ShownConfigurations() const = 0;
    virtual TreeNode Tree() const = 0;
    // The phase name of a phase record (a tree node's `record`).
    virtual std::string PhaseName(size_t record) const = 0;
    virtual std::vector<NodeRef> Selection() const = 0;
    virtual std::vector<std::string> Tabs() const = 0;
    virtual int ActiveTab() const = 0; // -1 while the blank page shows
    // Category labels of the active tab; empty for a tab without them.
    virtual std::vector<std::string> Categories() const = 0;
    virtual int ActiveCategory() const = 0;
    virtual const std::vector<ControlDef>& Controls() const = 0;
    virtual const std::vector<ControlState>& States() const = 0;
    virtual std::string Preview() const = 0;
    virtual std::vector<FaceControl> AllControls() const = 0;
    virtual ControlValues ValuesOf(size_t control) const = 0;
    // True once the user changed a value since the sheet opened.
    virtual bool Changed() const = 0;

    // ---- what every view shows alike
    // The combo's text: the configuration shown, "All Configurations", or
    // "Multiple Configurations..." for any other set of them.
    virtual std::string ConfigurationText() const = 0;
    // The phase a tree node's text names after its label, or "" for none.
    // `parent` is the kind of the node it hangs under.
    virtual std::string PhaseShownBeside(const TreeNode& node, NodeKind parent) const = 0;
    // The search's caption and prompt.
    virtual FaceQuestion SearchQuestion() const = 0;
    // The controls of the shown tabs that the typed text finds, in page order.
    virtual std::vector<SearchHit> Search(const std::string& typed) const = 0;
    // What a view says when the search finds nothing.
    virtual std::string NothingFound(const std::string& typed) const = 0;
    // What Cancel asks before it closes the sheet; nothing when there is
    // nothing to lose.
    virtual std::optional<FaceQuestion> CancelQuestion() const = 0;

    virtual CommandResult Select(const std::vector<NodeRef>& nodes, bool add) = 0;
    virtual CommandResult ShowConfigurations(const std::vector<std::string>& names) = 0;
    virtual CommandResult ActivateTab(size_t index) = 0;
    virtual CommandResult ShowCategory(size_t index) = 0;
    virtual CommandResult SetControl(size_t control, const Value& value) = 0;
    // A push button of the active page.
    virtual CommandResult Press(size_t control) = 0;
    // An edit of the section layout, in the words of the script's "section"
    // line (for example {"region", "add", "ram", "0x0", "0xFFFF"}).
    virtual CommandResult SectionCommand(const std::vector<std::string>& fields) = 0;
    // 0 closed, 1 write-back failed, nothing when a page refused.
    virtual std::optional<int> Ok() = 0;
};

class CSheetView {
  public:
    virtual ~CSheetView() = default;
    // A message box as the view's own dialog.
    virtual platform::MessageAnswer Show(const std::string& caption, const std::string& text,
                                         platform::MessageButtons buttons) = 0;
    // Runs the sheet until OK (0), Cancel (-1) or a failed write-back (1).
    virtual int Run(CSheetFace& face) = 0;
};

// The one symbol a view library exports: creates the view (delete it
// through its virtual destructor). The name is the one both libraries have
// always exported.
inline constexpr const char* kSheetViewEntry = "QuorleCreateTerminalView";
using CreateSheetViewFn = CSheetView* (*)();
// The view library's file name, beside the plug-in: the terminal view on
// POSIX, the window view on Windows (same entry, same interface).
#if defined(_WIN32)
inline constexpr const char* kSheetViewLibrary = "quorle-sheet-win.dll";
#else
inline constexpr const char* kSheetViewLibrary = "libquorle-sheet-tui.so";
#endif

} // namespace quorle::sheet
