// Paths in generated makefiles. A makefile runs from its base directory and
// may run on another machine, so paths are written relative to the base
// directory where they can be, and the toolchain installation directory is
// written as "$(TC_INSTALL_DIR)".
//
// Rules, in order:
//  - an empty path, or one that starts with a placeholder "$(", is kept;
//  - a path inside the toolchain installation directory becomes
//    "$(TC_INSTALL_DIR)" and the rest of the path;
//  - a relative path is kept (it already is relative to where make runs);
//  - an absolute path on the same volume as the base directory (drive letter,
//    "\\server\share" or the POSIX root) becomes a relative path: "..\" for
//    every directory to climb, then the remaining components ("." when it is
//    the base directory itself); "." and ".." components are folded first;
//  - an absolute path on another volume is kept, since no relative path
//    reaches it.
// Drive-letter and UNC paths compare without regard to case, POSIX paths
// exactly. The result uses the path's own separator ("\" unless the path
// uses only "/"); a trailing separator is kept.
#pragma once

#include <string>
#include <string_view>

namespace quorle::makefile {

inline constexpr std::string_view kInstallPlaceholder = "$(TC_INSTALL_DIR)";

std::string RelativeMakefilePath(std::string_view path, std::string_view baseDir,
                                 std::string_view installDir = {});

// Every occurrence of the installation directory in `text` becomes
// "$(TC_INSTALL_DIR)". An empty installation directory changes nothing.
std::string SubstituteInstallDir(std::string_view text, std::string_view installDir);

} // namespace quorle::makefile
