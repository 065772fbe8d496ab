// Host phase records built in memory the way a host lays them out, with the
// storage they point to, and a project information record.
#pragma once

#include <cstdlib>
#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "interface/quorle.h"

namespace quorle::sheet_test {

inline constexpr const char* kCorvo = "Dravik GNUCORVO [ELF]";

struct FileSpec {
    std::string path;
    std::string type;             // "" for the project record of a project-wide phase
    std::vector<int32_t> indices; // per configuration
};

struct ProjectSpec {
    std::string name;
    std::vector<std::string> configs;
    std::vector<FileSpec> files;
};

struct PhaseInput {
    std::string name;
    std::vector<std::string> inputs;
    std::vector<ProjectSpec> projects;
};

class HostRecordsFixture {
  public:
    explicit HostRecordsFixture(std::vector<PhaseInput> phaseInputs) : inputs_(std::move(phaseInputs)) {
        for (PhaseInput& phase : inputs_) {
            auto& record = phases_.emplace_back();
            record.size = sizeof(QuorlePhaseRecord);
            record.phase = phase.name.c_str();
            auto& inputs = pointerLists_.emplace_back();
            for (const std::string& text : phase.inputs) inputs.push_back(text.c_str());
            inputs.push_back(nullptr);
            record.options = inputs.data();
            auto& projectList = projectLists_.emplace_back();
            for (ProjectSpec& project : phase.projects) {
                auto& entry = projects_.emplace_back();
                entry.size = sizeof(QuorleProjectEntry);
                entry.name = project.name.c_str();
                entry.dir = project.name.c_str();
                auto& configList = configLists_.emplace_back();
                for (const std::string& config : project.configs) {
                    auto& c = configs_.emplace_back();
                    c.size = sizeof(QuorleConfigRecord);
                    c.name = config.c_str();
                    c.dir = config.c_str();
                    configList.push_back(&c);
                }
                configList.push_back(nullptr);
                entry.configs = configList.data();
                auto& fileList = fileLists_.emplace_back();
                for (FileSpec& file : project.files) {
                    auto& f = files_.emplace_back();
                    f.size = sizeof(QuorleFileRecord);
                    f.path = file.path.c_str();
                    f.fileType = file.type.empty() ? nullptr : file.type.c_str();
                    f.optionIndex = file.indices.data();
                    f.slotA = slots_.emplace_back(file.indices.size(), -7).data();
                    f.slotB = slots_.emplace_back(file.indices.size(), -7).data();
                    fileList.push_back(&f);
                }
                fileList.push_back(nullptr);
                entry.files = fileList.data();
                projectList.push_back(&entry);
            }
            projectList.push_back(nullptr);
            record.projects = projectList.data();
        }
        for (auto& record : phases_) list_.push_back(&record);
        list_.push_back(nullptr);
    }

    ~HostRecordsFixture() {
        for (auto& record : phases_) FreeOutput(record);
    }
    HostRecordsFixture(const HostRecordsFixture&) = delete;
    HostRecordsFixture& operator=(const HostRecordsFixture&) = delete;

    QuorlePhaseRecord* const* List() { return list_.data(); }
    QuorlePhaseRecord& Phase(size_t i) { return phases_[i]; }
    // The file records in creation order (phase by phase, project by project).
    QuorleFileRecord& File(size_t i) { return files_[i]; }
    QuorleProjectEntry& Project(size_t i) { return projects_[i]; }
    QuorleConfigRecord& Config(size_t i) { return configs_[i]; }

    // The strings the sheet stored in the output slot; empty when none.
    std::vector<std::string> Output(size_t phase) const {
        std::vector<std::string> out;
        char** array = phases_[phase].newOptions;
        for (char** p = array; p != nullptr && *p != nullptr; ++p) out.emplace_back(*p);
        return out;
    }
    bool HasOutput(size_t phase) const { return phases_[phase].newOptions != nullptr; }
    // The string that now applies to file record `file` in configuration `config`.
    std::string NewString(size_t phase, size_t file, size_t config) const {
        return Output(phase).at(static_cast<size_t>(files_[file].slotB[config]));
    }
    const PhaseInput& Input(size_t phase) const { return inputs_[phase]; }

  private:
    static void FreeOutput(QuorlePhaseRecord& record) {
        if (record.newOptions == nullptr) return;
        for (char** p = record.newOptions; *p != nullptr; ++p) std::free(*p);
        std::free(record.newOptions);
        record.newOptions = nullptr;
    }

    std::vector<PhaseInput> inputs_;
    std::deque<QuorlePhaseRecord> phases_;
    std::deque<QuorleProjectEntry> projects_;
    std::deque<QuorleConfigRecord> configs_;
    std::deque<QuorleFileRecord> files_;
    std::deque<std::vector<const char*>> pointerLists_;
    std::deque<std::vector<QuorleProjectEntry*>> projectLists_;
    std::deque<std::vector<QuorleConfigRecord*>> configLists_;
    std::deque<std::vector<QuorleFileRecord*>> fileLists_;
    std::deque<std::vector<int32_t>> slots_;
    std::vector<QuorlePhaseRecord*> list_;
};

// A project information record whose texts live in the object.
class ProjectInfoFixture {
  public:
    ProjectInfoFixture(std::string toolchain, std::string workspaceDir,
                       std::string configName = "Debug")
        : toolchain_(std::move(toolchain)), workspaceDir_(std::move(workspaceDir)),
          config_(std::move(configName)) {
        info_.size = sizeof(QuorleProjectInfo);
        info_.cpuSeries = series_.c_str();
        info_.toolchainName = toolchain_.c_str();
        info_.projectName = project_.c_str();
        info_.projectDir = workspaceDir_.c_str();
        info_.configName = config_.c_str();
        info_.configDir = workspaceDir_.c_str();
        info_.workspaceSettingsName = settings_.c_str();
        info_.workspaceDir = workspaceDir_.c_str();
        info_.toolchainDir = workspaceDir_.c_str();
        info_.hostDir = workspaceDir_.c_str();
        info_.tempDir = workspaceDir_.c_str();
        info_.userPlaceholders = placeholders_;
    }
    QuorleProjectInfo* Get() { return &info_; }
    // The settings file the sheet reads and writes.
    std::string SettingsFile() const { return workspaceDir_ + "/ws.Vbp"; }

  private:
    std::string toolchain_, workspaceDir_, config_;
    std::string series_ = "TAMSINA", project_ = "demo", settings_ = "ws";
    char placeholders_[2] = {0, 0};
    QuorleProjectInfo info_{};
};

} // namespace quorle::sheet_test
