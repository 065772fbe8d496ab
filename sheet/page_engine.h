// The generic page engine: a page made only of data. Loading fills each
// control from the selected models (the mixed state where they differ);
// saving checks the number fields and writes the controls the user changed
// into every selected model they apply to.
#pragma once

#include <string>
#include <vector>

#include "sheet/page.h"

namespace quorle::sheet {

// The button every editable page has.
inline constexpr const char* kRestoreDefaults = "Restore defaults";

struct PageData {
    std::string label;     // category label or tab title
    std::string className; // e.g. "CPageCppOptimize"
    std::vector<ControlDef> controls;
    std::string parent = {}; // a sub-page names the category page it belongs to
};

class CControlPage : public CPage {
  public:
    explicit CControlPage(PageData data);

    std::string Label() const override { return data_.label; }
    std::string ClassName() const override { return data_.className; }
    void Load(const PageContext& context) override;
    bool SaveAndValidate(SaveKind kind) override;
    const std::vector<ControlDef>& Controls() const override { return data_.controls; }
    const std::vector<ControlState>& States() const override { return states_; }
    SetOutcome Set(size_t control, const Value& value) override;

    // List editing (the buttons of a list control): each entry is checked
    // first; a refused entry shows its message and changes nothing.
    SetOutcome ListAdd(size_t control, const std::string& entry);
    SetOutcome ListModify(size_t control, size_t position, const std::string& entry);
    SetOutcome ListRemove(size_t control, size_t position);
    // Up and Down: the entry at `from` moves to `to` (both from 0).
    SetOutcome ListMove(size_t control, size_t from, size_t to);
    // A button of the page; "Restore defaults" is the one every page has.
    virtual SetOutcome Press(size_t control);
    // Every control of the page back to the default of each selected model.
    void RestoreDefaults();

  protected:
    // The selected models a control applies to.
    std::vector<models::ModelBase*> ModelsOf(const ControlDef& control) const;
    const PageContext& Context() const { return context_; }
    std::vector<ControlState>& MutableStates() { return states_; }
    void UpdateEnabled();

  private:
    bool RuleHolds(const EnableRule& rule) const;
    // The message for a number field's text, or "" when it is acceptable.
    std::string NumberMessage(size_t control) const;
    SetOutcome CheckEntries(const ControlDef& control, const Value& entries);

    PageData data_;
    std::vector<ControlState> states_;
    PageContext context_;
};

} // namespace quorle::sheet
