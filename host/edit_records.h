// The phase records `quorle-host edit` hands to EditOptions: every selected
// project with its configurations, files and file-type defaults, each phase's
// distinct option strings, and the new strings read back from the slots the
// plug-in fills.
#pragma once

#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "host/workspace.h"
#include "interface/quorle.h"

namespace quorle::host {

class PluginCalls;

struct EditPhase {
    std::string name;    // as the workspace names it ("GNU Compiler")
    bool single = false; // one record per project (linker, library generator)
    std::vector<std::string> inputTypes;
};

// What the records need from the plug-in's catalogue.
struct EditCatalogue {
    std::vector<EditPhase> phases;                               // in build order
    std::vector<std::pair<std::string, std::string>> extensions; // upper-case extension, type
    // The default option string of a phase, configuration and file type.
    std::function<std::optional<std::string>(const std::string& phase, const std::string& config,
                                             const std::string& fileType)>
        defaults;
};

std::optional<EditCatalogue> LoadEditCatalogue(const PluginCalls& calls,
                                               const std::vector<std::string>& phaseNames,
                                               std::string& error);

// The path of a file record that stands for its file type's defaults.
inline constexpr const char* kDefaultOptionsPath = "default options";

enum class EditItemKind { File, FileTypeDefault, Project };

// One file record: a source file, a file type's defaults, or the single
// record of a project-wide phase.
struct EditItem {
    size_t project = 0; // index into Workspace::projects
    size_t phase = 0;   // index into EditCatalogue::phases
    EditItemKind kind = EditItemKind::File;
    std::string file;                 // as listed in the workspace; empty for the other kinds
    std::string fileType;             // empty for a project-wide phase
    std::vector<std::string> configs; // the project's configurations, in record order
    std::vector<std::string> before;  // the option string per configuration
    std::vector<std::string> after;   // filled by ReadResult
};

// The option string that applies to a step: the workspace's entry, else the
// plug-in's default (empty when there is none).
std::string ResolveOptions(const Project& project, const EditCatalogue& catalogue,
                           const std::string& phase, const std::string& config,
                           const std::string& fileType, const std::string& file);

class EditRecords {
  public:
    // `projects` are indices into `workspace.projects`.
    static std::unique_ptr<EditRecords> Build(const Workspace& workspace,
                                              const std::vector<size_t>& projects,
                                              const EditCatalogue& catalogue);
    EditRecords(const EditRecords&) = delete;
    EditRecords& operator=(const EditRecords&) = delete;
    ~EditRecords() = default;

    // The NULL-terminated phase-record list for EditOptions.
    QuorlePhaseRecord* const* Records() { return recordList_.data(); }
    const std::vector<EditItem>& items() const { return items_; }
    // The distinct input option strings of phase `phase`.
    const std::vector<std::string>& Inputs(size_t phase) const { return phases_[phase].inputs; }

    // After EditOptions answered 0: the new string of every item and
    // configuration, from the output array and the second slot array. False
    // with `error` when the plug-in left them unusable.
    bool ReadResult(std::string& error);
    // Gives every block the plug-in put in the output slots back to it.
    void FreeResult(void(QUORLE_CALL* freeBlock)(void*));

  private:
    EditRecords() = default;

    struct FileStore {
        QuorleFileRecord record{};
        std::vector<int32_t> indices, slotA, slotB;
    };
    struct ProjectStore {
        QuorleProjectEntry entry{};
        std::vector<QuorleConfigRecord*> configList;
        std::vector<QuorleFileRecord*> fileList;
    };
    struct PhaseStore {
        QuorlePhaseRecord record{};
        std::vector<std::string> inputs;
        std::vector<const char*> inputList;
        std::vector<QuorleProjectEntry*> projectList;
    };

    const char* Keep(const std::string& text);

    std::deque<std::string> texts_;
    std::deque<QuorleConfigRecord> configs_;
    std::deque<FileStore> files_; // parallel to items_
    std::deque<ProjectStore> projects_;
    std::deque<PhaseStore> phases_;
    std::vector<QuorlePhaseRecord*> recordList_;
    std::vector<EditItem> items_;
};

} // namespace quorle::host
