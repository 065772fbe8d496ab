#include "phases/paths.h"

#include "platform/platform.h"

namespace quorle::phases {

namespace {
constexpr size_t kMaxFullPath = 260;
} // namespace

std::string CombinePath(std::string_view dir, std::string_view base, std::string_view ext) {
    std::string path(dir);
    if (!path.empty() && path.back() != '\\') path += '\\';
    path += base;
    if (!ext.empty()) {
        if (ext.front() != '.') path += '.';
        path += ext;
    }
    return path;
}

std::string TildeName(std::string_view base) {
    std::string name(base);
    for (char& c : name)
        if (c == ' ') c = '~';
    return name;
}

std::string SubcommandFilePath(std::string_view configDir, std::string_view base,
                               std::string_view ext) {
    return CombinePath(configDir, TildeName(base), ext);
}

std::string AtCommand(std::string_view prefix, std::string_view path) {
    std::string command(prefix);
    command += '"';
    command += path;
    command += '"';
    return command;
}

std::optional<std::string> PathOfAtCommand(std::string_view command) {
    // A linker command may carry "--use-gcc-to-link " in front of the "@".
    size_t at = command.find("@\"");
    if (at != std::string_view::npos) command.remove_prefix(at);
    // "@" and the opening quote in front, the closing quote at the end.
    if (command.size() <= 2) return std::nullopt;
    return std::string(command.substr(2, command.size() - 3));
}

std::optional<std::string> ResolveAgainst(const std::string& configDir, const std::string& path) {
    if (configDir.empty()) return std::nullopt;
    std::string full = platform::FullPathFrom(configDir, path);
    if (full.empty() || full.size() >= kMaxFullPath) return std::nullopt;
    return full;
}

} // namespace quorle::phases
