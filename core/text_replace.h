// Replacing every occurrence of a text, for paths and script lines.
#pragma once

#include <string>
#include <string_view>

namespace quorle::core {

// Replaces each occurrence of `from`, left to right and without overlap;
// text put in by a replacement is not searched again. An empty `from`
// changes nothing.
void ReplaceAll(std::string& text, std::string_view from, std::string_view to);
// The same on a copy.
std::string ReplacedAll(std::string_view text, std::string_view from, std::string_view to);

} // namespace quorle::core
