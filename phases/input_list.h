// The host's input-file lists: "path|file type" entries, each ended by NUL,
// the list ended by an empty entry.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorle::phases {

// The entries of a NUL-separated list (a null list has none).
std::vector<std::string> SplitInputList(const char* list);

struct InputEntry {
    std::string path;
    std::string fileType;
};
// Splits an entry at its first "|"; nothing when it has none.
std::optional<InputEntry> ParseInputEntry(std::string_view entry);

// Every entry's path in double quotes, joined by newlines; nothing when an
// entry has no "|". `rewrite` (when given) turns each path first.
template <typename Rewrite>
std::optional<std::string> QuotedInputPaths(const std::vector<std::string>& entries,
                                            Rewrite rewrite) {
    std::string text;
    for (const std::string& entry : entries) {
        auto parsed = ParseInputEntry(entry);
        if (!parsed) return std::nullopt;
        if (!text.empty()) text += '\n';
        text += '"';
        text += rewrite(parsed->path);
        text += '"';
    }
    return text;
}

std::optional<std::string> QuotedInputPaths(const std::vector<std::string>& entries);

} // namespace quorle::phases
