#include "core/path_text.h"

namespace quorle {

std::string_view LastComponent(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? path : path.substr(cut + 1);
}

std::string_view DirectoryPart(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut);
}

std::string_view DirectoryWithSeparator(std::string_view path) {
    size_t cut = path.find_last_of("\\/");
    return cut == std::string_view::npos ? std::string_view() : path.substr(0, cut + 1);
}

std::string_view WithoutExtension(std::string_view path) {
    size_t dot = path.find_last_of('.');
    if (dot == std::string_view::npos) return path;
    for (size_t i = dot + 1; i < path.size(); ++i)
        if (IsPathSeparator(path[i])) return path;
    return path.substr(0, dot);
}

} // namespace quorle
