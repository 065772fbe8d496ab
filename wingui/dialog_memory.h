// An empty dialog template in memory: the view creates every control at run
// time, so a dialog needs only its frame styles.
#pragma once

#include <vector>

#include "wingui/win_api.h"

namespace quorle::wingui {

// DLGTEMPLATE with no items, no menu, the default class and no caption;
// returned as words so that it is DWORD-aligned.
inline std::vector<WORD> EmptyDialogTemplate(DWORD style, DWORD exStyle) {
    std::vector<WORD> words;
    words.push_back(LOWORD(style));
    words.push_back(HIWORD(style));
    words.push_back(LOWORD(exStyle));
    words.push_back(HIWORD(exStyle));
    for (int i = 0; i < 5; ++i) words.push_back(0); // items, x, y, cx, cy
    for (int i = 0; i < 3; ++i) words.push_back(0); // menu, class, caption
    return words;
}

inline const DLGTEMPLATE* AsTemplate(const std::vector<WORD>& words) {
    return reinterpret_cast<const DLGTEMPLATE*>(words.data());
}

} // namespace quorle::wingui
