#include "host/diagnostics.h"

#include <cctype>
#include <cstdio>

#include "host/build_plan.h"
#include "platform/platform.h"

namespace quorle::host {

namespace {

std::string TrimLeft(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return text.substr(i);
}

bool StripPrefix(std::string& text, const char* prefix) {
    std::string p(prefix);
    if (text.rfind(p, 0) != 0) return false;
    text = TrimLeft(text.substr(p.size()));
    return true;
}

} // namespace

Severity SeverityOf(const LineInfo& info) {
    if (info.errors > 0 || info.fatals > 0) return Severity::Error;
    if (info.warnings > 0) return Severity::Warning;
    return Severity::None;
}

std::string CleanMessage(const std::string& message) {
    std::string text = TrimLeft(message);
    size_t digits = 0;
    while (digits < text.size() && std::isdigit(static_cast<unsigned char>(text[digits]))) ++digits;
    if (digits > 0 && digits < text.size() && text[digits] == ':')
        text = TrimLeft(text.substr(digits + 1));
    for (const char* word : {"fatal error:", "error:", "Error:", "warning:", "Warning:"})
        if (StripPrefix(text, word)) break;
    return text;
}

std::string FormatLine(const LineInfo& info, const std::string& rawLine, const std::string& base,
                       bool colour) {
    if (!info.isMessage) return "";
    Severity severity = SeverityOf(info);
    if (severity == Severity::None) return rawLine;
    std::string where;
    if (!info.file.empty() && info.file != "None") {
        where = NativePath(info.file);
        std::string prefix = base + "/";
        if (!base.empty() && where.rfind(prefix, 0) == 0) where = where.substr(prefix.size());
        if (!info.line.empty() && info.line != "None") where += ":" + info.line;
        where += ": ";
    }
    std::string message = CleanMessage(info.message);
    if (message.empty()) message = rawLine;
    const char* word = severity == Severity::Error ? "error" : "warning";
    if (!colour) return where + word + ": " + message;
    const char* hue = severity == Severity::Error ? "\x1b[1;31m" : "\x1b[1;35m";
    return "\x1b[1m" + where + "\x1b[0m" + hue + word + ":\x1b[0m " + message;
}

bool UseColour() {
    if (platform::GetEnv("NO_COLOR")) return false;
    return platform::StandardOutputIsTerminal();
}

} // namespace quorle::host
