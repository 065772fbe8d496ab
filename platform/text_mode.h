// Shared by both platform implementations: the text-mode line-end rule.
#pragma once

#include <string>

namespace quorle::platform {

// CR LF folded to LF, as a text-mode read delivers it.
std::string FoldCrLf(const std::string& bytes);

} // namespace quorle::platform
