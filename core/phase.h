// Phase names and indices.
#pragma once

#include <string_view>

namespace quorle {

enum PhaseIndex : int {
    kPhaseUnknown = -1,
    kPhaseCompiler = 0,
    kPhaseAssembler = 1,
    kPhaseLinker = 2,
    kPhaseGenerator = 3,
    kPhaseDebug = 4,
    kPhaseLibrarian = 5,
    kPhaseStypeConverter = 6,
};

// Case-sensitive suffix match against the nine-row phase-name table; a null
// name is unknown.
PhaseIndex LookupPhase(const char* name);
PhaseIndex LookupPhase(std::string_view name);
// The first table name with this index ("OptLinker" for the linker), or empty.
std::string_view PhaseName(PhaseIndex index);
// True for the four phases the plug-in implements.
inline bool IsImplementedPhase(PhaseIndex index) {
    return index >= 0 && index <= 3;
}

} // namespace quorle
