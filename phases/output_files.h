// The files each phase produces (for GetOutputFiles) and what it contributes
// to a link (for GetLinkerInputFiles), named from the same option models as
// the command lines.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/phase.h"
#include "core/user_message.h"

namespace quorle::phases {

// A list, or nothing on failure, and what the user is to be told about the
// options it was read from.
struct OutputList {
    std::optional<std::string> text;
    UserMessages messages;
};

// The phase's output-file list: "path|file type" entries, each followed by
// "\n", and the list end. Paths are resolved against the configuration
// directory. Nothing on failure.
OutputList OutputFileList(PhaseIndex phaseIndex, std::string_view options,
                          const std::string& configDir);

// The object or library path of a compiler, assembler or generator step
// (its output list up to the first "|"), or, for the linker, the libraries,
// objects and binary files of its options as a text list.
OutputList LinkerInputFiles(PhaseIndex phaseIndex, std::string_view options,
                            const std::string& configDir);

// The main output file of a step as its options name it (not resolved):
// object, linker output or library. Empty for a step without one.
struct MainOutput {
    std::string path;
    UserMessages messages;
};
MainOutput MainOutputFile(PhaseIndex phaseIndex, std::string_view options);

} // namespace quorle::phases
