// How the host shows a classified tool line, so that terminals and editors
// can jump to it: "path:line:col: severity: message", the path relative to
// the current directory (absolute when outside it).
#pragma once

#include <optional>
#include <string>
#include <vector>

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
    std::string word;    // the severity word as the tool wrote it ("fatal error:"), if any
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
    // The project's files, absolute: a bare name ld prints is one of them
    // when exactly one has it.
    const std::vector<std::string>* projectFiles = nullptr;
};

// The text shown for a line; empty for lines that are no message (banners,
// blank lines). Source excerpts and carets are shown unchanged; gcc's
// context lines ("file: In function", "In file included from") name their
// files in the form the messages use.
std::string FormatLine(const LineInfo& info, const std::string& rawLine, const DisplayPlace& place);

// What a classified line adds to the error count: a fatal error is one
// error however its words were counted.
int ErrorsOf(const LineInfo& info);

// A file ld names (relative to the directory it ran in, or only a source
// name from the object's symbols) as the host shows it: under `toolDir`
// when it is there, else the one project file of that name; otherwise
// nullopt, and it is shown as ld wrote it.
std::optional<std::string> ResolveToolFile(const std::string& file, const DisplayPlace& place);

// An error of the host's own about a file (or about nothing when `where` is
// empty), in the same form.
std::string FormatHostError(const std::string& where, const std::string& message,
                            const std::string& currentDir, bool colour);

// True when standard output is a terminal and NO_COLOR is not set.
bool UseColour();

} // namespace quorle::host
