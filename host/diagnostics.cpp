#include "host/diagnostics.h"

#include <algorithm>
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

// "error: x" gives "x": the host writes the severity itself, in the words
// the tool used when it was a fatal error.
std::string WithoutSeverity(std::string text, std::string* said = nullptr) {
    text = TrimLeft(text);
    for (const char* word : {"fatal error:", "error:", "Error:", "warning:", "Warning:", "note:"}) {
        std::string w(word);
        if (text.rfind(w, 0) == 0) {
            if (said != nullptr) *said = w;
            return TrimLeft(text.substr(w.size()));
        }
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
    at.message = WithoutSeverity(text, &at.word);
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
    if (leaf.size() > 4 && leaf.compare(leaf.size() - 4, 4, ".exe") == 0)
        leaf.resize(leaf.size() - 4);
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
        at.message = WithoutSeverity(text, &at.word);
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
    std::string word = severity == Severity::Error     ? "error:"
                       : severity == Severity::Warning ? "warning:"
                                                       : "note:";
    if (severity == Severity::Error && at.word == "fatal error:") word = at.word;
    const char* hue = severity == Severity::Error     ? "\x1b[1;31m"
                      : severity == Severity::Warning ? "\x1b[1;35m"
                                                      : "\x1b[1;36m";
    return (where.empty() ? "" : Paint(where, "\x1b[1m", colour)) + Paint(word, hue, colour) + " " +
           at.message;
}

// The phrases that follow "file:" or "file:line:col:" on gcc's context lines.
constexpr const char* kContextPhrases[] = {
    "In function",         "In member function", "In static member function",
    "In constructor",      "In destructor",      "In lambda function",
    "At top level",        "At global scope",    "In instantiation of",
    "In substitution of",  "required from",      "required by substitution of",
    "In copy constructor",
};

// "file:12:5" gives "file" and ":12:5".
std::pair<std::string, std::string> SplitPosition(const std::string& text) {
    size_t end = text.size();
    for (int parts = 0; parts < 2; ++parts) {
        size_t colon = text.rfind(':', end == 0 ? 0 : end - 1);
        if (colon == std::string::npos || colon + 1 >= end ||
            !IsDigits(text.substr(colon + 1, end - colon - 1)))
            break;
        end = colon;
    }
    return {text.substr(0, end), text.substr(end)};
}

// A gcc context line with its file shown as the messages show theirs;
// nullopt when the line is no such line.
std::optional<std::string> ContextLine(const std::string& line, const DisplayPlace& place) {
    auto shown = [&place](const std::string& located) {
        auto [file, position] = SplitPosition(located);
        if (file.empty()) return located;
        return ShownPath(NativePath(file), place.currentDir, place.toolDir) + position;
    };
    // "In file included from /p/a.h:3," and "                 from /p/b.c:1:".
    std::string lead = "In file included from ";
    size_t from = line.rfind(lead, 0) == 0 ? lead.size() : std::string::npos;
    if (from == std::string::npos) {
        size_t blank = line.find_first_not_of(' ');
        if (blank != std::string::npos && blank > 0 && line.compare(blank, 5, "from ") == 0)
            from = blank + 5;
    }
    if (from != std::string::npos) {
        size_t end = line.size();
        while (end > from && (line[end - 1] == ',' || line[end - 1] == ':')) --end;
        return line.substr(0, from) + shown(line.substr(from, end - from)) + line.substr(end);
    }
    // "/p/a.c: In function 'f':" and "/p/a.cpp:12:5:   required from here".
    size_t best = std::string::npos;
    for (const char* phrase : kContextPhrases) {
        for (size_t at = line.find(phrase); at != std::string::npos;
             at = line.find(phrase, at + 1)) {
            size_t colon = line.find_last_not_of(' ', at == 0 ? 0 : at - 1);
            if (colon == std::string::npos || colon == 0 || line[colon] != ':' || colon + 1 == at)
                continue;
            best = std::min(best, colon);
            break;
        }
    }
    if (best == std::string::npos) return std::nullopt;
    return shown(line.substr(0, best)) + line.substr(best);
}

} // namespace

std::optional<std::string> ResolveToolFile(const std::string& file, const DisplayPlace& place) {
    fs::path p = fs::u8path(file);
    if (p.is_absolute()) return p.lexically_normal().generic_string();
    if (!place.toolDir.empty()) {
        fs::path there = fs::u8path(place.toolDir) / p;
        if (platform::FileExists(there.string())) return there.lexically_normal().generic_string();
    }
    if (place.projectFiles == nullptr) return std::nullopt;
    std::string name = p.lexically_normal().generic_string();
    std::optional<std::string> found;
    for (const std::string& candidate : *place.projectFiles) {
        bool same = candidate.size() > name.size() &&
                    candidate.compare(candidate.size() - name.size(), name.size(), name) == 0 &&
                    candidate[candidate.size() - name.size() - 1] == '/';
        if (!same) continue;
        if (found) return std::nullopt; // two files of that name: it cannot be told which
        found = candidate;
    }
    return found;
}

int ErrorsOf(const LineInfo& info) {
    return info.fatals > 0 ? 1 : info.errors;
}

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
    std::string message = info.message;
    if (at.line.empty()) {
        // Without a line number the record cannot tell the name from the
        // message ("<built-in>: warning" reads as one name): the name is what
        // comes before the first ": ".
        size_t colon = rawLine.find(": ");
        if (colon != std::string::npos && colon > 0 &&
            rawLine.substr(0, colon).find(' ') == std::string::npos) {
            at.file = NativePath(rawLine.substr(0, colon));
            message = rawLine.substr(colon + 2);
        }
    }
    SplitColumnAndSeverity(message, at);
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

std::string FormatLine(const LineInfo& info, const std::string& rawLine,
                       const DisplayPlace& place) {
    if (!info.isMessage) return "";
    Severity severity = SeverityOf(info);
    if (severity == Severity::None) {
        if (info.errors + info.warnings + info.fatals == 0)
            if (auto context = ContextLine(rawLine, place)) return *context;
        return rawLine;
    }
    Location at = LocationOf(info, rawLine);
    std::string toolDir = place.toolDir;
    // ld's own names, and names without a line such as gcc's "<built-in>":
    // never joined to a directory they were not in.
    if (!at.file.empty() && (info.file.empty() || info.file == "None" || at.line.empty())) {
        auto resolved = ResolveToolFile(at.file, place);
        if (resolved)
            at.file = *resolved;
        else
            toolDir.clear();
    }
    return Compose(at, severity, place.currentDir, toolDir, place.colour);
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
