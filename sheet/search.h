// The search every view offers: controls of every page where each word typed
// begins a word of the label, option key, help (the tool flag it produces) or
// choices, without regard to case or to a flag's leading dashes.
#pragma once

#include <string>
#include <vector>

#include "sheet/sheet_view.h"

namespace quorle::sheet {

// Lower-case words of a text, leading dashes dropped ("(-Map=)" gives "map").
std::vector<std::string> SearchWords(const std::string& text);
std::vector<size_t> SearchControls(const std::vector<FaceControl>& controls,
                                   const std::string& text);
// "Tab / Category / Label  (help)" for the result list.
std::string SearchHitText(const FaceControl& control);

} // namespace quorle::sheet
