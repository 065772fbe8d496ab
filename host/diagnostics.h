// How the host shows a classified tool line, so that terminals and editors
// can jump to it: "path:line:col: severity: message", the path relative to
// the current directory (absolute when outside it).
#pragma once

#include <string>

#include "host/plugin_calls.h"

namespace quorle::host {

enum class Severity { None, Note, Warning, Error };

// Counts decide; a line that counts nothing is a note when its message says so.
Severity SeverityOf(const LineInfo& info);

struct Location {
    std::string file; // native form; empty when the line names none
    std::string line;
    std::string column;
    std::string message; // without the column and the severity word
};

// Where a line points and what it says. Lines the plug-in gives no file for
// (the linker's) are read in ld's forms: "prog: file:line: text",
// "file:(section+offset): text" and "file: text".
Location LocationOf(const LineInfo& info, const std::string& rawLine);

// A path as shown: relative to `currentDir` when below it, else absolute.
// Relative paths are taken relative to `toolDir` first.
std::string ShownPath(const std::string& path, const std::string& currentDir,
                      const std::string& toolDir = "");

struct DisplayPlace {
    std::string currentDir; // the user's directory
    std::string toolDir;    // where the tool ran
    bool colour = false;
};

// The text shown for a line; empty for lines that are no message (banners,
// blank lines). Context lines ("In function", source excerpts) are shown as
// they are, next to the message they belong to.
std::string FormatLine(const LineInfo& info, const std::string& rawLine, const DisplayPlace& place);

// An error of the host's own about a file (or about nothing when `where` is
// empty), in the same form.
std::string FormatHostError(const std::string& where, const std::string& message,
                            const std::string& currentDir, bool colour);

// True when standard output is a terminal and NO_COLOR is not set.
bool UseColour();

} // namespace quorle::host
