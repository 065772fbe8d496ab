// The "CPU" tab: the CPU type and every control its rules govern, over the
// selected compiler, assembler, linker and library generator models. The
// rules themselves are the models' (models/cpu_tab_rules.h); this page holds
// the controls a view shows and applies the tab only when the user changed it.
#pragma once

#include "models/cpu_tab_rules.h"
#include "sheet/page.h"

namespace quorle::sheet {

class CPageCpu : public CPage {
  public:
    // Control positions.
    enum : size_t {
        kCpuType = 0,
        kByteOrder = 1,
        kFirstFlag = 2, // eight family options
        kIntRegisters = kFirstFlag + toolchain::kFamilyFlagCount,
        kMaxConstant,
        kSmallDataBox,
        kSmallDataLimit,
        kControlCount
    };

    CPageCpu();
    std::string Label() const override { return "CPU"; }
    std::string ClassName() const override { return "CTabCpu"; }
    void Load(const PageContext& context) override;
    bool SaveAndValidate(SaveKind kind) override;
    const std::vector<ControlDef>& Controls() const override { return controls_; }
    const std::vector<ControlState>& States() const override { return states_; }
    SetOutcome Set(size_t control, const Value& value) override;

  private:
    models::CpuTabModels SelectedModels() const;
    std::vector<int> SelectionRows() const;
    void BuildControls();
    void Refresh(); // states_ from the tab state

    PageContext context_;
    int family_ = toolchain::kCodeNone;
    models::CpuTabState state_;
    models::CpuTabEnabled enabled_;
    bool touched_ = false;
    std::vector<ControlDef> controls_;
    std::vector<ControlState> states_;
};

} // namespace quorle::sheet
