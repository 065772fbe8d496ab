#include "core/phase.h"

namespace quorle {
namespace {

struct PhaseRow {
    std::string_view name;
    PhaseIndex index;
};

// Searched in this order: the first row whose name ends the given name wins.
constexpr PhaseRow kPhaseNames[] = {
    {"Generator", kPhaseGenerator},
    {"Compiler", kPhaseCompiler},
    {"Assembler", kPhaseAssembler},
    {"OptLinker", kPhaseLinker},
    {"OPTIMIZER", kPhaseLinker},
    {"Linker", kPhaseLinker},
    {"Debug", kPhaseDebug},
    {"Librarian", kPhaseLibrarian},
    {"Stype Converter", kPhaseStypeConverter},
};

} // namespace

PhaseIndex LookupPhase(std::string_view name) {
    for (const PhaseRow& row : kPhaseNames) {
        std::string_view tail =
            name.size() > row.name.size() ? name.substr(name.size() - row.name.size()) : name;
        if (tail == row.name) return row.index;
    }
    return kPhaseUnknown;
}

PhaseIndex LookupPhase(const char* name) {
    return name == nullptr ? kPhaseUnknown : LookupPhase(std::string_view(name));
}

std::string_view PhaseName(PhaseIndex index) {
    for (const PhaseRow& row : kPhaseNames)
        if (row.index == index) return row.name;
    return {};
}

} // namespace quorle
