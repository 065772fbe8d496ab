#include "host/closest.h"

#include <algorithm>

namespace quorle::host {

namespace {

char Fold(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

size_t EditDistance(std::string_view a, std::string_view b) {
    // Three rows of the optimal string alignment table.
    std::vector<size_t> before(b.size() + 1), previous(b.size() + 1), current(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j) previous[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        current[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t cost = Fold(a[i - 1]) == Fold(b[j - 1]) ? 0 : 1;
            current[j] = std::min({previous[j] + 1, current[j - 1] + 1, previous[j - 1] + cost});
            if (i > 1 && j > 1 && Fold(a[i - 1]) == Fold(b[j - 2]) &&
                Fold(a[i - 2]) == Fold(b[j - 1]))
                current[j] = std::min(current[j], before[j - 2] + 1);
        }
        before.swap(previous);
        previous.swap(current);
    }
    return previous[b.size()];
}

std::string Closest(std::string_view word, const std::vector<std::string>& candidates) {
    // A third of the word may be wrong, at least one character.
    size_t limit = std::max<size_t>(1, (word.size() + 2) / 3);
    size_t best = limit + 1;
    std::string found;
    for (const std::string& candidate : candidates) {
        size_t d = EditDistance(word, candidate);
        if (d < best) {
            best = d;
            found = candidate;
        }
    }
    return found;
}

std::string DidYouMean(std::string_view word, const std::vector<std::string>& candidates) {
    std::string near = Closest(word, candidates);
    return near.empty() ? std::string() : " (did you mean \"" + near + "\"?)";
}

} // namespace quorle::host
