// Lookup of the module's numbered strings.
#pragma once

#include <optional>
#include <string>

namespace quorle {

// The string with this number, or nothing when the table has no such entry.
std::optional<std::string> LoadModuleString(int id);

// An options editor text from the table its resource library is built from
// (sheet_strings.inc), whichever module is current.
std::optional<std::string> LibraryTableString(int id);

} // namespace quorle
