// The exports the build driver uses, wrapped so that buffers grow to the
// size the plug-in asks for and results come back as strings and lists.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/plugin.h"

namespace quorle::host {

struct DependencyItem {
    std::string path; // empty for an error item
    bool system = false;
    std::string type;
    std::string error; // the message of an "ERROR|" item
};

struct LineInfo {
    bool isMessage = false;
    int errors = 0;
    int warnings = 0;
    int fatals = 0;
    std::string file; // "None" when unknown
    std::string line; // "None" when unknown
    std::string number;
    std::string message;
};

struct PrePhaseResult {
    int result = 1; // 0 run the tool, 1 failure, 2 nothing to do
    std::string command;
    std::string directory;
};

class PluginCalls {
  public:
    explicit PluginCalls(const PluginApi& api) : api_(api) {}

    std::optional<std::vector<std::string>> PhaseInformation(const std::string& phase) const;
    std::optional<std::vector<std::string>> InputFileTypes(const std::string& phase) const;
    std::optional<std::vector<std::string>> SupportedFileExtensions() const;
    std::optional<std::string> DefaultOptions(const std::string& phase, const std::string& config,
                                              const std::string& fileType) const;
    std::string DisplayText(const std::string& phaseDisplayName, const std::string& event) const;
    // The text the IDE shows for a tool command: the command and the lines
    // of its sub-command file; empty when the plug-in gives none.
    std::string CommandDisplay(const std::string& command) const;
    std::optional<std::vector<std::string>> OutputFiles(const std::string& phase,
                                                        const std::string& options,
                                                        const QuorleProjectInfo& info) const;
    // Dependency items, or nullopt when the call failed.
    std::optional<std::vector<DependencyItem>>
    FileDependencies(const std::string& phase, const std::string& file, const std::string& fileType,
                     const std::string& options, bool continuation,
                     const QuorleProjectInfo& info) const;
    void ResetDependencies(const std::string& phase, const QuorleProjectInfo& info) const;
    PrePhaseResult PrePhase(const std::string& phase, const std::string& inputList,
                            const std::string& options, const QuorleProjectInfo& info) const;
    int PostPhase(const std::string& phase, const std::string& options, const std::string& command,
                  const QuorleProjectInfo& info) const;
    std::optional<LineInfo> OutputLineInfo(const std::string& phase, const std::string& line,
                                           const QuorleProjectInfo& info) const;

    struct MakefileTexts {
        int result = 1;
        std::string command;    // NUL separators turned into line feeds
        std::string subcommand; // may be empty
    };
    MakefileTexts MakefileCommand(const std::string& phase, const std::string& inputList,
                                  const std::string& options, const std::string& baseDir,
                                  const QuorleProjectInfo& info) const;

    const PluginApi& api() const { return api_; }

  private:
    const PluginApi& api_;
};

// Parses one dependency item ("path|TRUE|type" or "ERROR|message").
DependencyItem ParseDependencyItem(const std::string& item);
// Parses an output-line record "file|line|number|message".
void ParseLineRecord(const std::string& record, LineInfo& info);

} // namespace quorle::host
