// Target flags of a CPU setting: the CPU type's flag, the byte-order flag and
// the family flags, as the compiler and the library generator give them.
#pragma once

#include <string>
#include <vector>

#include "models/cpu_options.h"

namespace quorle::cmdline {

enum class TargetFlagUse {
    CompilerCommand, // every family flag
    Generator,       // Zenta position 8 gives nothing
};

// One item per flag group, in order; empty items are left out. A CPU row
// whose flag holds two flags gives them as one item separated by a blank.
std::vector<std::string> TargetFlags(const models::CpuOptions& cpu,
                                     TargetFlagUse use = TargetFlagUse::CompilerCommand);

} // namespace quorle::cmdline
