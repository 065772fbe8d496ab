// How the host shows a classified tool line: "file:line: error: message".
#pragma once

#include <string>

#include "host/plugin_calls.h"

namespace quorle::host {

enum class Severity { None, Warning, Error };

Severity SeverityOf(const LineInfo& info);

// The message without a leading column number and severity word, which the
// GNU tools repeat after the line number ("5: warning: x" gives "x").
std::string CleanMessage(const std::string& message);

// The text shown for a line; empty for lines that are no message (banners,
// blank lines). `base` shortens file paths below it; `colour` adds terminal
// colours to the severity.
std::string FormatLine(const LineInfo& info, const std::string& rawLine, const std::string& base,
                       bool colour);

// True when standard output is a terminal and NO_COLOR is not set.
bool UseColour();

} // namespace quorle::host
