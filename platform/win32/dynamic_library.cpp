#include "platform/win32/windows_api.h"

#include "platform/platform.h"

namespace quorle::platform {

void* LoadLibrary(const std::string& path) {
    return ::LoadLibraryA(path.c_str());
}

void* GetProcAddress(void* library, const std::string& name) {
    if (library == nullptr) return nullptr;
    return reinterpret_cast<void*>(::GetProcAddress(static_cast<HMODULE>(library), name.c_str()));
}

void FreeLibrary(void* library) {
    if (library != nullptr) ::FreeLibrary(static_cast<HMODULE>(library));
}

} // namespace quorle::platform
