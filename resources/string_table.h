// Lookup of the module's numbered strings.
#pragma once

#include <optional>
#include <string>

namespace quorle {

// The string with this number, or nothing when the table has no such entry.
std::optional<std::string> LoadModuleString(int id);

} // namespace quorle
