#include "host/edit_records.h"

#include <algorithm>
#include <map>
#include <set>

#include "host/build_plan.h"
#include "host/plugin_calls.h"

namespace quorle::host {

std::optional<EditCatalogue> LoadEditCatalogue(const PluginCalls& calls,
                                               const std::vector<std::string>& phaseNames,
                                               std::string& error) {
    EditCatalogue catalogue;
    std::vector<std::pair<size_t, EditPhase>> ordered;
    for (const std::string& name : phaseNames) {
        auto info = calls.PhaseInformation(name);
        if (!info || info->size() < 2) {
            error = "GetBuildPhaseInformation failed for " + name;
            return std::nullopt;
        }
        if (info->size() > 2 && (*info)[2] != "ON") continue;
        auto inputs = calls.InputFileTypes(name);
        if (!inputs) {
            error = "GetInputFileTypes failed for " + name;
            return std::nullopt;
        }
        ordered.push_back({PlaceOrder((*info)[1]), {name, (*info)[0] == "SINGLE", *inputs}});
    }
    std::stable_sort(ordered.begin(), ordered.end(),
                     [](const auto& a, const auto& b) { return a.first < b.first; });
    for (auto& [order, phase] : ordered) catalogue.phases.push_back(std::move(phase));
    auto types = calls.SupportedFileExtensions();
    if (!types) {
        error = "GetSupportedFileExtensions failed";
        return std::nullopt;
    }
    catalogue.extensions = ExtensionTable(*types);
    catalogue.defaults = [&calls](const std::string& phase, const std::string& config,
                                  const std::string& fileType) {
        return calls.DefaultOptions(phase, config, fileType);
    };
    return catalogue;
}

std::string ResolveOptions(const Project& project, const EditCatalogue& catalogue,
                           const std::string& phase, const std::string& config,
                           const std::string& fileType, const std::string& file) {
    if (auto stored = FindOptions(project, phase, config, fileType, file)) return *stored;
    if (catalogue.defaults) {
        if (auto def = catalogue.defaults(phase, config, fileType)) return *def;
    }
    return "";
}

const char* EditRecords::Keep(const std::string& text) {
    return texts_.emplace_back(text).c_str();
}

std::unique_ptr<EditRecords> EditRecords::Build(const Workspace& workspace,
                                                const std::vector<size_t>& projects,
                                                const EditCatalogue& catalogue) {
    std::unique_ptr<EditRecords> r(new EditRecords());
    // A source file belongs to the first file-based phase, in build order,
    // that takes its type, as in a build.
    std::vector<std::set<std::string>> taken(workspace.projects.size());
    for (size_t p = 0; p < catalogue.phases.size(); ++p) {
        const EditPhase& phase = catalogue.phases[p];
        PhaseStore& ps = r->phases_.emplace_back();
        std::map<std::string, int32_t> indexOf;
        auto intern = [&](const std::string& text) {
            auto [it, added] = indexOf.emplace(text, static_cast<int32_t>(ps.inputs.size()));
            if (added) ps.inputs.push_back(text);
            return it->second;
        };
        for (size_t pi : projects) {
            const Project& project = workspace.projects[pi];
            ProjectStore& store = r->projects_.emplace_back();
            std::vector<std::string> configNames;
            for (const Configuration& config : project.configurations) {
                configNames.push_back(config.name);
                r->configs_.push_back({static_cast<uint32_t>(sizeof(QuorleConfigRecord)),
                                       r->Keep(config.name), r->Keep(config.dir)});
                store.configList.push_back(&r->configs_.back());
            }
            store.configList.push_back(nullptr);

            auto add = [&](EditItemKind kind, const std::string& file, const std::string& type,
                           const std::string& recordPath) {
                EditItem item{pi, p, kind, file, type, configNames, {}, {}};
                FileStore& fs = r->files_.emplace_back();
                for (const std::string& config : configNames) {
                    item.before.push_back(
                        ResolveOptions(project, catalogue, phase.name, config, type, file));
                    fs.indices.push_back(intern(item.before.back()));
                }
                fs.slotA.assign(configNames.size(), -1);
                fs.slotB.assign(configNames.size(), -1);
                fs.record = {static_cast<uint32_t>(sizeof(QuorleFileRecord)),
                             r->Keep(recordPath),
                             type.empty() ? nullptr : r->Keep(type),
                             nullptr,
                             fs.indices.data(),
                             fs.slotA.data(),
                             fs.slotB.data()};
                store.fileList.push_back(&fs.record);
                r->items_.push_back(std::move(item));
            };

            if (phase.single) {
                add(EditItemKind::Project, "", "", project.name);
            } else {
                for (const std::string& type : phase.inputTypes)
                    add(EditItemKind::FileTypeDefault, "", type, kDefaultOptionsPath);
                for (const std::string& file : project.files) {
                    std::string type = FileTypeOf(catalogue.extensions, file);
                    if (std::find(phase.inputTypes.begin(), phase.inputTypes.end(), type) ==
                        phase.inputTypes.end())
                        continue;
                    if (!taken[pi].insert(file).second) continue;
                    add(EditItemKind::File, file, type, file);
                }
            }
            store.fileList.push_back(nullptr);
            store.entry = {static_cast<uint32_t>(sizeof(QuorleProjectEntry)),
                           r->Keep(project.name),
                           r->Keep(project.dir),
                           store.configList.data(),
                           store.fileList.data(),
                           nullptr};
            ps.projectList.push_back(&store.entry);
        }
        ps.projectList.push_back(nullptr);
        for (const std::string& input : ps.inputs) ps.inputList.push_back(input.c_str());
        ps.inputList.push_back(nullptr);
        ps.record = {static_cast<uint32_t>(sizeof(QuorlePhaseRecord)), r->Keep(phase.name),
                     ps.projectList.data(), ps.inputList.data(), nullptr};
        r->recordList_.push_back(&ps.record);
    }
    r->recordList_.push_back(nullptr);
    return r;
}

bool EditRecords::ReadResult(std::string& error) {
    std::vector<std::vector<std::string>> lists;
    for (const PhaseStore& ps : phases_) {
        std::vector<std::string>& list = lists.emplace_back();
        if (ps.record.newOptions == nullptr) {
            error = std::string("the plug-in returned no option list for ") + ps.record.phase;
            return false;
        }
        for (char** entry = ps.record.newOptions; *entry != nullptr; ++entry)
            list.emplace_back(*entry);
    }
    for (size_t i = 0; i < items_.size(); ++i) {
        EditItem& item = items_[i];
        const std::vector<std::string>& list = lists[item.phase];
        item.after.clear();
        for (size_t c = 0; c < item.configs.size(); ++c) {
            int32_t index = files_[i].slotB[c];
            if (index < 0 || static_cast<size_t>(index) >= list.size()) {
                error = "the plug-in returned index " + std::to_string(index) + " for " +
                        files_[i].record.path + " (" + item.configs[c] + "), outside its " +
                        std::to_string(list.size()) + " option strings";
                item.after.clear();
                return false;
            }
            item.after.push_back(list[static_cast<size_t>(index)]);
        }
    }
    return true;
}

void EditRecords::FreeResult(void(QUORLE_CALL* freeBlock)(void*)) {
    for (PhaseStore& ps : phases_) {
        if (ps.record.newOptions == nullptr) continue;
        for (char** entry = ps.record.newOptions; *entry != nullptr; ++entry) freeBlock(*entry);
        freeBlock(ps.record.newOptions);
        ps.record.newOptions = nullptr;
    }
}

} // namespace quorle::host
