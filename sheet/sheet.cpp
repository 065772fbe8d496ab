#include "sheet/sheet.h"

#include <algorithm>
#include <unordered_map>
#include <unordered_set>

#include "resources/sheet_strings.h"
#include "sheet/change_list.h"
#include "sheet/page_cpu.h"
#include "sheet/pages/pages.h"
#include "sheet/preview.h"
#include "sheet/section_pages.h"
#include "sheet/tool_pages.h"
#include "sheet/write_back.h"
#include "toolchain/family.h"

namespace quorle::sheet {
namespace {

std::string TextOf(const char* text) {
    return text == nullptr ? std::string() : std::string(text);
}

std::unique_ptr<CPage> PageOf(PageData data) {
    return std::make_unique<CControlPage>(std::move(data));
}

CTab MakeTab(TabBit bit) {
    CTab tab{bit, {}, 0};
    switch (bit) {
    case e_ShowCpp:
    case e_ShowAsm:
    case e_ShowLnk:
    case e_ShowLbg:
        tab.pages = ToolTabPages(ToolTabPhase(bit));
        break;
    case e_ShowCpu:
        tab.pages.push_back(std::make_unique<CPageCpu>());
        break;
    case e_ShowDebugger:
        tab.pages.push_back(PageOf(SimulatorPage()));
        break;
    case e_ShowOption:
        tab.pages.push_back(PageOf(ToolOptionPage()));
        break;
    case e_ShowWarning:
        tab.pages.push_back(PageOf(WarningPage()));
        break;
    }
    return tab;
}

} // namespace

std::string SheetTitle(const char* toolchainName) {
    return SheetString(toolchain::CaptionStringId(TextOf(toolchainName)));
}

CSheetBase::CSheetBase(HostRecords records, const QuorleProjectInfo& info, CMessageSink& messages,
                       CSheetObserver* observer)
    : m_records(std::move(records)), m_info(info), m_messages(messages), m_pObserver(observer),
      m_pManager(std::make_unique<CSheetManager>()) {
    OnInitDialog();
}

CSheetBase::~CSheetBase() = default;

void CSheetBase::OnInitDialog() {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::OnInitDialog()");
    m_strTitle = SheetTitle(m_info.toolchainName);
    m_shared.familyCode = toolchain::FamilyCodeOf(toolchain::EffectiveToolchainName(m_info));
    m_shared.settings = toolchain::ReadToolchainSettings(m_info);
    m_shared.info = &m_info;
    // The blank page first, so that the sheet always has a page.
    m_pBlank = PageOf(PageData{"", "CTabBlank", {}});
    for (TabBit bit : TabOrder()) m_aTabs.push_back(MakeTab(bit));
    m_pSets = std::make_unique<COptionSets>(m_records);
    m_pTree = std::make_unique<CSheetTree>(m_records, *m_pSets);
    std::string config = TextOf(m_info.configName);
    if (!config.empty()) m_pTree->ShowConfiguration(config);
}

void CSheetBase::SetPhaseEnabled(int phase, bool enabled) {
    if (phase >= 0 && phase < static_cast<int>(m_abPhaseEnabled.size()))
        m_abPhaseEnabled[static_cast<size_t>(phase)] = enabled;
}

bool CSheetBase::PhaseEnabled(int phase) const {
    return phase >= 0 && phase < static_cast<int>(m_abPhaseEnabled.size()) &&
           m_abPhaseEnabled[static_cast<size_t>(phase)];
}

std::string CSheetBase::DisplayedCommandLine() {
    CTab* tab = ActiveTab();
    if (tab == nullptr || !tab->HasCategories()) return {};
    const std::string& raw = ActivePage()->CommandLine();
    return m_fnCook && PhaseEnabled(ToolTabPhase(tab->bit)) ? m_fnCook(raw) : raw;
}

std::vector<COptionSet*> CSheetBase::SelectedSets() const {
    std::vector<COptionSet*> out;
    std::unordered_set<COptionSet*> seen;
    for (CLeaf* leaf : m_pManager->selection)
        if (seen.insert(leaf->set).second) out.push_back(leaf->set);
    return out;
}

std::vector<std::string> CSheetBase::ShownTabTitles() const {
    std::vector<std::string> titles;
    for (TabBit bit : m_pManager->shown) titles.emplace_back(TabTitle(bit));
    return titles;
}

CTab* CSheetBase::ActiveTab() {
    if (m_pManager->activeTab < 0) return nullptr;
    return ShownTab(static_cast<size_t>(m_pManager->activeTab));
}

CTab* CSheetBase::ShownTab(size_t index) {
    if (index >= m_pManager->shown.size()) return nullptr;
    TabBit bit = m_pManager->shown[index];
    for (CTab& tab : m_aTabs)
        if (tab.bit == bit) return &tab;
    return nullptr;
}

CPage* CSheetBase::ActivePage() {
    CTab* tab = ActiveTab();
    return tab == nullptr ? m_pBlank.get() : tab->pages[tab->activePage].get();
}

std::string CSheetBase::Dump() const {
    return DumpOptionSets(m_records, *m_pSets, SelectedSets());
}

PageContext CSheetBase::Context() {
    return PageContext{SelectedSets(), &m_shared, &m_messages};
}

bool CSheetBase::SaveActive(SaveKind kind) {
    return ActivePage()->SaveAndValidate(kind);
}

std::vector<CLeaf*> CSheetBase::ResolveNodes(const std::vector<NodeRef>& nodes) {
    std::vector<CLeaf*> leaves;
    std::unordered_set<CLeaf*> seen;
    for (const NodeRef& node : nodes) {
        for (CLeaf* leaf : m_pTree->Resolve(node))
            if (seen.insert(leaf).second) leaves.push_back(leaf);
    }
    return leaves;
}

CommandResult CSheetBase::Select(const std::vector<NodeRef>& nodes, bool add) {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::OnSelChanged()");
    if (!SaveActive(SaveKind::Leave)) return CommandResult::Refused;
    std::vector<NodeRef> chosen = add ? m_pManager->nodes : std::vector<NodeRef>{};
    for (const NodeRef& node : nodes)
        if (std::find(chosen.begin(), chosen.end(), node) == chosen.end()) chosen.push_back(node);
    m_pManager->nodes = chosen;
    m_pManager->selection = ResolveNodes(chosen);
    m_pManager->levelSelection = std::any_of(
        chosen.begin(), chosen.end(), [](const NodeRef& n) { return n.kind != NodeKind::Leaf; });
    ChangeTab(TabMaskOf(m_pManager->selection, m_pManager->levelSelection));
    LoadActive();
    return CommandResult::Done;
}

CommandResult CSheetBase::ShowConfigurations(const std::vector<std::string>& names) {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::OnSelChangeConfiguration()");
    if (names.empty()) return CommandResult::Unknown;
    const std::vector<std::string>& known = m_pTree->ConfigurationNames();
    std::vector<std::string> wanted = names;
    if (names.size() == 1 && names.front() == SheetText(sheet_strings::kAllConfigurations))
        wanted = known;
    for (const std::string& name : wanted)
        if (std::find(known.begin(), known.end(), name) == known.end())
            return CommandResult::Unknown;
    if (!SaveActive(SaveKind::Leave)) return CommandResult::Refused;
    m_pTree->ShowConfigurations(wanted);
    if (m_pManager->mask == 0) return CommandResult::Done; // nothing selected yet
    m_pManager->selection = ResolveNodes(m_pManager->nodes);
    ChangeTab(TabMaskOf(m_pManager->selection, m_pManager->levelSelection));
    LoadActive();
    return CommandResult::Done;
}

void CSheetBase::ChangeTab(unsigned mask) {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::ChangeTab()");
    if (mask == m_pManager->mask) return;
    m_pManager->shown = TabsOf(mask);
    m_pManager->activeTab = m_pManager->shown.empty() ? -1 : 0;
    m_pManager->mask = mask;
    if (m_pObserver != nullptr) m_pObserver->OnTabsChanged(ShownTabTitles());
}

void CSheetBase::LoadActive() {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::LoadActivePage()");
    CPage* page = ActivePage();
    page->Load(Context());
    CTab* tab = ActiveTab();
    if (tab != nullptr && tab->HasCategories()) {
        if (m_pObserver != nullptr) m_pObserver->OnCategoryShown(page->Label());
        SendMixCommandLineOption();
    }
}

void CSheetBase::SendMixCommandLineOption() {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::SendMixCommandLineOption()");
    CTab* tab = ActiveTab();
    if (tab == nullptr) return;
    int phase = ToolTabPhase(tab->bit);
    if (phase < 0) return;
    CPage* page = ActivePage();
    page->SaveAndValidate(SaveKind::Preview);
    std::string text = PreviewOf(m_pManager->selection, phase);
    page->ShowCommandLine(text);
    if (m_pObserver != nullptr) m_pObserver->OnPreview(text);
}

CommandResult CSheetBase::ActivateTab(const std::string& title) {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::OnTabChange()");
    const auto& shown = m_pManager->shown;
    auto it = std::find_if(shown.begin(), shown.end(),
                           [&title](TabBit bit) { return title == TabTitle(bit); });
    if (it == shown.end()) return CommandResult::Unknown;
    if (!SaveActive(SaveKind::Leave)) return CommandResult::Refused;
    m_pManager->activeTab = static_cast<int>(it - shown.begin());
    LoadActive();
    return CommandResult::Done;
}

CommandResult CSheetBase::ShowCategory(const std::string& label) {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::OnCategoryChange()");
    CTab* tab = ActiveTab();
    if (tab == nullptr || !tab->HasCategories()) return CommandResult::Unknown;
    for (size_t i = 0; i < tab->pages.size(); ++i) {
        if (tab->pages[i]->Label() != label) continue;
        if (!SaveActive(SaveKind::Leave)) return CommandResult::Refused;
        tab->activePage = i;
        LoadActive();
        return CommandResult::Done;
    }
    return CommandResult::Unknown;
}

void CSheetBase::Isolate() {
    const std::vector<CLeaf*>& selection = m_pManager->selection;
    std::unordered_set<const CLeaf*> chosen(selection.begin(), selection.end());
    std::unordered_set<const COptionSet*> used;
    for (const CLeaf* leaf : selection) used.insert(leaf->set);
    // The selection keeps the sets its pages already hold; the others move.
    std::unordered_map<const COptionSet*, COptionSet*> copies;
    for (CLeaf& leaf : m_pTree->Leaves()) {
        if (chosen.count(&leaf) != 0 || used.count(leaf.set) == 0) continue;
        COptionSet*& copy = copies[leaf.set];
        if (copy == nullptr) copy = m_pSets->Copy(*leaf.set);
        leaf.set = copy;
    }
}

CommandResult CSheetBase::SetControl(const std::string& keyOrLabel, const Value& value) {
    size_t control = 0;
    CommandResult shown = ShowControl(keyOrLabel, control);
    if (shown != CommandResult::Done) return shown;
    Isolate();
    return AfterChange(ActivePage()->Set(control, value));
}

CommandResult CSheetBase::ShowControl(const std::string& keyOrLabel, size_t& control) {
    CTab* tab = ActiveTab();
    if (tab == nullptr) return CommandResult::Unknown;
    if (auto found = tab->pages[tab->activePage]->FindControl(keyOrLabel)) {
        control = *found;
        return CommandResult::Done;
    }
    auto showOn = [&](size_t i, size_t found) {
        if (i != tab->activePage) {
            CommandResult shown = ShowCategory(tab->pages[i]->Label());
            if (shown != CommandResult::Done) return shown;
        }
        control = found;
        return CommandResult::Done;
    };
    for (size_t i = 0; i < tab->pages.size(); ++i) {
        if (i == tab->activePage) continue;
        if (auto found = tab->pages[i]->FindControl(keyOrLabel)) return showOn(i, *found);
    }
    // A key no control is named by may still be one that a control writes.
    for (size_t i = 0; i < tab->pages.size(); ++i) {
        if (auto found = tab->pages[i]->FindControlWriting(keyOrLabel)) return showOn(i, *found);
    }
    return CommandResult::Unknown;
}

CommandResult CSheetBase::AfterChange(SetOutcome outcome) {
    switch (outcome) {
    case SetOutcome::Done:
        break;
    case SetOutcome::Disabled:
        return CommandResult::Disabled;
    case SetOutcome::BadValue:
        return CommandResult::BadValue;
    case SetOutcome::Refused:
        return CommandResult::Refused;
    }
    CTab* tab = ActiveTab();
    if (tab != nullptr && tab->HasCategories()) SendMixCommandLineOption();
    return CommandResult::Done;
}

CommandResult CSheetBase::EditList(const std::string& keyOrLabel, const std::string& op,
                                   const std::vector<std::string>& args) {
    size_t index = 0;
    CommandResult shown = ShowControl(keyOrLabel, index);
    if (shown != CommandResult::Done) return shown;
    auto* page = dynamic_cast<CControlPage*>(ActivePage());
    if (page == nullptr || page->Controls()[index].kind != ControlKind::List)
        return CommandResult::BadValue;
    if (!page->States()[index].enabled) return CommandResult::Disabled;
    Isolate();
    const Value& entries = page->States()[index].value;
    auto position = [&entries](const std::string& entry) -> std::optional<size_t> {
        for (size_t i = 0; i < entries.size(); ++i)
            if (entries[i] == entry) return i;
        return std::nullopt;
    };
    if (op == "add" && !args.empty()) {
        Value grown = entries;
        grown.insert(grown.end(), args.begin(), args.end());
        return AfterChange(page->Set(index, grown));
    }
    if (op == "remove" && args.size() == 1) {
        auto at = position(args[0]);
        if (!at) return CommandResult::BadValue;
        return AfterChange(page->ListRemove(index, *at));
    }
    if (op == "modify" && args.size() == 2) {
        auto at = position(args[0]);
        if (!at) return CommandResult::BadValue;
        return AfterChange(page->ListModify(index, *at, args[1]));
    }
    if (op == "move" && args.size() == 2) {
        auto at = position(args[0]);
        const std::string& to = args[1];
        if (!at || to.empty() || to.size() > 9 ||
            to.find_first_not_of("0123456789") != std::string::npos)
            return CommandResult::BadValue;
        size_t target = std::stoul(to);
        if (target == 0) return CommandResult::BadValue;
        return AfterChange(page->ListMove(index, *at, target - 1));
    }
    return CommandResult::BadValue;
}

CommandResult CSheetBase::Press(const std::string& label) {
    size_t index = 0;
    CommandResult shown = ShowControl(label, index);
    if (shown != CommandResult::Done) return shown;
    if (ActivePage()->Controls()[index].kind != ControlKind::Button) return CommandResult::BadValue;
    auto* page = dynamic_cast<CControlPage*>(ActivePage());
    if (page == nullptr) return CommandResult::Disabled;
    Isolate();
    return AfterChange(page->Press(index));
}

CommandResult CSheetBase::SectionCommand(const std::vector<std::string>& fields) {
    CTab* tab = ActiveTab();
    if (tab == nullptr || fields.empty()) return CommandResult::Unknown;
    for (size_t i = 0; i < tab->pages.size(); ++i) {
        auto* page = dynamic_cast<CSectionPage*>(tab->pages[i].get());
        if (page == nullptr || !page->Handles(fields.front())) continue;
        if (i != tab->activePage) {
            CommandResult shown = ShowCategory(page->Label());
            if (shown != CommandResult::Done) return shown;
        }
        Isolate();
        return AfterChange(page->Command(fields));
    }
    return CommandResult::Unknown;
}

std::optional<int> CSheetBase::Ok() {
    CSheetManager::Scope scope(*m_pManager, "CSheetBase::OnOK()");
    if (!SaveActive(SaveKind::Final)) return std::nullopt;
    WriteBackPlan plan = PlanWriteBack(m_records, *m_pSets, m_pTree->Leaves());
    bool write = true;
    if (plan.changed && (m_shared.settings & toolchain::kConfirmModifiedOptions) != 0) {
        write = m_messages.Show(kCaptionMessage, SheetString(kStrOptionModified),
                                platform::MessageButtons::YesNo) == platform::MessageAnswer::Yes;
    }
    if (write && !CommitWriteBack(m_records, plan, m_pTree->Leaves())) return 1;
    if (write) {
        std::vector<const ControlDef*> controls;
        for (const CTab& tab : m_aTabs)
            for (const auto& page : tab.pages)
                for (const ControlDef& control : page->Controls()) controls.push_back(&control);
        m_astrChanges = DescribeChanges(m_records, *m_pSets, m_pTree->Leaves(), controls);
    }
    if (m_info.workspaceSettingsName != nullptr && *m_info.workspaceSettingsName != '\0' &&
        m_info.workspaceDir != nullptr)
        toolchain::WriteToolchainSettings(m_info, static_cast<int>(m_shared.settings));
    return 0;
}

} // namespace quorle::sheet
