// The sheet as a view sees it: what to show and the commands, by index where
// the view works with positions, and every rule the views share.
#pragma once

#include "sheet/sheet_view.h"

namespace quorle::sheet {

class CSheetFaceOver : public CSheetFace {
  public:
    explicit CSheetFaceOver(CSheetBase& sheet) : sheet_(sheet) {}

    std::string Title() const override { return sheet_.Title(); }
    std::vector<std::string> ConfigurationChoices() const override;
    std::vector<std::string> ConfigurationNames() const override;
    std::vector<std::string> ShownConfigurations() const override;
    TreeNode Tree() const override { return sheet_.Tree().Build(); }
    std::string PhaseName(size_t record) const override;
    std::vector<NodeRef> Selection() const override { return sheet_.Manager().nodes; }
    std::vector<std::string> Tabs() const override { return sheet_.ShownTabTitles(); }
    int ActiveTab() const override { return sheet_.Manager().activeTab; }
    std::vector<std::string> Categories() const override;
    int ActiveCategory() const override;
    const std::vector<ControlDef>& Controls() const override;
    const std::vector<ControlState>& States() const override;
    std::string Preview() const override;
    std::vector<FaceControl> AllControls() const override;
    ControlValues ValuesOf(size_t control) const override;
    bool Changed() const override { return changed_; }
    std::string ConfigurationText() const override;
    std::string PhaseShownBeside(const TreeNode& node, NodeKind parent) const override;
    FaceQuestion SearchQuestion() const override;
    std::vector<SearchHit> Search(const std::string& typed) const override;
    std::string NothingFound(const std::string& typed) const override;
    std::optional<FaceQuestion> CancelQuestion() const override;

    CommandResult Select(const std::vector<NodeRef>& nodes, bool add) override {
        return sheet_.Select(nodes, add);
    }
    CommandResult ShowConfigurations(const std::vector<std::string>& names) override {
        return sheet_.ShowConfigurations(names);
    }
    CommandResult ActivateTab(size_t index) override;
    CommandResult ShowCategory(size_t index) override;
    CommandResult SetControl(size_t control, const Value& value) override;
    CommandResult Press(size_t control) override;
    CommandResult SectionCommand(const std::vector<std::string>& fields) override;
    std::optional<int> Ok() override { return sheet_.Ok(); }

  private:
    CSheetBase& sheet_;
    bool changed_ = false;
};

} // namespace quorle::sheet
