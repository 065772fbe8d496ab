// The IDE's placeholders, "$(NAME)", expanded before texts reach the plug-in.
#pragma once

#include <map>
#include <string>
#include <string_view>

namespace quorle::host {

using PlaceholderMap = std::map<std::string, std::string>;

// Replaces every "$(NAME)" whose NAME is in `values`; values may themselves
// hold placeholders (expanded up to a fixed depth, so a cycle stays finite).
// Unknown names are left as they stand.
std::string ExpandPlaceholders(std::string_view text, const PlaceholderMap& values);

// The leaf of a path without its extension: "src\\main.c" gives "main".
std::string FileLeaf(std::string_view path);

} // namespace quorle::host
