#include "sheet/tree.h"

#include <algorithm>
#include <map>
#include <string_view>
#include <tuple>
#include <unordered_map>

#include "core/phase.h"
#include "resources/sheet_strings.h"
#include "sheet/messages.h"

namespace quorle::sheet {
namespace {

int DefaultRank(const std::string& name) {
    if (name == kDefaultOptionsLeaf) return 0;
    if (name == kDefaultOptionsSrcLeaf) return 1;
    return 2;
}

LeafKind LeafKindOf(int phase, const std::string& path) {
    if (!IsFileBasedPhase(phase)) return LeafKind::Project;
    if (path == kDefaultOptionsLeaf) return LeafKind::TypeDefault;
    if (path == kDefaultOptionsSrcLeaf) return LeafKind::TypeDefaultSrc;
    return LeafKind::File;
}

bool Matches(const CLeaf& leaf, const NodeRef& node, const HostRecords& records) {
    switch (node.kind) {
    case NodeKind::AllProjects:
    case NodeKind::Project:
        return false; // the toolchain-option level carries no phase
    case NodeKind::AllProjectLevel:
        return !IsFileBasedPhase(leaf.phase);
    case NodeKind::ProjectLevel:
        return !IsFileBasedPhase(leaf.phase) && leaf.projectName == node.project &&
               (node.record == kAnyRecord || leaf.record == node.record);
    case NodeKind::FileTypeLevel:
        return leaf.record == node.record && leaf.projectName == node.project &&
               (node.target.empty() || leaf.fileType == node.target);
    case NodeKind::Leaf:
        return leaf.record == node.record && leaf.projectName == node.project &&
               leaf.name == node.target;
    }
    static_cast<void>(records);
    return false;
}

// Each configuration name's position in `names`, looked up in constant time:
// a project may have tens of thousands of configurations.
std::unordered_map<std::string_view, size_t> IndexOf(const std::vector<std::string>& names) {
    std::unordered_map<std::string_view, size_t> index;
    index.reserve(names.size());
    for (size_t i = 0; i < names.size(); ++i) index.emplace(names[i], i);
    return index;
}

} // namespace

bool IsFileBasedPhase(int phase) {
    return phase == kPhaseCompiler || phase == kPhaseAssembler;
}

bool LeafNameBefore(const std::string& a, const std::string& b) {
    int ra = DefaultRank(a), rb = DefaultRank(b);
    if (ra != rb) return ra < rb;
    return a < b;
}

CSheetTree::CSheetTree(const HostRecords& records, const COptionSets& sets) : records_(records) {
    size_t total = 0;
    std::unordered_map<std::string_view, size_t> configIndex;
    for (const HostPhase& phase : records.phases) {
        for (const HostProject& project : phase.projects) {
            total += project.files.size() * project.configs.size();
            for (const HostConfig& config : project.configs)
                if (configIndex.emplace(config.name, configIndex.size()).second)
                    configNames_.push_back(config.name);
        }
    }
    leaves_.reserve(total);
    // Leaves in tree order, so that resolving a node is a filter: record,
    // project, file type, leaf name, configuration.
    for (size_t r = 0; r < records.phases.size(); ++r) {
        const HostPhase& phase = records.phases[r];
        for (size_t p = 0; p < phase.projects.size(); ++p) {
            const HostProject& project = phase.projects[p];
            std::vector<size_t> configIds;
            configIds.reserve(project.configs.size());
            for (const HostConfig& config : project.configs)
                configIds.push_back(configIndex.at(config.name));
            std::vector<size_t> order(project.files.size());
            for (size_t f = 0; f < order.size(); ++f) order[f] = f;
            std::stable_sort(order.begin(), order.end(), [&project](size_t a, size_t b) {
                const HostFile& fa = project.files[a];
                const HostFile& fb = project.files[b];
                if (fa.fileType != fb.fileType) return fa.fileType < fb.fileType;
                return LeafNameBefore(fa.path, fb.path);
            });
            for (size_t f : order) {
                const HostFile& file = project.files[f];
                for (size_t c = 0; c < project.configs.size(); ++c) {
                    CLeaf leaf;
                    leaf.record = r;
                    leaf.phase = phase.index;
                    leaf.project = p;
                    leaf.config = c;
                    leaf.configId = configIds[c];
                    leaf.file = f;
                    leaf.kind = LeafKindOf(phase.index, file.path);
                    leaf.name = file.path;
                    leaf.fileType = file.fileType;
                    leaf.projectName = project.name;
                    leaf.configName = project.configs[c].name;
                    leaf.set = sets.AtPosition(r, file.indices[c]);
                    leaves_.push_back(leaf);
                }
            }
        }
    }
    shown_.assign(configNames_.size(), false);
    if (!configNames_.empty()) shown_[0] = true;
}

std::set<std::string> CSheetTree::ShownConfigurations() const {
    std::set<std::string> names;
    for (size_t i = 0; i < configNames_.size(); ++i)
        if (shown_[i]) names.insert(configNames_[i]);
    return names;
}

std::vector<std::string> CSheetTree::ConfigurationChoices() const {
    std::vector<std::string> choices = configNames_;
    choices.push_back(SheetText(sheet_strings::kAllConfigurations));
    choices.push_back(SheetText(sheet_strings::kMultipleConfigurations));
    return choices;
}

bool CSheetTree::ShowConfiguration(const std::string& name) {
    return ShowConfigurations({name});
}

bool CSheetTree::ShowAllConfigurations() {
    shown_.assign(configNames_.size(), true);
    return true;
}

bool CSheetTree::ShowConfigurations(const std::vector<std::string>& names) {
    if (names.empty()) return false;
    std::vector<bool> shown(configNames_.size(), false);
    if (names.size() == 1) {
        auto it = std::find(configNames_.begin(), configNames_.end(), names.front());
        if (it == configNames_.end()) return false;
        shown[static_cast<size_t>(it - configNames_.begin())] = true;
    } else {
        const auto index = IndexOf(configNames_);
        for (const std::string& name : names) {
            auto it = index.find(name);
            if (it == index.end()) return false;
            shown[it->second] = true;
        }
    }
    shown_ = std::move(shown);
    return true;
}

std::vector<CLeaf*> CSheetTree::Resolve(const NodeRef& node) {
    std::vector<CLeaf*> out;
    if (node.kind == NodeKind::AllProjects || node.kind == NodeKind::Project) return out;
    for (CLeaf& leaf : leaves_) {
        if (shown_[leaf.configId] && Matches(leaf, node, records_)) out.push_back(&leaf);
    }
    return out;
}

std::optional<NodeRef> CSheetTree::Find(const std::string& phase, const std::string& project,
                                        const std::string& target, bool hasTarget) const {
    // The record named exactly, else the one of the phase the name selects
    // as the exports read phase names ("Compiler" for "GNU Compiler").
    const PhaseIndex index = LookupPhase(phase);
    bool exact = false;
    for (const HostPhase& record : records_.phases) exact = exact || record.name == phase;
    for (size_t r = 0; r < records_.phases.size(); ++r) {
        const HostPhase& record = records_.phases[r];
        if (exact ? record.name != phase : index == kPhaseUnknown || record.index != index)
            continue;
        for (const HostProject& entry : record.projects) {
            if (entry.name != project) continue;
            bool fileBased = IsFileBasedPhase(record.index);
            if (!hasTarget)
                return NodeRef{fileBased ? NodeKind::FileTypeLevel : NodeKind::ProjectLevel, r,
                               project, ""};
            for (const HostFile& file : entry.files) {
                if (file.path == target) return NodeRef{NodeKind::Leaf, r, project, target};
            }
            if (!fileBased || target.empty()) return std::nullopt;
            bool known = record.index == kPhaseAssembler && target == kCppToAssemblyType;
            for (const HostFile& file : entry.files) known = known || file.fileType == target;
            if (known) return NodeRef{NodeKind::FileTypeLevel, r, project, target};
            return std::nullopt;
        }
        return std::nullopt;
    }
    return std::nullopt;
}

namespace {

using DisplayKey = std::tuple<size_t, std::string, std::string>;

// The option text shown beside a node: that of the first shown leaf of its
// file record, "none" when no leaf of it shows.
class Displays {
  public:
    Displays(const std::vector<CLeaf>& leaves, const std::vector<bool>& shown, std::string none)
        : none_(std::move(none)) {
        for (const CLeaf& leaf : leaves) {
            if (shown[leaf.configId])
                index_.emplace(
                    DisplayKey{leaf.record, std::string(leaf.projectName), std::string(leaf.name)},
                    &leaf);
        }
    }
    std::string operator()(size_t record, const std::string& project,
                           const std::string& path) const {
        auto found = index_.find(DisplayKey{record, project, path});
        return found == index_.end() ? none_ : found->second->set->Text();
    }
    const std::string& None() const { return none_; }

  private:
    std::map<DisplayKey, const CLeaf*> index_;
    std::string none_;
};

// One project's nodes of phase record `r`: for a project-wide phase its
// leaves under the project level, else one node per file type with the
// type's files.
void AddPhaseNodes(const HostPhase& phase, size_t r, const HostProject& project,
                   const Displays& display, const std::string& fileTypeLevel, TreeNode& projectNode,
                   TreeNode& projectLevel) {
    const std::string& name = project.name;
    if (!IsFileBasedPhase(phase.index)) {
        for (const HostFile& file : project.files) {
            std::string label = file.path.empty() ? phase.name : file.path;
            projectLevel.children.push_back(
                {NodeKind::Leaf, label, display(r, name, file.path), r, name, file.path, {}});
        }
        return;
    }
    std::set<std::string> types;
    for (const HostFile& file : project.files) types.insert(file.fileType);
    if (phase.index == kPhaseAssembler) types.insert(kCppToAssemblyType);
    for (const std::string& type : types) {
        TreeNode typeNode{NodeKind::FileTypeLevel,
                          type + fileTypeLevel,
                          display(r, name, kDefaultOptionsLeaf),
                          r,
                          name,
                          type,
                          {}};
        std::vector<std::string> paths;
        for (const HostFile& file : project.files)
            if (file.fileType == type) paths.push_back(file.path);
        std::sort(paths.begin(), paths.end(), LeafNameBefore);
        for (const std::string& path : paths)
            typeNode.children.push_back(
                {NodeKind::Leaf, path, display(r, name, path), r, name, path, {}});
        projectNode.children.push_back(std::move(typeNode));
    }
}

} // namespace

TreeNode CSheetTree::Build() const {
    const Displays display(leaves_, shown_, SheetText(sheet_strings::kNoOptionDisplay));
    const std::string& none = display.None();
    const std::string fileTypeLevel = SheetText(sheet_strings::kFileTypeLevel);
    TreeNode root{
        NodeKind::AllProjects, SheetText(sheet_strings::kAllLoadedProjects), none, 0, "", "", {}};
    bool anyProjectWide = false;
    std::vector<std::string> projects;
    for (const HostPhase& phase : records_.phases) {
        anyProjectWide = anyProjectWide || !IsFileBasedPhase(phase.index);
        for (const HostProject& project : phase.projects) {
            if (std::find(projects.begin(), projects.end(), project.name) == projects.end())
                projects.push_back(project.name);
        }
    }
    if (anyProjectWide)
        root.children.push_back({NodeKind::AllProjectLevel,
                                 SheetText(sheet_strings::kAllProject),
                                 none,
                                 kAnyRecord,
                                 "",
                                 "",
                                 {}});
    for (const std::string& name : projects) {
        TreeNode projectNode{NodeKind::Project, name, none, 0, name, "", {}};
        TreeNode projectLevel{NodeKind::ProjectLevel,
                              SheetText(sheet_strings::kProjectLevel),
                              none,
                              kAnyRecord,
                              name,
                              "",
                              {}};
        for (size_t r = 0; r < records_.phases.size(); ++r) {
            for (const HostProject& project : records_.phases[r].projects) {
                if (project.name == name)
                    AddPhaseNodes(records_.phases[r], r, project, display, fileTypeLevel,
                                  projectNode, projectLevel);
            }
        }
        if (!projectLevel.children.empty()) projectNode.children.push_back(std::move(projectLevel));
        root.children.push_back(std::move(projectNode));
    }
    return root;
}

} // namespace quorle::sheet
