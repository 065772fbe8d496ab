#include "host/placeholders.h"

namespace quorle::host {

namespace {

constexpr int kMaxDepth = 8;

std::string Expand(std::string_view text, const PlaceholderMap& values, int depth) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find("$(", pos);
        if (open == std::string_view::npos) break;
        size_t close = text.find(')', open + 2);
        if (close == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        std::string name(text.substr(open + 2, close - open - 2));
        auto it = values.find(name);
        if (it == values.end()) {
            out.append(text.substr(open, close + 1 - open));
        } else if (depth < kMaxDepth) {
            out += Expand(it->second, values, depth + 1);
        } else {
            out += it->second;
        }
        pos = close + 1;
    }
    out.append(text.substr(pos));
    return out;
}

} // namespace

std::string ExpandPlaceholders(std::string_view text, const PlaceholderMap& values) {
    return Expand(text, values, 0);
}

std::string FileLeaf(std::string_view path) {
    size_t slash = path.find_last_of("/\\");
    std::string_view leaf = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = leaf.rfind('.');
    if (dot != std::string_view::npos && dot != 0) leaf = leaf.substr(0, dot);
    return std::string(leaf);
}

} // namespace quorle::host
