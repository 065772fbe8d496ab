#include "core/catalogue.h"

#include <string_view>

#include "core/phase.h"

namespace quorle {
namespace {

struct PhaseRow {
    int index;
    std::string_view information; // already a complete list text
    // Unused trailing slots stay empty.
    std::string_view inputs[3];
    std::string_view outputs[6];
};

// The file-type names are the catalogue's own; the library generator's output
// keeps its historical lower-case "file".
const PhaseRow kPhaseRows[] = {
    {kPhaseGenerator, "SINGLE\nPRE_COMPILE\nON\n\n", {}, {"Archive file"}},
    {kPhaseCompiler,
     "MULTIPLE\nCOMPILE\nON\n\n",
     {"C source file", "C++ source file", "Preprocess Assembly file"},
     {"Object file", "Assembly source file"}},
    {kPhaseAssembler, "MULTIPLE\nASSEMBLE\nON\n\n", {"Assembly source file"}, {"Object file"}},
    {kPhaseLinker,
     "SINGLE\nLINK\nON\n\n",
     {"Object file", "Library file", "Relocatable file"},
     {"Relocatable file", "Absolute file", "S-Record file", "Binary file", "Hex file",
      "Library file"}},
};

const PhaseRow* FindRow(PhaseIndex phaseIndex) {
    for (const PhaseRow& row : kPhaseRows)
        if (row.index == phaseIndex) return &row;
    return nullptr;
}

template <size_t N> std::string ToList(const std::string_view (&entries)[N]) {
    std::string text;
    for (std::string_view entry : entries) {
        if (entry.empty()) continue;
        text += entry;
        text += '\n';
    }
    // An empty list still ends in two NUL bytes once copied out, so a host
    // that walks entries to the double NUL stops inside the buffer.
    if (text.empty()) text += '\n';
    text += '\n';
    return text;
}

} // namespace

std::optional<std::string> PhaseInformation(PhaseIndex phaseIndex) {
    const PhaseRow* row = FindRow(phaseIndex);
    if (row == nullptr) return std::nullopt;
    return std::string(row->information);
}

std::optional<std::string> InputFileTypes(PhaseIndex phaseIndex) {
    const PhaseRow* row = FindRow(phaseIndex);
    if (row == nullptr) return std::nullopt;
    return ToList(row->inputs);
}

std::optional<std::string> OutputFileTypes(PhaseIndex phaseIndex) {
    const PhaseRow* row = FindRow(phaseIndex);
    if (row == nullptr) return std::nullopt;
    return ToList(row->outputs);
}

} // namespace quorle
