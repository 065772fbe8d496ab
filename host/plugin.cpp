#include "host/plugin.h"

#include "platform/platform.h"

namespace quorle::host {

Plugin::~Plugin() {
    platform::FreeLibrary(library_);
}

bool Plugin::Load(const std::string& path, std::string& error) {
    library_ = platform::LoadLibrary(path);
    if (library_ == nullptr) {
        error = "cannot load the plug-in " + path;
        return false;
    }
#define QUORLE_HOST_ENTRY(name)                                                                    \
    api_.name = reinterpret_cast<decltype(api_.name)>(platform::GetProcAddress(library_, #name));  \
    if (api_.name == nullptr) {                                                                    \
        error = "the plug-in does not export " #name;                                              \
        return false;                                                                              \
    }
#include "host/plugin_entries.inc"
#undef QUORLE_HOST_ENTRY
    return true;
}

std::string DefaultPluginPath(const char* argv0) {
    if (auto env = platform::GetEnv("QUORLE_PLUGIN")) return *env;
    std::string self = argv0 != nullptr ? argv0 : "";
    size_t slash = self.find_last_of("/\\");
    std::string dir = slash == std::string::npos ? std::string(".") : self.substr(0, slash);
#if defined(_WIN32)
    return dir + "\\Quorle.dll";
#else
    return dir + "/../lib/libquorle.so";
#endif
}

} // namespace quorle::host
