#include <dlfcn.h>

#include "platform/platform.h"
#include "platform/posix/native_path.h"

namespace quorle::platform {

namespace {

// Library names in the texts are Windows names; a shared object stands in for
// each, so "Resquorle.dll" is looked for as "Resquorle.so".
std::string SharedObjectPath(const std::string& path) {
    std::string native = NativePath(path);
    constexpr size_t kSuffix = 4;
    if (native.size() > kSuffix) {
        std::string tail = native.substr(native.size() - kSuffix);
        for (char& c : tail) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        if (tail == ".dll") native.replace(native.size() - kSuffix, kSuffix, ".so");
    }
    return native;
}

} // namespace

void* LoadLibrary(const std::string& path) {
    return dlopen(SharedObjectPath(path).c_str(), RTLD_NOW | RTLD_LOCAL);
}

void* GetProcAddress(void* library, const std::string& name) {
    return library == nullptr ? nullptr : dlsym(library, name.c_str());
}

void FreeLibrary(void* library) {
    if (library != nullptr) dlclose(library);
}

} // namespace quorle::platform
