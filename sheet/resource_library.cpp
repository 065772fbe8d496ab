#include "sheet/resource_library.h"

#include "platform/platform.h"

namespace quorle::sheet {

std::string DirectoryPart(const std::string& path) {
    size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::unique_ptr<ResourceLibrary> ResourceLibrary::Load(const std::string& pathInPluginDir) {
    void* module = platform::LoadLibrary(DirectoryPart(pathInPluginDir) + "Resquorle.dll");
    if (module == nullptr) return nullptr;
    void* previous = platform::CurrentResourceModule();
    platform::SetCurrentResourceModule(module);
    return std::unique_ptr<ResourceLibrary>(new ResourceLibrary(module, previous));
}

ResourceLibrary::~ResourceLibrary() {
    // Put the caller's module back before unloading, so that no lookup can
    // reach the library after it is gone.
    platform::SetCurrentResourceModule(previous_);
    platform::FreeLibrary(module_);
}

} // namespace quorle::sheet
