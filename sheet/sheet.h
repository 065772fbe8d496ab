// The options sheet (`CSheetBase`) without any window: option sets, tree,
// manager, tabs with their pages, preview, OK and Cancel. A face (the
// scripted driver, a window, a terminal) drives it through these commands
// and shows what it exposes.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/records.h"
#include "sheet/host_records.h"
#include "sheet/messages.h"
#include "sheet/option_sets.h"
#include "sheet/page.h"
#include "sheet/sheet_manager.h"
#include "sheet/tree.h"

namespace quorle::sheet {

// What a face hears about while the sheet runs.
class CSheetObserver {
  public:
    virtual ~CSheetObserver() = default;
    virtual void OnTabsChanged(const std::vector<std::string>& /*titles*/) {}
    virtual void OnCategoryShown(const std::string& /*label*/) {}
    virtual void OnPreview(const std::string& /*text*/) {}
};

// A tab and its pages: one page, or the category pages of a tool tab.
struct CTab {
    TabBit bit;
    std::vector<std::unique_ptr<CPage>> pages;
    size_t activePage = 0;
    bool HasCategories() const { return ToolTabPhase(bit) >= 0; }
};

enum class CommandResult { Done, Refused, Unknown, Disabled, BadValue };

// The sheet title: string 50-53 for the four toolchain names (compared
// without regard to case), 54 otherwise.
std::string SheetTitle(const char* toolchainName);

class CSheetBase {
  public:
    // `info` is the host's project information record (its size checked by
    // the caller); it must outlive the sheet.
    CSheetBase(HostRecords records, const QuorleProjectInfo& info, CMessageSink& messages,
               CSheetObserver* observer = nullptr);
    ~CSheetBase();

    const std::string& Title() const { return m_strTitle; }
    void SetPhaseEnabled(int phase, bool enabled);
    bool PhaseEnabled(int phase) const;
    // How a view shows raw text (placeholders and all) for a phase whose
    // enable flag is set; the sibling library's conversion.
    void SetCooker(std::function<std::string(const std::string&)> cook) {
        m_fnCook = std::move(cook);
    }
    // The active tool tab's preview as a view shows it: cooked when the
    // tab's phase is enabled and a conversion is given, raw otherwise.
    std::string DisplayedCommandLine();

    // ---- what a view shows
    const HostRecords& Records() const { return m_records; }
    const COptionSets& Sets() const { return *m_pSets; }
    CSheetTree& Tree() { return *m_pTree; }
    const CSheetManager& Manager() const { return *m_pManager; }
    // The selected sets (`m_mapSelectOption`), in selection order.
    std::vector<COptionSet*> SelectedSets() const;
    std::vector<std::string> ShownTabTitles() const;
    // The active tab, or null while the blank page shows.
    CTab* ActiveTab();
    // A shown tab by its place in ShownTabTitles(); null past the end.
    CTab* ShownTab(size_t index);
    CPage* ActivePage();
    unsigned Settings() const { return m_shared.settings; }
    std::string Dump() const;

    // ---- commands
    // Replaces (or, with `add`, extends) the selection. Refused when the
    // active page refuses to save.
    CommandResult Select(const std::vector<NodeRef>& nodes, bool add);
    // The combo: one configuration, "All Configurations", or several.
    CommandResult ShowConfigurations(const std::vector<std::string>& names);
    CommandResult ActivateTab(const std::string& title);
    CommandResult ShowCategory(const std::string& label);
    // Shows the page of the active tab that holds the control and sets it.
    CommandResult SetControl(const std::string& keyOrLabel, const Value& value);
    // A list editor on the active tab: `op` "add" (each argument an entry),
    // "remove" (an entry), "modify" (an entry and its new text) or "move" (an
    // entry and its new position, from 1).
    CommandResult EditList(const std::string& keyOrLabel, const std::string& op,
                           const std::vector<std::string>& args);
    // A button on the active tab ("Restore defaults" of the page shown).
    CommandResult Press(const std::string& label);
    // A section editor command ("group", "label", "section", "item",
    // "advanced", "export", "region", "start" and their fields) on the
    // section page of the Link/Library tab that handles it.
    CommandResult SectionCommand(const std::vector<std::string>& fields);
    // OK: 0 closed (written back, or not when 1527 was not answered Yes),
    // 1 when the host's arrays could not be allocated, nothing when a page
    // refused and the sheet stays open.
    std::optional<int> Ok();
    // What the last OK handed back changed, one line per option of each
    // leaf; empty when nothing was written.
    const std::vector<std::string>& Changes() const { return m_astrChanges; }
    // Cancel: -1; nothing of the host's is touched.
    int Cancel() { return -1; }

  private:
    void OnInitDialog();
    bool SaveActive(SaveKind kind);
    void ChangeTab(unsigned mask);
    void LoadActive();
    void SendMixCommandLineOption();
    PageContext Context();
    std::vector<CLeaf*> ResolveNodes(const std::vector<NodeRef>& nodes);
    // Shows the page of the active tab that holds the control; its index.
    CommandResult ShowControl(const std::string& keyOrLabel, size_t& control);
    // Before a change: leaves outside the selection that share a set with
    // it move to a copy of that set, so the change reaches the selection only.
    void Isolate();
    // The result of a page change, with the preview refreshed after it.
    CommandResult AfterChange(SetOutcome outcome);

    HostRecords m_records;
    const QuorleProjectInfo& m_info;
    CMessageSink& m_messages;
    CSheetObserver* m_pObserver;
    std::string m_strTitle;
    SharedState m_shared;
    std::array<bool, 7> m_abPhaseEnabled{};
    std::function<std::string(const std::string&)> m_fnCook;
    std::unique_ptr<COptionSets> m_pSets;
    std::unique_ptr<CSheetTree> m_pTree;
    std::unique_ptr<CSheetManager> m_pManager;
    std::unique_ptr<CPage> m_pBlank;
    std::vector<CTab> m_aTabs; // one per tab bit, in bit order
    std::vector<std::string> m_astrChanges;
};

} // namespace quorle::sheet
