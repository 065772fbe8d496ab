// The option strings a new project, configuration or file starts with.
#pragma once

#include "core/phase.h"
#include <string>
#include <string_view>

namespace quorle {

// The default option string of a phase for a configuration and (compiler and
// assembler only) a file type. Compiler and assembler rows match the
// configuration ignoring case and the file type exactly; linker and generator
// rows match the configuration exactly. No matching row gives "".
std::string DefaultOptions(PhaseIndex phaseIndex, std::string_view configuration,
                           std::string_view fileType);

} // namespace quorle
