#include "output/line_parts.h"

#include <vector>

namespace quorle::output::detail {
namespace {

// Length of the root of an absolute Windows path: "X:\\", "\\\\server\\share\\"
// or "\\"; 0 for a relative path. "X:" without a separator counts as
// absolute as well but its components are left alone.
size_t RootLength(std::string_view path, bool& walkable) {
    walkable = true;
    if (path.size() >= 2 && path[1] == ':') {
        if (path.size() >= 3 && path[2] == '\\') return 3;
        walkable = false;
        return 2;
    }
    if (path.size() >= 2 && path[0] == '\\' && path[1] == '\\') {
        size_t server = path.find('\\', 2);
        if (server == std::string_view::npos) return path.size();
        size_t share = path.find('\\', server + 1);
        return share == std::string_view::npos ? path.size() : share + 1;
    }
    if (!path.empty() && path[0] == '\\') return 1;
    return 0;
}

} // namespace

std::string CanonicalIfAbsolute(std::string_view path) {
    bool walkable = true;
    size_t root = RootLength(path, walkable);
    if (root == 0 || !walkable) return std::string(path);
    std::vector<std::string_view> parts;
    std::string_view rest = path.substr(root);
    bool trailing = !rest.empty() && rest.back() == '\\';
    while (!rest.empty()) {
        size_t sep = rest.find('\\');
        std::string_view part = rest.substr(0, sep);
        if (part == ".") {
            // dropped
        } else if (part == "..") {
            // Above the root there is nothing to remove.
            if (!parts.empty()) parts.pop_back();
        } else {
            parts.push_back(part);
        }
        if (sep == std::string_view::npos) break;
        rest.remove_prefix(sep + 1);
    }
    std::string result(path.substr(0, root));
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0) result.push_back('\\');
        result.append(parts[i]);
    }
    if (trailing && !parts.empty()) result.push_back('\\');
    return result;
}

} // namespace quorle::output::detail
