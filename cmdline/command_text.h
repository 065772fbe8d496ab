// Building argument texts: one argument group per line, empty lines left out.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quorle::cmdline {

// Turns a path into the text that stands for it in an argument text. The
// sub-command file quotes it unchanged; the makefile writer rewrites it
// against its path context first.
using PathWriter = std::function<std::string(std::string_view path)>;

// A double quote, the path, a double quote; a double quote inside the path is
// written with a backslash before it.
std::string QuotePath(std::string_view path);
// A user text (a definition) that must stay one argument: unchanged unless it
// holds a blank or a double quote, then quoted as QuotePath does.
std::string OneArgument(std::string_view text);

class CommandText {
  public:
    // Appends a line and its line feed; an empty line adds nothing.
    void Line(std::string_view line);
    // Appends every line of a multi-line text (empty lines left out).
    void Lines(std::string_view text);
    const std::string& Text() const { return text_; }
    // The text, ending with exactly one line feed.
    std::string Finish() &&;

  private:
    std::string text_;
};

// Words of a user text: blanks, tabs, carriage returns and line feeds
// separate, a double-quoted stretch stays one word and keeps its quotes.
std::vector<std::string> SplitWords(std::string_view text);

} // namespace quorle::cmdline
