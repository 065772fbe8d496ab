#include "cmdline/command_text.h"

#include "options/option_string.h"

namespace quorle::cmdline {

std::string QuotePath(std::string_view path) {
    std::string quoted;
    quoted.reserve(path.size() + 2);
    quoted += '"';
    // A quote inside would end the argument early: gcc's argument files take
    // a backslash before it as a plain quote.
    for (char c : path) {
        if (c == '"') quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    return quoted;
}

std::string OneArgument(std::string_view text) {
    if (text.find_first_of(" \t\r\n\"") == std::string_view::npos) return std::string(text);
    return QuotePath(text);
}

void CommandText::Line(std::string_view line) {
    if (line.empty()) return;
    text_ += line;
    text_ += '\n';
}

void CommandText::Lines(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(pos, end - pos);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        Line(line);
        pos = end + 1;
    }
}

std::string CommandText::Finish() && {
    if (text_.empty()) text_ = "\n";
    return std::move(text_);
}

std::vector<std::string> SplitWords(std::string_view text) {
    return options::SplitOptionString(text);
}

} // namespace quorle::cmdline
