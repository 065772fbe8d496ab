// The page protocol. The sheet talks to the active page with three
// messages, numbered from the private message base as a window face sends
// them: load, validate-and-save and show command line. A page reaches the
// sheet's data only through what the load message gives it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sheet/control.h"
#include "sheet/messages.h"
#include "sheet/option_set.h"

struct QuorleProjectInfo;

namespace quorle::sheet {

enum PageMessage : unsigned {
    kPageLoad = 10,           // the selection's models and the shared state
    kPageSave = 11,           // validate and write; the argument says whether final
    kPageShowCommandLine = 19 // the preview text under the tabs
};

// What the sheet owns besides the models and lends to pages.
struct SharedState {
    unsigned settings = 0;                   // workspace toolchain settings value
    int familyCode = 0;                      // of the project information record
    const QuorleProjectInfo* info = nullptr; // placeholder values and export target
};

struct PageContext {
    std::vector<COptionSet*> sets; // the selected sets, every phase
    SharedState* shared = nullptr;
    CMessageSink* messages = nullptr;
};

// Why the sheet asks a page to save: the user leaves the page (a selection,
// tab or category change), closes with OK, or the preview needs the models
// current. Leaving and OK validate and may refuse with a message; the
// preview writes what is valid, shows nothing and never refuses.
enum class SaveKind { Leave, Final, Preview };

enum class SetOutcome {
    Done,
    Disabled, // the control cannot be used now
    BadValue, // not a value the control can hold
    Refused,  // the page showed a message and kept its old value
};

class CPage {
  public:
    virtual ~CPage() = default;

    // Category label (tool tabs) or tab title.
    virtual std::string Label() const = 0;
    // The page's class name, as the trace texts give it.
    virtual std::string ClassName() const = 0;

    // kPageLoad.
    virtual void Load(const PageContext& context) = 0;
    // kPageSave: false when the page refuses (it has shown its message).
    virtual bool SaveAndValidate(SaveKind kind) = 0;
    // kPageShowCommandLine.
    void ShowCommandLine(const std::string& text) { commandLine_ = text; }
    const std::string& CommandLine() const { return commandLine_; }

    virtual const std::vector<ControlDef>& Controls() const = 0;
    virtual const std::vector<ControlState>& States() const = 0;
    // A user change of one control.
    virtual SetOutcome Set(size_t control, const Value& value) = 0;

    // The control bound to option key `name`, else the visible control whose
    // plain label is `name`.
    std::optional<size_t> FindControl(const std::string& name) const;
    // The control that writes key `key` among its tokens, though it is
    // keyed otherwise (the debug level control writes DEBUG too).
    std::optional<size_t> FindControlWriting(const std::string& key) const;

  private:
    std::string commandLine_;
};

} // namespace quorle::sheet
