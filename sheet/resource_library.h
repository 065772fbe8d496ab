// The options editor's resource library, current for the length of one call.
#pragma once

#include <memory>
#include <string>

namespace quorle::sheet {

// Loads "Resquorle.dll" from the directory part of `pathInPluginDir` (POSIX:
// ".dll" maps to ".so") and makes it the current resource module while
// alive; restores the previous module and unloads on destruction.
class ResourceLibrary {
  public:
    static std::unique_ptr<ResourceLibrary>
    Load(const std::string& pathInPluginDir); // nullptr when missing
    ~ResourceLibrary();
    ResourceLibrary(const ResourceLibrary&) = delete;
    ResourceLibrary& operator=(const ResourceLibrary&) = delete;

  private:
    ResourceLibrary(void* module, void* previous) : module_(module), previous_(previous) {}
    void* module_;
    void* previous_;
};

// The directory part of a path, up to and including its last separator
// ("\\" or "/"); empty when it has none.
std::string DirectoryPart(const std::string& path);

} // namespace quorle::sheet
