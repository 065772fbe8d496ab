// File-name wildcards matched the way FindFirstFile matches them.
#pragma once

#include <string>

namespace quorle::platform {

// "*" matches any run of characters, "?" one character; letters compare
// without regard to case; "*.*" matches every name, with or without a dot.
bool WildcardMatch(const std::string& mask, const std::string& name);

} // namespace quorle::platform
