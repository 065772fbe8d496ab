// The fixed catalogue of the four phases: how each takes part in a build and
// which file types it consumes and produces.
#pragma once

#include "core/phase.h"
#include <optional>
#include <string>

namespace quorle {

// Texts in the internal list form: every entry ends with "\n" and the list
// with an empty entry. Nothing for a phase outside the four implemented ones.
std::optional<std::string> PhaseInformation(PhaseIndex phaseIndex);
std::optional<std::string> InputFileTypes(PhaseIndex phaseIndex);
std::optional<std::string> OutputFileTypes(PhaseIndex phaseIndex);

} // namespace quorle
