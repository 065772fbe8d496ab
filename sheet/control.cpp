#include "sheet/control.h"

namespace quorle::sheet {

std::string PlainLabel(const std::string& label) {
    std::string plain;
    for (size_t i = 0; i < label.size(); ++i) {
        // "&&" stands for a literal ampersand.
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

} // namespace quorle::sheet
