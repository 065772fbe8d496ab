#include "host/placeholders.h"

#include <optional>

namespace quorle::host {

namespace {

constexpr int kMaxDepth = 8;

std::optional<std::string_view> Find(std::string_view name, const PlaceholderMap& values,
                                     const ExtraPlaceholder& extra) {
    if (!extra.name.empty() && name == extra.name) return extra.value;
    auto it = values.find(name);
    if (it == values.end()) return std::nullopt;
    return std::string_view(it->second);
}

void Expand(std::string_view text, const PlaceholderMap& values, const ExtraPlaceholder& extra,
            int depth, std::string& out) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t open = text.find("$(", pos);
        if (open == std::string_view::npos) break;
        size_t close = text.find(')', open + 2);
        if (close == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        auto value = Find(text.substr(open + 2, close - open - 2), values, extra);
        if (!value)
            out.append(text.substr(open, close + 1 - open));
        else if (depth < kMaxDepth)
            Expand(*value, values, extra, depth + 1, out);
        else
            out.append(*value);
        pos = close + 1;
    }
    out.append(text.substr(pos));
}

} // namespace

std::string ExpandPlaceholders(std::string_view text, const PlaceholderMap& values,
                               ExtraPlaceholder extra) {
    std::string out;
    out.reserve(text.size());
    Expand(text, values, extra, 0, out);
    return out;
}

std::string FileLeaf(std::string_view path) {
    size_t slash = path.find_last_of("/\\");
    std::string_view leaf = slash == std::string_view::npos ? path : path.substr(slash + 1);
    size_t dot = leaf.rfind('.');
    if (dot != std::string_view::npos && dot != 0) leaf = leaf.substr(0, dot);
    return std::string(leaf);
}

} // namespace quorle::host
