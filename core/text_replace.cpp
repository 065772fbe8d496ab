#include "core/text_replace.h"

namespace quorle::core {

void ReplaceAll(std::string& text, std::string_view from, std::string_view to) {
    if (from.empty()) return;
    for (size_t pos = text.find(from); pos != std::string::npos;
         pos = text.find(from, pos + to.size()))
        text.replace(pos, from.size(), to);
}

std::string ReplacedAll(std::string_view text, std::string_view from, std::string_view to) {
    std::string out(text);
    ReplaceAll(out, from, to);
    return out;
}

} // namespace quorle::core
