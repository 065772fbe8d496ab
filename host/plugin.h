// The plug-in as a host sees it: loaded at run time, its 27 entry points
// looked up by name. Nothing of the plug-in is linked into the host.
#pragma once

#include <string>

#include "interface/quorle.h"

namespace quorle::host {

struct PluginApi {
#define QUORLE_HOST_ENTRY(name) decltype(&::name) name = nullptr;
#include "host/plugin_entries.inc"
#undef QUORLE_HOST_ENTRY
};

class Plugin {
  public:
    Plugin() = default;
    ~Plugin();
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // Loads the library and resolves every entry point; on failure `error`
    // says which step failed.
    bool Load(const std::string& path, std::string& error);
    const PluginApi& api() const { return api_; }

  private:
    void* library_ = nullptr;
    PluginApi api_;
};

// The plug-in next to the running host program (lib/libquorle.so or Quorle.dll),
// or QUORLE_PLUGIN when set.
std::string DefaultPluginPath(const char* argv0);

} // namespace quorle::host
