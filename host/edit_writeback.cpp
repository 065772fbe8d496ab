#include "host/edit_writeback.h"

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <tuple>

#include "options/option_string.h"
#include "platform/platform.h"

namespace quorle::host {

namespace {

bool AnyConfig(const OptionEntry& entry) {
    return entry.config.empty() || entry.config == "*";
}

// Entries that set exactly this item: a file's own entries, or the entries
// of a file type (or of the whole project for a project-wide phase) that
// name no file.
bool Targets(const OptionEntry& entry, const EditItem& item, const std::string& phase) {
    if (!PhaseMatches(entry.phase, phase)) return false;
    if (item.kind == EditItemKind::File) return entry.file == item.file;
    return entry.file.empty() && entry.fileType == item.fileType;
}

std::string ItemName(const EditItem& item) {
    switch (item.kind) {
    case EditItemKind::File:
        return item.file;
    case EditItemKind::FileTypeDefault:
        return std::string(kDefaultOptionsPath) + " (" + item.fileType + ")";
    case EditItemKind::Project:
        break;
    }
    return "project";
}

class ProjectEditor {
  public:
    ProjectEditor(const Project& project, const EditCatalogue& catalogue, EditedEntries& out)
        : catalogue_(catalogue), out_(out) {
        working_ = project;
        out_.entries = project.options;
        out_.origin.resize(project.options.size());
        for (size_t k = 0; k < out_.origin.size(); ++k) out_.origin[k] = static_cast<int>(k);
    }

    // Rewrites the item's entries for the configurations it does not resolve
    // to its new strings in; an entry for all configurations is split first.
    void Apply(const EditItem& item) {
        const std::string& phase = catalogue_.phases[item.phase].name;
        std::vector<std::string> current = Resolved(item, phase);
        if (current == item.after) return;

        bool split =
            std::any_of(out_.entries.begin(), out_.entries.end(), [&](const OptionEntry& e) {
                return Targets(e, item, phase) && AnyConfig(e);
            });
        std::set<std::string> redo;
        for (size_t c = 0; c < item.configs.size(); ++c)
            if (split || current[c] != item.after[c]) redo.insert(item.configs[c]);

        std::string entryPhase = phase;
        size_t insertAt = out_.entries.size();
        for (size_t k = out_.entries.size(); k-- > 0;) {
            const OptionEntry& e = out_.entries[k];
            if (!Targets(e, item, phase) || !(AnyConfig(e) || redo.count(e.config))) continue;
            entryPhase = e.phase;
            insertAt = k;
            out_.entries.erase(out_.entries.begin() + static_cast<long>(k));
            out_.origin.erase(out_.origin.begin() + static_cast<long>(k));
        }
        working_.options = out_.entries;
        std::vector<std::string> base = Resolved(item, phase);

        std::vector<OptionEntry> added;
        for (size_t c = 0; c < item.configs.size(); ++c) {
            if (!redo.count(item.configs[c]) || base[c] == item.after[c]) continue;
            added.push_back({entryPhase, item.kind == EditItemKind::File ? "" : item.fileType,
                             item.file, item.configs[c], item.after[c]});
        }
        bool allEqual = std::all_of(added.begin(), added.end(), [&](const OptionEntry& e) {
            return e.value == added.front().value;
        });
        if (added.size() > 1 && added.size() == item.configs.size() && allEqual) {
            added.resize(1);
            added.front().config.clear();
        }
        for (OptionEntry& entry : added) {
            out_.entries.insert(out_.entries.begin() + static_cast<long>(insertAt), entry);
            out_.origin.insert(out_.origin.begin() + static_cast<long>(insertAt), -1);
            ++insertAt;
        }
        working_.options = out_.entries;
        out_.rewritten = true;
    }

  private:
    std::vector<std::string> Resolved(const EditItem& item, const std::string& phase) const {
        std::vector<std::string> values;
        for (const std::string& config : item.configs)
            values.push_back(
                ResolveOptions(working_, catalogue_, phase, config, item.fileType, item.file));
        return values;
    }

    const EditCatalogue& catalogue_;
    EditedEntries& out_;
    Project working_;
};

} // namespace

bool EditOutcome::AnyRewritten() const {
    return std::any_of(projects.begin(), projects.end(),
                       [](const EditedEntries& p) { return p.rewritten; });
}

EditOutcome ApplyEdit(const Workspace& workspace, const std::vector<EditItem>& items,
                      const EditCatalogue& catalogue) {
    EditOutcome outcome;
    outcome.projects.resize(workspace.projects.size());
    std::map<size_t, ProjectEditor> editors;
    auto editorOf = [&](size_t project) -> ProjectEditor& {
        auto it = editors.find(project);
        if (it == editors.end())
            it = editors
                     .emplace(std::piecewise_construct, std::forward_as_tuple(project),
                              std::forward_as_tuple(workspace.projects[project], catalogue,
                                                    outcome.projects[project]))
                     .first;
        return it->second;
    };
    for (size_t p = 0; p < workspace.projects.size(); ++p) {
        outcome.projects[p].entries = workspace.projects[p].options;
        outcome.projects[p].origin.clear();
        for (size_t k = 0; k < workspace.projects[p].options.size(); ++k)
            outcome.projects[p].origin.push_back(static_cast<int>(k));
    }
    // File types and project-wide records first: a file without an entry of
    // its own follows its type.
    for (int pass = 0; pass < 2; ++pass) {
        for (const EditItem& item : items) {
            if ((item.kind == EditItemKind::File) != (pass == 1)) continue;
            if (item.after.size() != item.configs.size()) continue;
            editorOf(item.project).Apply(item);
        }
    }
    for (const EditItem& item : items) {
        for (size_t c = 0; c < item.configs.size() && c < item.after.size(); ++c) {
            if (item.before[c] == item.after[c]) continue;
            outcome.changes.push_back({workspace.projects[item.project].name,
                                       catalogue.phases[item.phase].name, ItemName(item),
                                       item.configs[c], item.before[c], item.after[c]});
        }
    }
    return outcome;
}

std::optional<std::string> RenderWorkspace(const std::string& originalText,
                                           const EditOutcome& outcome, std::string& error) {
    using nlohmann::ordered_json;
    try {
        ordered_json root = ordered_json::parse(originalText, nullptr, true, true);
        ordered_json& projects = root.at("projects");
        for (size_t p = 0; p < outcome.projects.size() && p < projects.size(); ++p) {
            const EditedEntries& edited = outcome.projects[p];
            if (!edited.rewritten) continue;
            ordered_json& project = projects[p];
            ordered_json old =
                project.contains("options") ? project["options"] : ordered_json::array();
            ordered_json entries = ordered_json::array();
            for (size_t k = 0; k < edited.entries.size(); ++k) {
                int origin = edited.origin[k];
                if (origin >= 0 && static_cast<size_t>(origin) < old.size()) {
                    entries.push_back(old[static_cast<size_t>(origin)]);
                    continue;
                }
                const OptionEntry& e = edited.entries[k];
                ordered_json entry = ordered_json::object();
                entry["phase"] = e.phase;
                if (!e.fileType.empty()) entry["fileType"] = e.fileType;
                if (!e.file.empty()) entry["file"] = e.file;
                if (!e.config.empty()) entry["config"] = e.config;
                entry["value"] = e.value;
                entries.push_back(std::move(entry));
            }
            project["options"] = std::move(entries);
        }
        return root.dump(2) + "\n";
    } catch (const std::exception& e) {
        error = e.what();
        return std::nullopt;
    }
}

WriteOutcome WriteWorkspaceIfUnchanged(const std::string& path, const std::string& original,
                                       const std::string& text, std::string& error) {
    // Through a link to the file itself: the link stays, and its target is
    // the workspace that gets the edit.
    std::string target = platform::FinalPath(path).value_or(path);
    auto now = platform::ReadFile(target, false);
    if (!now || *now != original) {
        error = path + " changed on disk while the options sheet was open; nothing written";
        return WriteOutcome::ChangedOnDisk;
    }
    if (!platform::MayModifyFile(target)) {
        error = path + " is read-only; nothing written";
        return WriteOutcome::ReadOnly;
    }
    std::string dir = std::filesystem::path(target).parent_path().string();
    auto temp = platform::CreateTempFile(dir, "qws");
    // The mode is set before any byte is written, so a private workspace is
    // never readable by others, not even for a moment.
    if (!temp || !platform::CopyFileMode(target, *temp) ||
        !platform::WriteFile(*temp, text, false)) {
        if (temp) platform::DeleteFile(*temp);
        error = "cannot write a temporary file in " + dir;
        return WriteOutcome::Failed;
    }
    if (!platform::ReplaceFile(*temp, target)) {
        platform::DeleteFile(*temp);
        error = "cannot replace " + target;
        return WriteOutcome::Failed;
    }
    return WriteOutcome::Written;
}

std::vector<std::string> DescribeChange(const std::string& before, const std::string& after) {
    // Key -> the values of its tokens, in order.
    auto values = [](const std::string& text) {
        std::map<std::string, std::string> out;
        for (const std::string& raw : options::SplitOptionString(text)) {
            std::string token = options::TokenBody(raw);
            size_t bar = token.find('|');
            size_t second = bar == std::string::npos ? std::string::npos : token.find('|', bar + 1);
            std::string key =
                bar == std::string::npos
                    ? token
                    : token.substr(bar + 1, second == std::string::npos ? std::string::npos
                                                                        : second - bar - 1);
            std::string value =
                second == std::string::npos ? std::string() : token.substr(second + 1);
            std::string& slot = out[key];
            slot += (slot.empty() ? "" : " ") + value;
        }
        return out;
    };
    std::map<std::string, std::string> was = values(before), now = values(after);
    std::set<std::string> keys;
    for (const auto& [key, value] : was) keys.insert(key);
    for (const auto& [key, value] : now) keys.insert(key);
    std::vector<std::string> lines;
    for (const std::string& key : keys) {
        auto a = was.find(key), b = now.find(key);
        std::string oldValue = a == was.end() ? "(none)" : a->second;
        std::string newValue = b == now.end() ? "(none)" : b->second;
        if (oldValue != newValue) lines.push_back(key + ": " + oldValue + " -> " + newValue);
    }
    return lines;
}

} // namespace quorle::host
