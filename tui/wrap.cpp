#include "tui/dialogs.h"

namespace quorle::tui {

std::vector<std::string> WrapText(const std::string& text, size_t width) {
    std::vector<std::string> lines;
    if (width == 0) return lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        std::string para = text.substr(start, end == std::string::npos ? end : end - start);
        while (para.size() > width) {
            size_t cut = para.rfind(' ', width);
            if (cut == std::string::npos || cut == 0) cut = width;
            lines.push_back(para.substr(0, cut));
            para.erase(0, cut);
            while (!para.empty() && para.front() == ' ') para.erase(0, 1);
        }
        while (!para.empty() && para.back() == ' ') para.pop_back();
        lines.push_back(para);
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

} // namespace quorle::tui
