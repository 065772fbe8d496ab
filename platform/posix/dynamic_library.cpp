#include <dlfcn.h>

#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace quorle::platform {

void* LoadLibrary(const std::string& path) {
    return dlopen(posix::NativePath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* GetProcAddress(void* library, const std::string& name) {
    return library == nullptr ? nullptr : dlsym(library, name.c_str());
}

void FreeLibrary(void* library) {
    if (library != nullptr) dlclose(library);
}

} // namespace quorle::platform
