// Splitting path texts. Either slash separates, so paths written the
// Windows way and the POSIX way split alike.
#pragma once

#include <string>
#include <string_view>

namespace quorle {

inline bool IsPathSeparator(char c) {
    return c == '\\' || c == '/';
}

// The text after the last separator (the whole text without one).
std::string_view LastComponent(std::string_view path);

// The text before the last separator, without it; empty without one.
std::string_view DirectoryPart(std::string_view path);

// The text up to and including the last separator; empty without one.
std::string_view DirectoryWithSeparator(std::string_view path);

// The path up to (not including) its last dot, looking only at the last
// component; a path without an extension is returned whole.
std::string_view WithoutExtension(std::string_view path);

// The last component without its extension: "C:\\a\\prog.x" gives "prog".
inline std::string_view StemOf(std::string_view path) {
    return WithoutExtension(LastComponent(path));
}

} // namespace quorle
