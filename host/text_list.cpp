#include "host/text_list.h"

namespace quorle::host {

std::vector<std::string> SplitNulList(const char* data, size_t size) {
    std::vector<std::string> entries;
    size_t start = 0;
    while (start < size) {
        size_t end = start;
        while (end < size && data[end] != '\0') ++end;
        if (end == start) break; // the empty entry ends the list
        entries.emplace_back(data + start, end - start);
        start = end + 1;
    }
    return entries;
}

std::vector<std::string> SplitAll(std::string_view text, char separator) {
    std::vector<std::string> parts;
    size_t start = 0;
    for (;;) {
        size_t bar = text.find(separator, start);
        if (bar == std::string_view::npos) {
            parts.emplace_back(text.substr(start));
            return parts;
        }
        parts.emplace_back(text.substr(start, bar - start));
        start = bar + 1;
    }
}

std::string JoinNulList(const std::vector<std::string>& entries) {
    std::string list;
    for (const std::string& entry : entries) {
        list += entry;
        list += '\0';
    }
    list += '\0';
    return list;
}

std::vector<std::string> SplitArguments(std::string_view text) {
    std::vector<std::string> args;
    std::string current;
    bool inWord = false;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') {
            quoted = !quoted;
            inWord = true;
        } else if (!quoted && (c == ' ' || c == '\t' || c == '\r' || c == '\n')) {
            if (inWord) args.push_back(current);
            current.clear();
            inWord = false;
        } else {
            current += c;
            inWord = true;
        }
    }
    if (inWord) args.push_back(current);
    return args;
}

} // namespace quorle::host
