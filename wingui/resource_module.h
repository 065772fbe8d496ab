// The resource library the plug-in made current for the edit: the sheet's
// dialog templates come from it, so that they are translated with its strings.
#pragma once

#include "wingui/win_api.h"

namespace quorle::wingui {

// The plug-in loads "Resquorle.dll" before it loads this view and keeps it
// for the whole call; null when it is not loaded.
inline HINSTANCE ResourceModule() {
    return ::GetModuleHandleA("Resquorle.dll");
}

} // namespace quorle::wingui
