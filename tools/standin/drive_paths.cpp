#include "tools/standin/drive_paths.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>

namespace quorle::standin {

namespace fs = std::filesystem;

namespace {

char Lower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

bool SameIgnoringCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (Lower(a[i]) != Lower(b[i])) return false;
    return true;
}

bool IsLetter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

// Wine hashes UTF-16 code units; names are UTF-8 here.
std::u16string Utf16(const std::string& text) {
    std::u16string out;
    for (size_t i = 0; i < text.size();) {
        unsigned char c = static_cast<unsigned char>(text[i]);
        uint32_t code = c;
        size_t extra = c >= 0xf0 ? 3 : c >= 0xe0 ? 2 : c >= 0xc0 ? 1 : 0;
        if (extra > 0) code = c & (0x3f >> extra);
        for (size_t k = 1; k <= extra && i + k < text.size(); ++k)
            code = (code << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3f);
        i += extra + 1;
        if (code >= 0x10000) {
            code -= 0x10000;
            out.push_back(static_cast<char16_t>(0xd800 + (code >> 10)));
            out.push_back(static_cast<char16_t>(0xdc00 + (code & 0x3ff)));
        } else {
            out.push_back(static_cast<char16_t>(code));
        }
    }
    return out;
}

char16_t LowerUnit(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

// Characters a short name cannot hold; Wine writes "_" for them.
bool InvalidInShortName(char16_t c) {
    if (c > 0x7f) return true;
    for (char bad : std::string("*?<>|\"+=,;[] ~."))
        if (c == static_cast<char16_t>(bad)) return true;
    return false;
}

char ShortNameChar(char16_t c) {
    return InvalidInShortName(c) ? '_' : Upper(static_cast<char>(c));
}

// Where the drive path starting at `at` ends: a list goes on after a comma.
size_t DrivePathEnd(const std::string& arg, size_t at, bool inList) {
    if (!inList) return arg.size();
    size_t comma = arg.find(',', at);
    return comma == std::string::npos ? arg.size() : comma;
}

bool IsMacroDefinition(const std::string& arg) {
    return arg.rfind("-D", 0) == 0;
}

// Short options that take a path joined to them.
constexpr const char* kJoinedOptions[] = {"-I", "-L", "-o", "-T", "-B", "-MF", "-MT", "-MQ"};

} // namespace

std::string WineShortName(const std::string& name) {
    std::u16string units = Utf16(name);
    if (units.empty()) return "";
    uint16_t hash = 0xbeef;
    for (size_t i = 0; i + 1 < units.size(); ++i)
        hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ LowerUnit(units[i]) ^
                                     (LowerUnit(units[i + 1]) << 8));
    hash = static_cast<uint16_t>((hash << 3) ^ (hash >> 5) ^ LowerUnit(units.back()));

    // The last dot, not the first character nor the last, starts the extension.
    size_t ext = std::u16string::npos;
    for (size_t i = 1; i + 1 < units.size(); ++i)
        if (units[i] == u'.') ext = i;

    static const char kHashChars[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZ012345";
    std::string out;
    size_t i = 0;
    for (; i < 4 && i < units.size() && i != ext; ++i) out += ShortNameChar(units[i]);
    // Padded with "~" to five characters, then three of the hash.
    while (out.size() < 5) out += '~';
    out += kHashChars[(hash >> 10) & 0x1f];
    out += kHashChars[(hash >> 5) & 0x1f];
    out += kHashChars[hash & 0x1f];
    if (ext != std::u16string::npos) {
        out += '.';
        for (size_t k = ext + 1; k < units.size() && k < ext + 4; ++k)
            out += ShortNameChar(units[k]);
    }
    return out;
}

bool StartsWithDrive(const std::string& text) {
    return text.size() >= 2 && IsLetter(text[0]) && text[1] == ':' &&
           (text.size() == 2 || text[2] == '\\' || text[2] == '/');
}

std::optional<std::string> HostPathOf(const std::string& drivePath, std::string& error) {
    if (!StartsWithDrive(drivePath)) return drivePath;
    if (Lower(drivePath[0]) != 'z') {
        error = std::string("the path ") + drivePath + " is on drive " + Upper(drivePath[0]) +
                ":, which is not the host's file system; only drive Z: (the root) is mapped";
        return std::nullopt;
    }
    std::string host;
    bool resolving = true; // while every component so far exists
    size_t pos = 2;
    while (pos < drivePath.size()) {
        size_t next = drivePath.find_first_of("\\/", pos + 1);
        if (next == std::string::npos) next = drivePath.size();
        std::string part = drivePath.substr(pos + 1, next - pos - 1);
        pos = next;
        if (part.empty() || part == ".") continue;
        std::string dir = host.empty() ? "/" : host;
        if (resolving && part != "..") {
            std::error_code ec;
            if (!fs::exists(fs::symlink_status(fs::path(dir) / part, ec))) {
                std::string found;
                for (const auto& entry : fs::directory_iterator(dir, ec)) {
                    std::string leaf = entry.path().filename().string();
                    if (SameIgnoringCase(leaf, part) ||
                        (part.find('~') != std::string::npos &&
                         SameIgnoringCase(WineShortName(leaf), part))) {
                        found = leaf;
                        break;
                    }
                }
                if (found.empty())
                    resolving = false;
                else
                    part = found;
            }
        }
        host += "/" + part;
    }
    return host.empty() ? "/" : host;
}

std::string HostPathsInScript(const std::string& script, std::string& error) {
    std::string out;
    size_t pos = 0;
    error.clear();
    for (;;) {
        size_t open = script.find('"', pos);
        if (open == std::string::npos) break;
        size_t close = script.find('"', open + 1);
        if (close == std::string::npos) break;
        std::string text = script.substr(open + 1, close - open - 1);
        out.append(script, pos, open + 1 - pos);
        if (StartsWithDrive(text)) {
            std::replace(text.begin(), text.end(), '\\', '/');
            auto host = HostPathOf(text, error);
            if (!host) return script;
            text = *host;
        }
        out += text + '"';
        pos = close + 1;
    }
    out.append(script, pos, std::string::npos);
    return out;
}

std::vector<std::string> HostPaths(const std::vector<std::string>& args, std::string& error) {
    std::vector<std::string> out;
    error.clear();
    bool macroValue = false; // the argument after a lone "-D"
    for (const std::string& arg : args) {
        bool macro = macroValue || IsMacroDefinition(arg);
        macroValue = arg == "-D";
        if (macro) {
            out.push_back(arg);
            continue;
        }
        // Where a drive path may start: the argument itself, after a joined
        // short option, or after any "=" or ",".
        std::vector<size_t> starts{0};
        for (const char* option : kJoinedOptions) {
            std::string o(option);
            if (arg.size() > o.size() && arg.compare(0, o.size(), o) == 0)
                starts.push_back(o.size());
        }
        for (size_t i = 0; i < arg.size(); ++i)
            if (arg[i] == '=' || arg[i] == ',') starts.push_back(i + 1);
        std::sort(starts.begin(), starts.end());

        std::string mapped;
        size_t copied = 0;
        for (size_t at : starts) {
            if (at < copied || !StartsWithDrive(arg.substr(at))) continue;
            bool inList = arg.find(',') < at;
            size_t end = DrivePathEnd(arg, at, inList);
            auto host = HostPathOf(arg.substr(at, end - at), error);
            if (!host) return out;
            mapped += arg.substr(copied, at - copied) + *host;
            copied = end;
        }
        mapped += arg.substr(copied);
        out.push_back(mapped);
    }
    return out;
}

} // namespace quorle::standin
