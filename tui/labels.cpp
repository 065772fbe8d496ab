#include "tui/labels.h"

#include <cctype>

#include "core/ascii_text.h"
#include "sheet/control.h"

namespace quorle::tui {

std::string PlainText(const std::string& label) {
    return sheet::PlainLabel(label);
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
    return core::AsciiLower(PlainText(label)[at]);
}

} // namespace quorle::tui
