// The few settings of each phase's option string that the scans use.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/user_message.h"
#include "depend/scan_command.h"

namespace quorle::depend {

struct CompilerScanSettings {
    std::vector<std::string> macros;      // "NAME" or "NAME=VALUE"
    std::vector<std::string> includeDirs; // as written in the options
    ScanTarget target;
};
CompilerScanSettings ReadCompilerScanSettings(std::string_view fileType,
                                              std::string_view optionString);

struct AssemblerScanSettings {
    std::vector<std::string> includeDirs;
    bool skipMissing = false; // "B|SKIPDEPENDENCY|1"
};
AssemblerScanSettings ReadAssemblerScanSettings(std::string_view optionString);

// The linker's sub-command file when the options select one and name it.
// The linker model is read with `mapOptimisationFile` as its map file.
struct LinkerSubcommandFile {
    std::optional<std::string> path;
    UserMessages messages;
};
LinkerSubcommandFile ReadLinkerSubcommandFile(std::string_view optionString,
                                              std::string_view mapOptimisationFile);

} // namespace quorle::depend
