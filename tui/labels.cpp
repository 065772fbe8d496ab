#include "tui/labels.h"

#include <cctype>

namespace quorle::tui {

std::string PlainText(const std::string& label) {
    std::string plain;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&') {
            if (i + 1 < label.size() && label[i + 1] == '&') plain += label[++i];
            continue;
        }
        plain += label[i];
    }
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    if (!plain.empty() && plain.back() == ':') plain.pop_back();
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    return plain;
}

size_t MnemonicPosition(const std::string& label) {
    size_t shown = 0;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] != '&') {
            ++shown;
            continue;
        }
        if (i + 1 >= label.size()) break;
        if (label[i + 1] == '&') {
            ++i;
            ++shown;
            continue;
        }
        return std::isalnum(static_cast<unsigned char>(label[i + 1])) ? shown : std::string::npos;
    }
    return std::string::npos;
}

char MnemonicOf(const std::string& label) {
    size_t at = MnemonicPosition(label);
    if (at == std::string::npos) return 0;
    return static_cast<char>(std::tolower(static_cast<unsigned char>(PlainText(label)[at])));
}

} // namespace quorle::tui
