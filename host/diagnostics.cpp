#include "host/diagnostics.h"

#include <filesystem>

#include "host/build_plan.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

std::string TrimLeft(const std::string& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    return text.substr(i);
}

bool IsDigits(const std::string& text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// "error: x" gives "x": the host writes the severity itself.
std::string WithoutSeverity(std::string text) {
    text = TrimLeft(text);
    for (const char* word : {"fatal error:", "error:", "Error:", "warning:", "Warning:", "note:"}) {
        std::string w(word);
        if (text.rfind(w, 0) == 0) return TrimLeft(text.substr(w.size()));
    }
    return text;
}

// "13: error: x" gives column 13 and "x".
void SplitColumnAndSeverity(std::string text, Location& at) {
    text = TrimLeft(text);
    size_t colon = text.find(':');
    if (colon != std::string::npos && IsDigits(text.substr(0, colon))) {
        at.column = text.substr(0, colon);
        text = text.substr(colon + 1);
    }
    at.message = WithoutSeverity(text);
}

// "(.vects+0x0)": where in a section ld found something, which it prints
// on a line of its own after "obj.o: in function `f':".
bool IsSectionOffset(const std::string& text) {
    return text.size() > 2 && text.front() == '(' && text.back() == ')' &&
           text.find('+') != std::string::npos;
}

bool LooksLikeFile(const std::string& text) {
    return !text.empty() && text.find(' ') == std::string::npos && !IsSectionOffset(text) &&
           (text.find('/') != std::string::npos || text.find('.') != std::string::npos);
}

// ld and the drivers put their own name first: "ld: ", "/usr/bin/ld: ",
// "corvo-elf-ld.exe: ", "collect2: ".
std::string WithoutProgramName(const std::string& line) {
    size_t colon = line.find(": ");
    if (colon == std::string::npos) return line;
    std::string leaf = fs::path(line.substr(0, colon)).filename().string();
    if (leaf.size() > 4 && leaf.compare(leaf.size() - 4, 4, ".exe") == 0) leaf.resize(leaf.size() - 4);
    auto endsWith = [&leaf](const char* tail) {
        std::string t(tail);
        return leaf.size() > t.size() && leaf.compare(leaf.size() - t.size(), t.size(), t) == 0;
    };
    bool tool = leaf == "ld" || leaf == "ld.bfd" || leaf == "collect2" || leaf == "gcc" ||
                leaf == "g++" || endsWith("-ld") || endsWith("-gcc") || endsWith("-g++");
    return tool ? line.substr(colon + 2) : line;
}

Location LinkerLocation(const std::string& rawLine) {
    Location at;
    std::string text = WithoutProgramName(rawLine);
    size_t colon = text.find(':');
    if (colon == std::string::npos || !LooksLikeFile(text.substr(0, colon))) {
        // "error: ld returned 1 exit status" from a gcc-driven link.
        at.message = WithoutSeverity(text);
        return at;
    }
    at.message = text;
    std::string file = text.substr(0, colon);
    std::string rest = text.substr(colon + 1);
    size_t next = rest.find(':');
    // "obj.o:src/x.c:31: text": the source line says more than the object.
    if (next != std::string::npos && LooksLikeFile(rest.substr(0, next))) {
        size_t after = rest.find(':', next + 1);
        if (after != std::string::npos && IsDigits(rest.substr(next + 1, after - next - 1))) {
            file = rest.substr(0, next);
            at.line = rest.substr(next + 1, after - next - 1);
            at.file = file;
            SplitColumnAndSeverity(rest.substr(after + 1), at);
            return at;
        }
    }
    if (!rest.empty() && rest[0] == '(' && next != std::string::npos) {
        rest = rest.substr(next + 1); // "(.text+0x9):" names a section, not a line
    } else if (next != std::string::npos && IsDigits(rest.substr(0, next))) {
        at.line = rest.substr(0, next);
        rest = rest.substr(next + 1);
    } else if (rest.empty() || rest[0] != ' ') {
        return at;
    }
    at.file = file;
    SplitColumnAndSeverity(rest, at);
    return at;
}

std::string Paint(const std::string& text, const char* hue, bool colour) {
    return colour ? std::string(hue) + text + "\x1b[0m" : text;
}

std::string Compose(const Location& at, Severity severity, const std::string& currentDir,
                    const std::string& toolDir, bool colour) {
    std::string where;
    if (!at.file.empty()) {
        where = ShownPath(at.file, currentDir, toolDir);
        if (!at.line.empty()) where += ":" + at.line;
        if (!at.line.empty() && !at.column.empty()) where += ":" + at.column;
        where += ": ";
    }
    const char* word = severity == Severity::Error   ? "error:"
                       : severity == Severity::Warning ? "warning:"
                                                       : "note:";
    const char* hue = severity == Severity::Error     ? "\x1b[1;31m"
                      : severity == Severity::Warning ? "\x1b[1;35m"
                                                      : "\x1b[1;36m";
    return (where.empty() ? "" : Paint(where, "\x1b[1m", colour)) + Paint(word, hue, colour) + " " +
           at.message;
}

} // namespace

Severity SeverityOf(const LineInfo& info) {
    if (info.errors > 0 || info.fatals > 0) return Severity::Error;
    if (info.warnings > 0) return Severity::Warning;
    std::string text = TrimLeft(info.message);
    size_t colon = text.find(':');
    if (colon != std::string::npos && IsDigits(text.substr(0, colon)))
        text = TrimLeft(text.substr(colon + 1));
    if (info.file != "None" && text.rfind("note:", 0) == 0) return Severity::Note;
    return Severity::None;
}

Location LocationOf(const LineInfo& info, const std::string& rawLine) {
    if (info.file.empty() || info.file == "None") return LinkerLocation(rawLine);
    Location at;
    at.file = NativePath(info.file);
    if (!info.line.empty() && info.line != "None") at.line = info.line;
    SplitColumnAndSeverity(info.message, at);
    if (at.message.empty()) at.message = rawLine;
    return at;
}

std::string ShownPath(const std::string& path, const std::string& currentDir,
                      const std::string& toolDir) {
    fs::path p = fs::u8path(path);
    if (!p.is_absolute() && !toolDir.empty()) p = fs::u8path(toolDir) / p;
    if (!p.is_absolute()) return p.generic_string();
    p = p.lexically_normal();
    if (!currentDir.empty()) {
        fs::path base = fs::u8path(currentDir).lexically_normal();
        fs::path rel = p.lexically_relative(base);
        if (!rel.empty() && *rel.begin() != "..") return rel.generic_string();
    }
    return p.generic_string();
}

std::string FormatLine(const LineInfo& info, const std::string& rawLine, const DisplayPlace& place) {
    if (!info.isMessage) return "";
    Severity severity = SeverityOf(info);
    if (severity == Severity::None) return rawLine;
    return Compose(LocationOf(info, rawLine), severity, place.currentDir, place.toolDir,
                   place.colour);
}

std::string FormatHostError(const std::string& where, const std::string& message,
                            const std::string& currentDir, bool colour) {
    Location at;
    at.file = where;
    at.message = message;
    // A message that starts with the path itself names it once.
    if (!where.empty() && message.rfind(where, 0) == 0) {
        at.file.clear();
        at.message = ShownPath(where, currentDir) + message.substr(where.size());
    }
    return Compose(at, Severity::Error, currentDir, "", colour);
}

bool UseColour() {
    if (platform::GetEnv("NO_COLOR")) return false;
    return platform::StandardOutputIsTerminal();
}

} // namespace quorle::host
