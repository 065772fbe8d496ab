#include "makefile/relative_path.h"

#include "core/ascii_text.h"

#include <vector>

namespace quorle::makefile {

namespace {

bool IsSeparator(char c) {
    return c == '\\' || c == '/';
}

struct SplitPath {
    bool absolute = false;
    bool caseless = false; // drive-letter and UNC paths
    std::string volume;    // "C:", "\\server\share" (lower case) or "/"
    std::vector<std::string> parts;
};

char Lower(char c) {
    return core::AsciiLower(c);
}

bool SameText(std::string_view a, std::string_view b, bool caseless) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (caseless ? Lower(a[i]) != Lower(b[i]) : a[i] != b[i]) return false;
    return true;
}

// Components after the volume, with "." dropped and ".." folded.
void AddParts(SplitPath& split, std::string_view rest) {
    size_t pos = 0;
    while (pos <= rest.size()) {
        size_t end = pos;
        while (end < rest.size() && !IsSeparator(rest[end])) ++end;
        std::string_view part = rest.substr(pos, end - pos);
        if (part == "..") {
            if (!split.parts.empty()) split.parts.pop_back();
        } else if (!part.empty() && part != ".") {
            split.parts.emplace_back(part);
        }
        pos = end + 1;
    }
}

SplitPath Split(std::string_view path) {
    SplitPath split;
    if (path.size() >= 3 && core::IsAsciiLetter(path[0]) && path[1] == ':' &&
        IsSeparator(path[2])) {
        split.absolute = split.caseless = true;
        split.volume = {core::AsciiUpper(path[0]), ':'};
        AddParts(split, path.substr(3));
    } else if (path.size() >= 2 && IsSeparator(path[0]) && IsSeparator(path[1])) {
        size_t server = path.find_first_of("\\/", 2);
        size_t share =
            server == std::string_view::npos ? server : path.find_first_of("\\/", server + 1);
        split.absolute = split.caseless = true;
        split.volume = std::string(path.substr(0, share));
        for (char& c : split.volume) c = Lower(IsSeparator(c) ? '\\' : c);
        if (share != std::string_view::npos) AddParts(split, path.substr(share + 1));
    } else if (!path.empty() && IsSeparator(path[0])) {
        split.absolute = true;
        split.volume = "/";
        AddParts(split, path.substr(1));
    }
    return split;
}

bool StartsWithDirectory(std::string_view path, std::string_view dir, bool caseless) {
    while (!dir.empty() && IsSeparator(dir.back())) dir.remove_suffix(1);
    if (dir.empty() || path.size() < dir.size()) return false;
    if (!SameText(path.substr(0, dir.size()), dir, caseless)) return false;
    return path.size() == dir.size() || IsSeparator(path[dir.size()]);
}

} // namespace

std::string RelativeMakefilePath(std::string_view path, std::string_view baseDir,
                                 std::string_view installDir) {
    if (path.empty() || path.substr(0, 2) == "$(") return std::string(path);
    SplitPath target = Split(path);
    if (!installDir.empty() && StartsWithDirectory(path, installDir, target.caseless)) {
        std::string_view trimmed = installDir;
        while (!trimmed.empty() && IsSeparator(trimmed.back())) trimmed.remove_suffix(1);
        return std::string(kInstallPlaceholder) + std::string(path.substr(trimmed.size()));
    }
    if (!target.absolute) return std::string(path);
    SplitPath base = Split(baseDir);
    if (!base.absolute || !SameText(target.volume, base.volume, target.caseless))
        return std::string(path);

    char separator = path.find('\\') == std::string_view::npos ? '/' : '\\';
    size_t common = 0;
    while (common < target.parts.size() && common < base.parts.size() &&
           SameText(target.parts[common], base.parts[common], target.caseless))
        ++common;
    std::string result;
    for (size_t i = common; i < base.parts.size(); ++i) {
        result += "..";
        result += separator;
    }
    for (size_t i = common; i < target.parts.size(); ++i) {
        result += target.parts[i];
        result += separator;
    }
    if (result.empty()) return IsSeparator(path.back()) ? std::string(".") + separator : ".";
    if (!IsSeparator(path.back())) result.pop_back();
    return result;
}

std::string SubstituteInstallDir(std::string_view text, std::string_view installDir) {
    if (installDir.empty()) return std::string(text);
    std::string result;
    size_t pos = 0;
    while (true) {
        size_t hit = text.find(installDir, pos);
        if (hit == std::string_view::npos) break;
        result.append(text.substr(pos, hit - pos));
        result += kInstallPlaceholder;
        pos = hit + installDir.size();
    }
    result.append(text.substr(pos));
    return result;
}

} // namespace quorle::makefile
