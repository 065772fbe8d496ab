#include "output/line_gcc_context.h"

#include <array>

namespace quorle::output {
namespace {

// What follows "file:" or "file:line:col:" on a context line.
constexpr std::array<std::string_view, 13> kContextPhrases = {
    "In function",         "In member function", "In static member function",
    "In constructor",      "In destructor",      "In lambda function",
    "At top level",        "At global scope",    "In instantiation of",
    "In substitution of",  "required from",      "required by substitution of",
    "In copy constructor",
};

std::string_view TrimLeft(std::string_view text) {
    while (!text.empty() && text.front() == ' ') text.remove_prefix(1);
    return text;
}

bool StartsWith(std::string_view text, std::string_view prefix) {
    return text.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}

// "file:12:" or "file:12:5:" at the start; `rest` is what follows.
bool GnuPosition(std::string_view line, std::string_view& rest) {
    size_t colon = line.find(':');
    // A drive letter's colon belongs to the file.
    if (colon == 1 && line.size() > 2 && (line[2] == '\\' || line[2] == '/'))
        colon = line.find(':', 2);
    while (colon != std::string_view::npos) {
        size_t end = colon + 1;
        while (end < line.size() && IsDigit(line[end])) ++end;
        if (end > colon + 1 && end < line.size() && line[end] == ':') {
            rest = line.substr(end + 1);
            // An optional column after the line number.
            size_t col = 0;
            while (col < rest.size() && IsDigit(rest[col])) ++col;
            if (col > 0 && col < rest.size() && rest[col] == ':') rest.remove_prefix(col + 1);
            return true;
        }
        colon = line.find(':', colon + 1);
    }
    return false;
}

bool IsExcerpt(std::string_view line) {
    size_t i = 0;
    while (i < line.size() && line[i] == ' ') ++i;
    if (StartsWith(line.substr(i), "+++ |+")) return i > 0; // a fix-it suggestion
    size_t digits = i;
    while (digits < line.size() && IsDigit(line[digits])) ++digits;
    // The gutter: a line number, or blanks only, then " |".
    if (digits > i) return line.substr(digits, 2) == " |";
    return i > 0 && i < line.size() && line[i] == '|';
}

bool IsContext(std::string_view line) {
    if (StartsWith(line, "In file included from ")) return true;
    // gcc's last word after a fatal error; the error itself was counted.
    if (line == "compilation terminated.") return true;
    std::string_view trimmed = TrimLeft(line);
    if (trimmed.size() < line.size() && StartsWith(trimmed, "from ")) return true;
    std::string_view rest;
    if (GnuPosition(line, rest)) {
        rest = TrimLeft(rest);
    } else {
        size_t colon = line.find(": ");
        if (colon == std::string_view::npos) return false;
        rest = TrimLeft(line.substr(colon + 2));
    }
    for (std::string_view phrase : kContextPhrases)
        if (StartsWith(rest, phrase)) return true;
    return false;
}

} // namespace

// "<built-in>: note:" or "cc1: note:": a note on something with no line,
// such as a predefined macro that a preprocessed source defines again.
bool PositionlessNote(std::string_view line) {
    size_t colon = line.find(": ");
    if (colon == 0 || colon == std::string_view::npos) return false;
    if (line.substr(0, colon).find(' ') != std::string_view::npos) return false;
    return StartsWith(line.substr(colon + 2), "note:");
}

GccLine ClassifyGccLine(std::string_view line) {
    std::string_view rest;
    if (GnuPosition(line, rest) && StartsWith(TrimLeft(rest), "note:")) return GccLine::Note;
    if (PositionlessNote(line)) return GccLine::Note;
    if (IsExcerpt(line)) return GccLine::Excerpt;
    if (IsContext(line)) return GccLine::Context;
    return GccLine::Other;
}

} // namespace quorle::output
