// Pieces shared by the two link texts (the GNU one and the makefile
// sub-command): line joining, what the output form allows, and the
// move of "|" lines to the end.
#pragma once

#include <string>
#include <string_view>

#include "models/linker_model.h"

namespace quorle::cmdline {

// Values of the model's sub-command type, CPU check mode and prelink choice.
inline constexpr int kSubcommandResponseFile = 0;
inline constexpr int kSubcommandLinkerScript = 1;
inline constexpr int kCpuCheckRanges = 1;
inline constexpr int kCpuCheckInfoFile = 2;
inline constexpr int kPrelinkAuto = 0;
inline constexpr int kPrelinkSkip = 1;

// Appends `line` after a newline; an empty line adds nothing.
void AddLine(std::string& text, std::string_view line);

// Entry, symbol definitions and the symbol checks apply to absolute output.
bool FormAllowsSymbols(const models::LinkerModel& model);
// Binary inputs are placed only where the output is absolute or a ROM image.
bool FormAllowsBinaries(int form);

// A text's lines split into those without and those with a leading "|"
// (the "|" removed), each group in order and joined by newlines.
struct BarSplit {
    std::string plain;
    std::string barred;
};
BarSplit SplitBarLines(std::string_view text);

} // namespace quorle::cmdline
