// "Did you mean ...": the nearest of a list of known words.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace quorle::host {

// Edit distance (insert, delete, replace, swap of neighbours), compared
// without regard to ASCII case.
size_t EditDistance(std::string_view a, std::string_view b);

// The candidate nearest to `word`, or an empty text when none is near
// enough to be a likely misspelling.
std::string Closest(std::string_view word, const std::vector<std::string>& candidates);

// " (did you mean \"x\"?)" for a near candidate, otherwise an empty text.
std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates);

} // namespace quorle::host
