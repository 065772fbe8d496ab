#include "output/line_parts.h"

namespace quorle::output::detail {
namespace {

bool ContainsAny(std::string_view word, std::string_view lower, std::string_view title,
                 std::string_view upper) {
    return word.find(lower) != std::string_view::npos ||
           word.find(title) != std::string_view::npos || word.find(upper) != std::string_view::npos;
}

} // namespace

std::vector<std::string_view> SplitWords(std::string_view line) {
    std::vector<std::string_view> words;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && line[i] == ' ') ++i;
        size_t start = i;
        while (i < line.size() && line[i] != ' ') ++i;
        if (i > start) words.push_back(line.substr(start, i - start));
    }
    return words;
}

bool HasErrorKeyword(std::string_view word) {
    return ContainsAny(word, "error", "Error", "ERROR");
}

bool HasWarningKeyword(std::string_view word) {
    return ContainsAny(word, "warning", "Warning", "WARNING");
}

bool HasFatalKeyword(std::string_view word) {
    return ContainsAny(word, "fatal", "Fatal", "FATAL");
}

bool StartsWithAnyOf(std::string_view prefixes, std::string_view line) {
    while (!prefixes.empty()) {
        size_t end = prefixes.find('\n');
        std::string_view prefix = prefixes.substr(0, end);
        // An empty entry would match every line; the lists hold none, so skip it.
        if (!prefix.empty() && line.substr(0, prefix.size()) == prefix) return true;
        if (end == std::string_view::npos) break;
        prefixes.remove_prefix(end + 1);
    }
    return false;
}

} // namespace quorle::output::detail
