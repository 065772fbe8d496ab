#include "platform/win32/windows_api.h"

#include <shlwapi.h>

#include "platform/platform.h"

namespace quorle::platform {

// Asks comctl32 through its DllGetVersion export. A library without the
// export predates version 4.71 and reports 4.0.
std::optional<CommonControlsVersion> GetCommonControlsVersion() {
    HMODULE module = ::LoadLibraryA("comctl32.dll");
    if (module == nullptr) return CommonControlsVersion{};
    CommonControlsVersion version{4, 0};
    auto get = reinterpret_cast<DLLGETVERSIONPROC>(
        reinterpret_cast<void*>(::GetProcAddress(module, "DllGetVersion")));
    if (get != nullptr) {
        DLLVERSIONINFO info{};
        info.cbSize = sizeof info;
        if (SUCCEEDED(get(&info))) version = {info.dwMajorVersion, info.dwMinorVersion};
    }
    ::FreeLibrary(module);
    return version;
}

} // namespace quorle::platform
