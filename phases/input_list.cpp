#include "phases/input_list.h"

#include <cstring>

namespace quorle::phases {

std::vector<std::string> SplitInputList(const char* list) {
    std::vector<std::string> entries;
    if (list == nullptr) return entries;
    while (*list != '\0') {
        size_t length = std::strlen(list);
        entries.emplace_back(list, length);
        list += length + 1;
    }
    return entries;
}

std::optional<InputEntry> ParseInputEntry(std::string_view entry) {
    size_t bar = entry.find('|');
    if (bar == std::string_view::npos) return std::nullopt;
    return InputEntry{std::string(entry.substr(0, bar)), std::string(entry.substr(bar + 1))};
}

std::optional<std::string> QuotedInputPaths(const std::vector<std::string>& entries) {
    return QuotedInputPaths(entries, [](const std::string& path) { return path; });
}

} // namespace quorle::phases
