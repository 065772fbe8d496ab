#include "interface/module_state.h"

#include "platform/platform.h"

namespace quorle {

// The host may have made another module current (or an earlier call of the
// options editor may have left one); the plug-in's own is made current and the
// previous one put back when the scope ends, however the export returns.
ModuleStateScope::ModuleStateScope() : previous_(platform::CurrentResourceModule()) {
    platform::SetCurrentResourceModule(nullptr);
}

ModuleStateScope::~ModuleStateScope() {
    platform::SetCurrentResourceModule(previous_);
}

void* CurrentResourceModule() {
    return platform::CurrentResourceModule();
}

void SetCurrentResourceModule(void* module) {
    platform::SetCurrentResourceModule(module);
}

} // namespace quorle
