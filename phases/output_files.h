// The files each phase produces (for GetOutputFiles) and what it contributes
// to a link (for GetLinkerInputFiles), named from the same option models as
// the command lines.
#pragma once

#include "core/phase.h"
#include <optional>
#include <string>
#include <string_view>

namespace quorle::phases {

// The phase's output-file list: "path|file type" entries, each followed by
// "\n", and the list end. Paths are resolved against the configuration
// directory. Nothing on failure.
std::optional<std::string> OutputFileList(PhaseIndex phaseIndex, std::string_view options,
                                          const std::string& configDir);

// The object or library path of a compiler, assembler or generator step
// (its output list up to the first "|"), or, for the linker, the libraries,
// objects and binary files of its options as a text list.
std::optional<std::string> LinkerInputFiles(PhaseIndex phaseIndex, std::string_view options,
                                            const std::string& configDir);

// The main output file of a step as its options name it (not resolved):
// object, linker output or library. Empty for a step without one.
std::string MainOutputFile(PhaseIndex phaseIndex, std::string_view options);

} // namespace quorle::phases
