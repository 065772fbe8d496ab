// File names of the build steps: path combination, sub-command file names
// and resolution of output paths against the configuration directory.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/path_text.h"

namespace quorle::phases {

// Directory, a backslash unless the directory is empty or ends with one, the
// base name, then a dot and the extension unless it is empty or starts with one.
std::string CombinePath(std::string_view dir, std::string_view base, std::string_view ext);

// Generated file names carry no blanks: every space becomes "~".
std::string TildeName(std::string_view base);

// The sub-command file for a step: "<configDir>\<base with ~>.<ext>".
std::string SubcommandFilePath(std::string_view configDir, std::string_view base,
                               std::string_view ext);

// The command that hands a sub-command file to a tool: "@" and the quoted path.
std::string AtCommand(std::string_view prefix, std::string_view path);
// The path named by such a command, or nothing when it has no quoted path.
std::optional<std::string> PathOfAtCommand(std::string_view command);

// The absolute form of `path` taken relative to `configDir`. Fails for an
// empty or missing configuration directory and for results of 260
// characters or more (the system's full-path limit).
std::optional<std::string> ResolveAgainst(const std::string& configDir, const std::string& path);

} // namespace quorle::phases
