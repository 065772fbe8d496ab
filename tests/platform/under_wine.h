// Whether the tests run under wine, for checks that need a real Windows
// file system.
#pragma once

#include "platform/platform.h"

namespace quorle::testing {

// Wine keeps no archive flag of its own and, run as root, lets every file be
// written; the checks that need a real Windows file system ask this.
inline bool UnderWine() {
#if defined(_WIN32)
    void* ntdll = platform::LoadLibrary("ntdll.dll");
    return ntdll != nullptr && platform::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace quorle::testing
