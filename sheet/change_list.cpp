#include "sheet/change_list.h"

#include <map>
#include <set>
#include <unordered_map>

#include "core/phase.h"
#include "options/option_string.h"
#include "sections/section_layout.h"
#include "sheet/bindings.h"

namespace quorle::sheet {
namespace {

constexpr const char* kNothing = "(none)";

// The tool flag a control's help names: "(-flto)" in it, or the help itself
// when it starts with one.
std::string FlagOf(const ControlDef& control) {
    for (const std::string& label : control.valueLabels)
        if (label.find("(-") != std::string::npos) return {}; // the values carry their flags
    const std::string& help = control.help;
    size_t open = help.find("(-");
    if (open != std::string::npos) {
        size_t close = help.find(')', open);
        if (close != std::string::npos) return help.substr(open + 1, close - open - 1);
    }
    if (!help.empty() && help.front() == '-') return help.substr(0, help.find(' '));
    return {};
}

std::set<std::string> KeysWritten(const ControlDef& control) {
    std::set<std::string> keys;
    if (!control.key.empty()) keys.insert(control.key);
    for (const std::string& token : control.tokens) keys.insert(KeyOfToken(token));
    return keys;
}

// Key -> value text of each token of a serialised option string.
std::map<std::string, std::string> TokenValues(const std::string& text) {
    std::map<std::string, std::string> values;
    for (const std::string& token : options::SplitOptionString(text)) {
        std::string body = token.size() >= 2 ? token.substr(1, token.size() - 2) : token;
        std::string key = KeyOfToken(body);
        size_t bar = body.find('|');
        size_t second = bar == std::string::npos ? std::string::npos : body.find('|', bar + 1);
        std::string value = second == std::string::npos ? std::string() : body.substr(second + 1);
        std::string& slot = values[key];
        slot += (slot.empty() ? "" : " ") + value;
    }
    return values;
}

std::string Span(const sections::MemoryRegion& region) {
    return region.start + "-" + region.end;
}

// The section layout by group and region name: added, removed or changed.
// Layouts may hold very many groups, so names are looked up in maps.
void LayoutLines(const sections::SectionLayout& was, const sections::SectionLayout& now,
                 std::vector<std::string>& lines) {
    auto groups = [](const sections::SectionLayout& layout,
                     std::vector<const sections::SectionGroup*>& list,
                     std::unordered_map<std::string, const sections::SectionGroup*>& byName) {
        sections::ForEachGroup(layout.groups, [&](const sections::SectionGroup& g, size_t) {
            list.push_back(&g);
            byName.emplace(g.name, &g);
            return true;
        });
    };
    std::vector<const sections::SectionGroup*> oldList, newList;
    std::unordered_map<std::string, const sections::SectionGroup*> oldGroups, newGroups;
    groups(was, oldList, oldGroups);
    groups(now, newList, newGroups);
    bool any = false;
    for (const sections::SectionGroup* g : newList) {
        auto old = oldGroups.find(g->name);
        if (old == oldGroups.end() || !old->second->SameFields(*g)) {
            lines.push_back("Section group " + g->name + ": " +
                            (old == oldGroups.end() ? "added" : "changed"));
            any = true;
        }
    }
    for (const sections::SectionGroup* g : oldList) {
        if (newGroups.count(g->name) == 0) {
            lines.push_back("Section group " + g->name + ": removed");
            any = true;
        }
    }
    if (!any && !(was.groups == now.groups)) lines.push_back("Section groups: order changed");
    std::unordered_map<std::string, const sections::MemoryRegion*> oldRegions, newRegions;
    for (const auto& r : was.regions) oldRegions.emplace(r.name, &r);
    for (const auto& r : now.regions) newRegions.emplace(r.name, &r);
    for (const sections::MemoryRegion& r : now.regions) {
        auto old = oldRegions.find(r.name);
        if (old == oldRegions.end())
            lines.push_back("Memory region " + r.name + ": added (" + Span(r) + ")");
        else if (!(*old->second == r))
            lines.push_back("Memory region " + r.name + ": " + Span(*old->second) + " -> " +
                            Span(r));
    }
    for (const sections::MemoryRegion& r : was.regions)
        if (newRegions.count(r.name) == 0) lines.push_back("Memory region " + r.name + ": removed");
}

std::vector<std::string> OptionLines(int phase, const models::ModelBase& before,
                                     const models::ModelBase& after,
                                     const std::vector<const ControlDef*>& controls) {
    std::vector<std::string> lines;
    std::set<std::string> labels, covered;
    for (const ControlDef* control : controls) {
        const Binding& b = control->binding;
        if (!b.get || b.getShared || control->hidden || (b.phases & (1u << phase)) == 0) continue;
        const std::string label = PlainLabel(control->label);
        if (labels.count(label) != 0) continue;
        Value was = b.get(before), now = b.get(after);
        if (was == now) continue;
        labels.insert(label);
        std::set<std::string> keys = KeysWritten(*control);
        covered.insert(keys.begin(), keys.end());
        std::string flag = FlagOf(*control);
        lines.push_back(label + (flag.empty() ? "" : " (" + flag + ")") + ": " +
                        ShownValue(*control, was) + " -> " + ShownValue(*control, now));
    }
    const auto* oldLinker = As<models::LinkerModel>(&before);
    const auto* newLinker = As<models::LinkerModel>(&after);
    if (oldLinker != nullptr && newLinker != nullptr &&
        !(oldLinker->layout_ == newLinker->layout_)) {
        LayoutLines(oldLinker->layout_, newLinker->layout_, lines);
        covered.insert({"GROUPDET", "MEMDET"});
    }
    std::map<std::string, std::string> was = TokenValues(before.Write()),
                                       now = TokenValues(after.Write());
    std::set<std::string> keys;
    for (const auto& [key, value] : was) keys.insert(key);
    for (const auto& [key, value] : now) keys.insert(key);
    for (const std::string& key : keys) {
        if (covered.count(key) != 0 || key == "VERSION") continue;
        auto a = was.find(key), b = now.find(key);
        std::string oldValue = a == was.end() ? kNothing : a->second;
        std::string newValue = b == now.end() ? kNothing : b->second;
        if (oldValue != newValue) lines.push_back(key + ": " + oldValue + " -> " + newValue);
    }
    return lines;
}

std::string WhereOf(const CLeaf& leaf) {
    static constexpr const char* kPhaseWords[] = {"Compiler", "Assembler", "Linker", "Generator",
                                                  "Debug"};
    const bool known = leaf.phase >= 0 && leaf.phase < 5;
    std::string where = std::string(leaf.projectName) + " " + std::string(leaf.configName) + " " +
                        (known ? std::string(kPhaseWords[leaf.phase])
                               : std::string(PhaseName(static_cast<PhaseIndex>(leaf.phase))));
    switch (leaf.kind) {
    case LeafKind::Project:
        break;
    case LeafKind::TypeDefault:
    case LeafKind::TypeDefaultSrc:
        where += " " + std::string(leaf.name) + " (" + std::string(leaf.fileType) + ")";
        break;
    case LeafKind::File:
        where += " " + std::string(leaf.name);
        break;
    }
    return where;
}

} // namespace

std::string ShownValue(const ControlDef& control, const Value& value) {
    const std::string word = value.empty() ? std::string() : value.front();
    switch (control.kind) {
    case ControlKind::Check:
    case ControlKind::Check3:
        return word == "1" ? "on" : word == "0" ? "off" : word;
    case ControlKind::Choice:
        for (size_t i = 0; i < control.values.size() && i < control.valueLabels.size(); ++i)
            if (control.values[i] == word) return PlainLabel(control.valueLabels[i]);
        return word.empty() ? kNothing : word;
    case ControlKind::List: {
        std::string joined;
        for (const std::string& entry : value) joined += (joined.empty() ? "" : ", ") + entry;
        return joined.empty() ? kNothing : joined;
    }
    default:
        return word.empty() ? kNothing : word;
    }
}

std::vector<std::string> DescribeChanges(const HostRecords& records, const COptionSets& sets,
                                         const std::vector<CLeaf>& leaves,
                                         const std::vector<const ControlDef*>& controls) {
    std::vector<std::string> out;
    // Leaves of one opening text and one set change alike: worked out once.
    std::map<std::pair<const COptionSet*, const COptionSet*>, std::vector<std::string>> known;
    std::unordered_map<const COptionSet*, std::string> texts; // serialised once per set
    for (const CLeaf& leaf : leaves) {
        const HostFile& file = records.phases[leaf.record].projects[leaf.project].files[leaf.file];
        const COptionSet* opened = sets.AtPosition(leaf.record, file.indices[leaf.config]);
        auto text = texts.find(leaf.set);
        if (text == texts.end()) text = texts.emplace(leaf.set, leaf.set->Text()).first;
        if (text->second == opened->openedText) continue;
        auto [entry, made] = known.try_emplace({opened, leaf.set});
        if (made) {
            auto before = MakeModel(leaf.phase, opened->openedText);
            if (before)
                entry->second = OptionLines(leaf.phase, *before, *leaf.set->model, controls);
        }
        const std::string where = WhereOf(leaf);
        for (const std::string& line : entry->second) out.push_back(where + ": " + line);
    }
    return out;
}

} // namespace quorle::sheet
