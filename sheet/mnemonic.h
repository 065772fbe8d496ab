// A control label's mnemonic: "&" marks the letter after it, "&&" stands for
// a literal ampersand. Inline: the views, in libraries of their own, read
// labels the same way the pages give them out.
#pragma once

#include <string>
#include <string_view>

#include "core/ascii_text.h"

namespace quorle::sheet {

// Where the marker sits in the label: the first "&" that is not half of an
// "&&" and has a character after it; npos when there is none.
inline size_t MnemonicMark(std::string_view label) {
    for (size_t i = 0; i + 1 < label.size(); ++i) {
        if (label[i] != '&') continue;
        if (label[i + 1] != '&') return i;
        ++i;
    }
    return std::string_view::npos;
}

// The label as a window shows it: the markers taken out, "&&" as one "&".
inline std::string LabelWithoutMarks(std::string_view label) {
    std::string shown;
    for (size_t i = 0; i < label.size(); ++i) {
        if (label[i] == '&' && ++i == label.size()) break;
        shown += label[i];
    }
    return shown;
}

// Where the mnemonic letter sits in LabelWithoutMarks(label), or npos when
// the marker is missing or marks anything but a letter or digit.
inline size_t MnemonicPosition(std::string_view label) {
    const size_t mark = MnemonicMark(label);
    if (mark == std::string_view::npos || !core::IsAsciiAlnum(label[mark + 1]))
        return std::string_view::npos;
    return LabelWithoutMarks(label.substr(0, mark)).size();
}

// The mnemonic letter in lower case, or 0 when there is none.
inline char MnemonicOf(std::string_view label) {
    if (MnemonicPosition(label) == std::string_view::npos) return '\0';
    return core::AsciiLower(label[MnemonicMark(label) + 1]);
}

} // namespace quorle::sheet
