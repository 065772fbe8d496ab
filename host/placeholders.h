// The IDE's placeholders, "$(NAME)", expanded before texts reach the plug-in.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>

namespace quorle::host {

// Ordered with a transparent comparison, so a name is looked up without a copy.
using PlaceholderMap = std::map<std::string, std::string, std::less<>>;

// One more name and value, looked at before the map: a step's "$(FILELEAF)",
// without copying the project's map for each step.
struct ExtraPlaceholder {
    std::string_view name;
    std::string_view value;
};

// Replaces every "$(NAME)" whose NAME is in `values`; values may themselves
// hold placeholders (expanded up to a fixed depth, so a cycle stays finite).
// Unknown names are left as they stand.
std::string ExpandPlaceholders(std::string_view text, const PlaceholderMap& values,
                               ExtraPlaceholder extra = {});

// The leaf of a path without its extension: "src\\main.c" gives "main".
std::string FileLeaf(std::string_view path);

} // namespace quorle::host
