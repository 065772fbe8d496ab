#include "models/path_parts.h"

namespace quorle::models {

PathParts PathParts::Split(std::string_view path) {
    PathParts parts;
    size_t slash = path.find_last_of("\\/");
    std::string_view name = path;
    if (slash == std::string_view::npos) {
        parts.sep = 0;
    } else {
        parts.dir.assign(path.substr(0, slash));
        parts.sep = path[slash];
        name = path.substr(slash + 1);
    }
    size_t dot = name.rfind('.');
    if (dot == std::string_view::npos) {
        parts.leaf.assign(name);
    } else {
        parts.leaf.assign(name.substr(0, dot));
        parts.ext.assign(name.substr(dot));
    }
    return parts;
}

std::string PathParts::Join() const {
    std::string path = dir;
    if (sep != 0) {
        path += sep;
    } else if (!dir.empty()) {
        path += '\\';
    }
    path += leaf;
    path += ext;
    return path;
}

} // namespace quorle::models
