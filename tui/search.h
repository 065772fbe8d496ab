// The "/" search: controls of every page whose label, option key or help
// (the tool flag it produces) holds the text, without regard to case.
#pragma once

#include <string>
#include <vector>

#include "sheet/terminal_face.h"

namespace quorle::tui {

std::vector<size_t> SearchControls(const std::vector<sheet::FaceControl>& controls,
                                   const std::string& text);
// "Tab / Category / Label  (help)" for the result list.
std::string SearchHitText(const sheet::FaceControl& control);

} // namespace quorle::tui
