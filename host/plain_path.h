// A test that spares the common path the cost of std::filesystem's parsing.
#pragma once

#include <string_view>

namespace quorle::host {

// An absolute path with a '/' between non-empty components, none of them "."
// or "..": what lexical normalisation gives back unchanged, on systems whose
// only separator is '/'.
inline bool IsPlainAbsolute(std::string_view path) {
    if (path.size() < 2 || path.front() != '/') return false;
    size_t start = 1;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        std::string_view part = path.substr(start, end - start);
        if (part.empty() || part == "." || part == "..") return false;
        start = end + 1;
    }
    return true;
}

// True where '/' is the only separator, so a plain path needs no parsing.
inline constexpr bool kSlashOnly =
#ifdef _WIN32
    false;
#else
    true;
#endif

} // namespace quorle::host
