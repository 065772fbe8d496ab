#include "models/path_parts.h"

#include "core/path_text.h"

namespace quorle::models {

PathParts PathParts::Split(std::string_view path) {
    PathParts parts;
    std::string_view name = LastComponent(path);
    if (name.size() == path.size()) {
        parts.sep = 0;
    } else {
        parts.dir.assign(DirectoryPart(path));
        parts.sep = path[parts.dir.size()];
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
