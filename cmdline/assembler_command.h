// The GNU assembler argument list and the makefile form built from an
// assembler options model: arguments separated by line feeds, empty ones
// left out, ending with a line feed.
#pragma once

#include <string>

#include "cmdline/command_text.h"
#include "models/assembler_model.h"

namespace quorle::cmdline {

std::string BuildAssemblerArguments(const models::AssemblerModel& model);
// The second form of the call; the flag adds nothing to the list.
std::string BuildAssemblerArguments(const models::AssemblerModel& model, bool extraFlag);

// The makefile form; `rewriteMakefilePath` is the hook through which the
// makefile writer substitutes every path before it is quoted.
std::string BuildAssemblerMakefileArguments(const models::AssemblerModel& model,
                                            const PathWriter& rewriteMakefilePath);

} // namespace quorle::cmdline
