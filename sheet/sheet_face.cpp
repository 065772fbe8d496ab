#include "sheet/sheet_face.h"

#include <algorithm>
#include <cstdio>
#include <set>

#include "resources/sheet_strings.h"
#include "sheet/default_model.h"
#include "sheet/option_set.h"
#include "sheet/search.h"

namespace quorle::sheet {
namespace {

// A text with one "%s", filled in.
std::string WithText(const std::string& format, const std::string& text) {
    std::vector<char> buffer(format.size() + text.size() + 1);
    std::snprintf(buffer.data(), buffer.size(), format.c_str(), text.c_str());
    return buffer.data();
}

} // namespace

std::vector<std::string> CSheetFaceOver::ConfigurationChoices() const {
    return sheet_.Tree().ConfigurationChoices();
}

std::vector<std::string> CSheetFaceOver::ConfigurationNames() const {
    return sheet_.Tree().ConfigurationNames();
}

std::vector<std::string> CSheetFaceOver::ShownConfigurations() const {
    // In the combo's order rather than the set's.
    std::vector<std::string> shown;
    for (const std::string& name : sheet_.Tree().ConfigurationNames())
        if (sheet_.Tree().ShownConfigurations().count(name) != 0) shown.push_back(name);
    return shown;
}

std::string CSheetFaceOver::ConfigurationText() const {
    // The combo shows one of its own choices, whatever the set.
    const std::vector<std::string> shown = ShownConfigurations();
    if (shown.size() == 1) return shown.front();
    if (shown.size() == ConfigurationNames().size())
        return SheetText(sheet_strings::kAllConfigurations);
    return SheetText(sheet_strings::kMultipleConfigurations);
}

std::string CSheetFaceOver::PhaseShownBeside(const TreeNode& node, NodeKind parent) const {
    // A project's own leaves are named after the project in every phase;
    // only the phase tells them apart. A project level of one phase names it.
    // (A level for every project-wide phase has no record, so no name.)
    if (node.kind != NodeKind::ProjectLevel && parent != NodeKind::ProjectLevel) return "";
    std::string phase = PhaseName(node.record);
    return phase == node.label ? std::string() : phase;
}

FaceQuestion CSheetFaceOver::SearchQuestion() const {
    return FaceQuestion{SheetText(sheet_strings::kSearchCaption),
                        SheetText(sheet_strings::kSearchPrompt)};
}

std::vector<SearchHit> CSheetFaceOver::Search(const std::string& typed) const {
    const std::vector<FaceControl> all = AllControls();
    std::vector<SearchHit> hits;
    for (size_t i : SearchControls(all, typed)) hits.push_back({all[i], SearchHitText(all[i])});
    return hits;
}

std::string CSheetFaceOver::NothingFound(const std::string& typed) const {
    // Before a selection no tab is shown, so there is nothing to search.
    const std::string format = ActiveTab() < 0
                                   ? SheetText(sheet_strings::kNothingMatchesNoSelection)
                                   : SheetText(sheet_strings::kNothingMatches);
    return WithText(format, "\"" + typed + "\"");
}

std::optional<FaceQuestion> CSheetFaceOver::CancelQuestion() const {
    if (!changed_) return std::nullopt;
    return FaceQuestion{SheetText(sheet_strings::kCancelCaption),
                        SheetText(sheet_strings::kDiscardChanges)};
}

std::string CSheetFaceOver::PhaseName(size_t record) const {
    const auto& phases = sheet_.Records().phases;
    return record < phases.size() ? phases[record].name : std::string();
}

std::vector<std::string> CSheetFaceOver::Categories() const {
    std::vector<std::string> labels;
    CTab* tab = sheet_.ActiveTab();
    if (tab == nullptr || !tab->HasCategories()) return labels;
    for (const auto& page : tab->pages) labels.push_back(page->Label());
    return labels;
}

int CSheetFaceOver::ActiveCategory() const {
    CTab* tab = sheet_.ActiveTab();
    if (tab == nullptr || !tab->HasCategories()) return -1;
    return static_cast<int>(tab->activePage);
}

const std::vector<ControlDef>& CSheetFaceOver::Controls() const {
    return sheet_.ActivePage()->Controls();
}

const std::vector<ControlState>& CSheetFaceOver::States() const {
    return sheet_.ActivePage()->States();
}

std::string CSheetFaceOver::Preview() const {
    CTab* tab = sheet_.ActiveTab();
    if (tab == nullptr || !tab->HasCategories()) return "";
    return sheet_.ActivePage()->CommandLine();
}

std::vector<FaceControl> CSheetFaceOver::AllControls() const {
    std::vector<FaceControl> all;
    const std::vector<std::string> titles = sheet_.ShownTabTitles();
    for (size_t t = 0; t < titles.size(); ++t) {
        CTab* tab = sheet_.ShownTab(t);
        if (tab == nullptr) continue;
        for (size_t p = 0; p < tab->pages.size(); ++p) {
            const std::vector<ControlDef>& controls = tab->pages[p]->Controls();
            for (size_t c = 0; c < controls.size(); ++c) {
                const ControlDef& def = controls[c];
                if (def.hidden || def.kind == ControlKind::Label) continue;
                all.push_back(FaceControl{
                    t, p, c, titles[t], tab->HasCategories() ? tab->pages[p]->Label() : "",
                    PlainLabel(def.label), def.key, def.help, def.valueLabels});
            }
        }
    }
    return all;
}

ControlValues CSheetFaceOver::ValuesOf(size_t control) const {
    ControlValues values;
    CPage* page = sheet_.ActivePage();
    if (sheet_.ActiveTab() == nullptr || control >= page->Controls().size()) return values;
    const ControlDef& def = page->Controls()[control];
    if (!def.binding.get) return values;
    std::vector<COptionSet*> sets;
    for (COptionSet* set : sheet_.SelectedSets())
        if (set->phase >= 0 && (def.binding.phases & (1u << set->phase)) != 0) sets.push_back(set);
    if (sets.empty()) return values;
    if (auto fresh = DefaultModelLike(*sets.front()->model))
        values.defaultValue = def.binding.get(*fresh);
    // A set may serve leaves of several configurations; each shown one lists
    // the distinct values of the selected sets it uses (one pass over the leaves).
    const std::vector<std::string> shown = ShownConfigurations();
    values.configurations.reserve(shown.size());
    for (const std::string& config : shown)
        values.configurations.emplace_back(config, std::vector<Value>{});
    std::set<std::pair<const COptionSet*, std::string_view>> done;
    for (const CLeaf& leaf : sheet_.Tree().Leaves()) {
        if (std::find(sets.begin(), sets.end(), leaf.set) == sets.end()) continue;
        if (!done.insert({leaf.set, leaf.configName}).second) continue;
        auto place = std::find(shown.begin(), shown.end(), leaf.configName);
        if (place == shown.end()) continue;
        std::vector<Value>& seen =
            values.configurations[static_cast<size_t>(place - shown.begin())].second;
        Value v = def.binding.get(*leaf.set->model);
        if (std::find(seen.begin(), seen.end(), v) == seen.end()) seen.push_back(std::move(v));
    }
    std::erase_if(values.configurations, [](const auto& c) { return c.second.empty(); });
    return values;
}

CommandResult CSheetFaceOver::ActivateTab(size_t index) {
    const std::vector<std::string> titles = sheet_.ShownTabTitles();
    if (index >= titles.size()) return CommandResult::Unknown;
    if (static_cast<int>(index) == sheet_.Manager().activeTab) return CommandResult::Done;
    return sheet_.ActivateTab(titles[index]);
}

CommandResult CSheetFaceOver::ShowCategory(size_t index) {
    CTab* tab = sheet_.ActiveTab();
    if (tab == nullptr || !tab->HasCategories() || index >= tab->pages.size())
        return CommandResult::Unknown;
    if (index == tab->activePage) return CommandResult::Done;
    return sheet_.ShowCategory(tab->pages[index]->Label());
}

CommandResult CSheetFaceOver::SetControl(size_t control, const Value& value) {
    CTab* tab = sheet_.ActiveTab();
    CPage* page = sheet_.ActivePage();
    if (tab == nullptr || control >= page->Controls().size()) return CommandResult::Unknown;
    // By key where there is one, else by label, as the sheet finds controls;
    // the index is checked to name the same control so that two controls
    // with one label cannot be confused.
    const ControlDef& def = page->Controls()[control];
    std::string name = def.key.empty() ? PlainLabel(def.label) : def.key;
    if (page->FindControl(name) != control) return CommandResult::Unknown;
    CommandResult result = sheet_.SetControl(name, value);
    if (result == CommandResult::Done) changed_ = true;
    return result;
}

CommandResult CSheetFaceOver::Press(size_t control) {
    CPage* page = sheet_.ActivePage();
    if (sheet_.ActiveTab() == nullptr || control >= page->Controls().size())
        return CommandResult::Unknown;
    const std::string label = PlainLabel(page->Controls()[control].label);
    if (page->FindControl(label) != control) return CommandResult::Unknown;
    CommandResult result = sheet_.Press(label);
    if (result == CommandResult::Done) changed_ = true;
    return result;
}

CommandResult CSheetFaceOver::SectionCommand(const std::vector<std::string>& fields) {
    CommandResult result = sheet_.SectionCommand(fields);
    if (result == CommandResult::Done) changed_ = true;
    return result;
}

} // namespace quorle::sheet
