// The command-line preview of common tokens: what every selected model of a
// tool tab's phase passes to its tool.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sheet/tree.h"

namespace quorle::sheet {

// A model's command line for the preview: compiler, assembler, linker (with
// "$(CONFIGDIR)" as the configuration directory; "@" and the file for a user
// sub-command file) or library generator. `fileType` sets the compiler's
// language when the string does not.
std::string PreviewCommandLine(const COptionSet& set, std::string_view fileType);

// Splits at line feeds, keeping double-quoted text together; empty tokens dropped.
std::vector<std::string> CommandTokens(std::string_view commandLine);

// The first list's tokens that occur in every other list, in the first's
// order, joined by single blanks.
std::string CommonTokens(const std::vector<std::vector<std::string>>& lists);

// The preview of the selected leaves of `phase`: one command line per
// distinct set.
std::string PreviewOf(const std::vector<CLeaf*>& selection, int phase);

} // namespace quorle::sheet
