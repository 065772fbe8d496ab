#include "depend/include_scanner.h"

#include <cctype>

#include "core/ascii_text.h"
#include "core/path_text.h"
#include "platform/platform.h"

namespace quorle::depend {
namespace {

struct SourceHeaderType {
    std::string_view source;
    std::string_view header;
};

constexpr SourceHeaderType kHeaderTypes[] = {
    {"C source file", "C header file"},
    {"C++ source file", "C++ header file"},
    {"Assembly source file", "Assembly include file"},
};

struct CodeText {
    int code;
    std::string_view text;
};

constexpr CodeText kMessages[] = {
    {kCannotOpen, "DA301 (F) Cannot open this file"},
    {kCannotRead, "DA302 (F) Cannot read this file"},
    {3, "DA303 (F) Illegal preinclude file path"},
    {4, "DA304 (F) Comment is closed without opening it"},
    {5, "DA305 (F) EOF is found inside comment"},
    {kSyntaxError, "DA306 (F) Syntax error"},
    {kHeaderMissing, "DA201 (E) A header file does not exist '%s'"},
    {kIsDirectory, "DA202 (E) '%s' is directory"},
};

constexpr std::string_view kDirective = ".INCLUDE";

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

bool EqualsUpper(std::string_view token, std::string_view upper) {
    if (token.size() != upper.size()) return false;
    for (size_t i = 0; i < token.size(); ++i)
        if (core::AsciiUpper(token[i]) != upper[i]) return false;
    return true;
}

// One line: the directive's quoted name, or a code when the line is malformed.
int ReadLine(std::string_view line, std::string& quoted) {
    line = line.substr(0, line.find(';')); // the rest is a comment
    size_t pos = 0;
    bool first = true;
    while (pos < line.size()) {
        while (pos < line.size() && (line[pos] == ' ' || line[pos] == '\t')) ++pos;
        size_t start = pos;
        while (pos < line.size() && line[pos] != ' ' && line[pos] != '\t') ++pos;
        if (pos == start) break;
        if (EqualsUpper(line.substr(start, pos - start), kDirective)) {
            // A label or anything else before the directive is not understood.
            if (!first) return kSyntaxError;
            std::string_view rest = line.substr(pos);
            size_t open = rest.find('"');
            size_t close = rest.rfind('"');
            if (open == std::string_view::npos || close <= open + 1) return kSyntaxError;
            std::string_view inner = rest.substr(open + 1, close - open - 1);
            if (inner.find('"') != std::string_view::npos) return kSyntaxError;
            quoted.assign(rest.substr(open, close - open + 1));
            return kScanOk;
        }
        first = false;
    }
    return kScanOk;
}

std::string FormatMessage(int code, std::string_view name) {
    std::string text(ScanMessage(code));
    size_t at = text.find("%s");
    if (at != std::string::npos) text.replace(at, 2, name);
    return text;
}

std::string ErrorItem(std::string_view source, int line, std::string_view message) {
    std::string item = "ERROR|";
    item.append(source).append("(").append(std::to_string(line)).append(") : ").append(message);
    return item;
}

// A path whose directory part begins with a separator, after any drive.
bool IsRooted(std::string_view path) {
    if (path.size() >= 2 && path[1] == ':') path.remove_prefix(2);
    return !path.empty() && IsSeparator(path[0]);
}

std::string Join(std::string_view dir, std::string_view name) {
    std::string joined(dir);
    if (!joined.empty() && !IsSeparator(joined.back())) joined.push_back('\\');
    joined.append(name);
    return joined;
}

bool IsFile(const std::string& path) {
    return platform::IsFile(path);
}

std::string Lower(std::string_view text) {
    return core::ToAsciiLower(text);
}

} // namespace

std::string_view ScanMessage(int code) {
    for (const CodeText& m : kMessages)
        if (m.code == code) return m.text;
    return {};
}

std::string_view HeaderTypeForSource(std::string_view sourceType) {
    for (const SourceHeaderType& row : kHeaderTypes)
        if (row.source == sourceType) return row.header;
    return {};
}

IncludeReading ReadIncludeEntries(std::string_view text) {
    IncludeReading reading;
    int number = 0;
    while (!text.empty()) {
        size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        ++number;
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        std::string quoted;
        int code = ReadLine(line, quoted);
        if (code != kScanOk) {
            reading.entries.clear();
            reading.code = code;
            reading.line = number;
            return reading;
        }
        if (!quoted.empty()) reading.entries.push_back({std::move(quoted), number});
    }
    return reading;
}

std::string ScanIncludes(const IncludeScanInput& input, std::set<std::string>& seen) {
    std::string list;
    auto addItem = [&list](const std::string& item) { list.append(item).append("\n"); };

    IncludeReading reading;
    if (!platform::IsFile(input.sourcePath)) {
        reading.code = kCannotOpen;
    } else if (auto text = platform::ReadFile(input.sourcePath, true)) {
        reading = ReadIncludeEntries(*text);
    } else {
        reading.code = kCannotRead;
    }
    if (reading.code != kScanOk) {
        addItem(ErrorItem(input.sourcePath, reading.line, ScanMessage(reading.code)));
        list.append("\n");
        return list;
    }

    std::string_view source = input.sourcePath;
    std::string sourceDir(DirectoryWithSeparator(source));
    std::string_view headerType = HeaderTypeForSource(input.sourceType);

    auto report = [&](const std::string& found) {
        std::string full = platform::FullPath(found);
        if (seen.insert(Lower(full)).second) addItem(full + "|FALSE|" + std::string(headerType));
    };

    for (const IncludeEntry& entry : reading.entries) {
        std::string name = entry.quotedName.substr(1, entry.quotedName.size() - 2);
        bool found = false;
        if (IsRooted(name)) {
            if (platform::IsDirectory(name)) {
                addItem(ErrorItem(source, entry.line, FormatMessage(kIsDirectory, name)));
                continue;
            }
            if (platform::FileExists(name)) {
                report(name);
                found = true;
            }
        } else {
            std::string beside = Join(sourceDir, name);
            if (IsFile(beside)) {
                report(beside);
                found = true;
            }
        }
        for (size_t i = 0; !found && i < input.includeDirs.size(); ++i) {
            std::string candidate = Join(input.includeDirs[i], name);
            if (!IsRooted(candidate)) candidate = Join(sourceDir, candidate);
            if (IsFile(candidate)) {
                report(candidate);
                found = true;
            }
        }
        if (!found && !input.skipMissing)
            addItem(ErrorItem(source, entry.line, FormatMessage(kHeaderMissing, name)));
    }
    list.append("\n");
    return list;
}

} // namespace quorle::depend
