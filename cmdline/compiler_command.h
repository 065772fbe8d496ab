// The compiler command text: the gcc arguments of one compile, one argument
// group per line, ending with a line feed.
#pragma once

#include <string>
#include <string_view>

#include "cmdline/command_text.h"
#include "models/compiler_model.h"

namespace quorle::cmdline {

// `inputText`: each source of the call in double quotes, one per line.
std::string BuildCompilerCommand(const models::CompilerModel& model, std::string_view inputText);

// The makefile variant: no language line, pieces in the makefile order, and
// every path (include directories, pre-include files, file-inline paths,
// list file, output file) passed through `rewriteMakefilePath`, the hook the
// makefile writer supplies to make paths relative to the makefile.
std::string BuildCompilerMakefileCommand(const models::CompilerModel& model,
                                         std::string_view inputText,
                                         const PathWriter& rewriteMakefilePath);

} // namespace quorle::cmdline
