// The fixed catalogue of the four phases: how each takes part in a build and
// which file types it consumes and produces.
#pragma once

#include <optional>
#include <string>

namespace quorle {

// Texts in the internal list form: every entry ends with "\n" and the list
// with an empty entry. Nothing for a phase outside the four implemented ones.
std::optional<std::string> PhaseInformation(int phaseIndex);
std::optional<std::string> InputFileTypes(int phaseIndex);
std::optional<std::string> OutputFileTypes(int phaseIndex);

} // namespace quorle
