// The plug-in's text lists and records as the host reads them.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace quorle::host {

// Entries of a NUL-separated list ending with an empty entry. Reading stops
// at the empty entry or at `size` bytes, whichever comes first.
std::vector<std::string> SplitNulList(const char* data, size_t size);

// Splits at every `separator`; "a|b|" gives {"a", "b", ""}.
std::vector<std::string> SplitAll(std::string_view text, char separator);

// Builds a NUL-separated list with its terminating empty entry.
std::string JoinNulList(const std::vector<std::string>& entries);

// Splits an argument text into arguments: blanks, tabs and line ends
// separate, double quotes group and are removed, backslashes are literal.
std::vector<std::string> SplitArguments(std::string_view text);

} // namespace quorle::host
