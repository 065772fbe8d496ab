#include "depend/make_rule.h"

#include <algorithm>

#include "core/ascii_text.h"
#include "core/path_text.h"

namespace quorle::depend {
namespace {

constexpr std::string_view kNotLinked = "linker input file unused because linking not done";
constexpr std::string_view kErrorMark = "error: ";
constexpr std::string_view kIncludedFrom = "In file included from";
constexpr std::string_view kNoSuchFile = "No such file or directory";
// Length of an error entry that does not name a missing file.
constexpr size_t kShortEntry = 24;

using core::IsBlank;

std::string WithBackslashes(std::string_view text) {
    std::string out(text);
    std::replace(out.begin(), out.end(), '/', '\\');
    return out;
}

// Splits the prerequisites of a make rule into paths. Blanks and line ends
// separate, a backslash at the end of a line continues it, and a backslash
// before a blank makes the blank part of the path. Every byte is looked at
// once, so a rule of any size is read in linear time.
std::vector<std::string> SplitPrerequisites(std::string_view text) {
    std::vector<std::string> paths;
    std::string current;
    auto flush = [&] {
        if (!current.empty()) paths.push_back(std::move(current));
        current.clear();
    };
    for (size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '\\' && i + 1 < text.size()) {
            char next = text[i + 1];
            if (next == ' ') {
                current.push_back(' ');
                ++i;
                continue;
            }
            if (next == '\n' || (next == '\r' && i + 2 < text.size() && text[i + 2] == '\n')) {
                flush();
                i += next == '\n' ? 1 : 2;
                continue;
            }
        }
        if (IsBlank(c)) {
            flush();
        } else {
            current.push_back(c);
        }
    }
    flush();
    return paths;
}

} // namespace

std::vector<std::string> ParseDriverErrors(std::string_view output) {
    std::vector<std::string> items;
    // Positions in the whole text, so that no pass searches it again from
    // the start: the last error mark, and the next missing-file phrase.
    const size_t lastError = output.rfind(kErrorMark);
    size_t nextMissing = output.find(kNoSuchFile);
    size_t pos = 0;
    // Each pass consumes at least one byte of a non-empty rest.
    for (;;) {
        std::string_view rest = output.substr(pos);
        size_t length = rest.size();
        if (rest.substr(0, kIncludedFrom.size()) != kIncludedFrom) {
            if (nextMissing != std::string_view::npos && nextMissing < pos)
                nextMissing = output.find(kNoSuchFile, pos);
            length = nextMissing == std::string_view::npos ? std::min(kShortEntry, rest.size())
                                                           : nextMissing - pos + kNoSuchFile.size();
        }
        items.push_back("ERROR|" + std::string(rest.substr(0, length)));
        // The entry's line end follows it.
        pos = std::min(output.size(), pos + length + 2);
        if (pos >= output.size() || lastError == std::string_view::npos || lastError < pos) break;
    }
    return items;
}

std::vector<std::string> ParseMakeRule(std::string_view output, std::string_view sourcePath,
                                       const std::vector<std::string>& systemDirs,
                                       std::string_view headerType) {
    std::vector<std::string> items;
    // Everything up to the source's name is the target and the source itself.
    std::string_view name = LastComponent(sourcePath);
    size_t at = output.find(name);
    if (name.empty() || at == std::string_view::npos) return items;
    std::vector<std::string> paths = SplitPrerequisites(output.substr(at + name.size()));

    std::vector<std::string> system;
    for (const std::string& dir : systemDirs)
        if (!dir.empty()) system.push_back(WithBackslashes(dir));

    items.reserve(paths.size());
    for (auto it = paths.rbegin(); it != paths.rend(); ++it) {
        if (*it == ":") continue; // a stray rule separator is no file
        std::string path = WithBackslashes(*it);
        bool isSystem = std::any_of(system.begin(), system.end(), [&](const std::string& dir) {
            return path.compare(0, dir.size(), dir) == 0;
        });
        std::string item;
        item.reserve(path.size() + headerType.size() + 7);
        item.append(path).append(isSystem ? "|TRUE|" : "|FALSE|").append(headerType);
        items.push_back(std::move(item));
    }
    return items;
}

std::vector<std::string> ParseDriverOutput(std::string_view output, std::string_view sourcePath,
                                           const std::vector<std::string>& systemDirs,
                                           std::string_view headerType) {
    if (output.find(kNotLinked) != std::string_view::npos) return {};
    if (output.find(kErrorMark) != std::string_view::npos) return ParseDriverErrors(output);
    return ParseMakeRule(output, sourcePath, systemDirs, headerType);
}

} // namespace quorle::depend
