#include "interface/module_state.h"

namespace quorle {
namespace {
// Null stands for the plug-in's own module.
void* g_resourceModule = nullptr;
} // namespace

ModuleStateScope::ModuleStateScope() : previous_(g_resourceModule) {
    g_resourceModule = nullptr;
}
ModuleStateScope::~ModuleStateScope() {
    g_resourceModule = previous_;
}

void* CurrentResourceModule() {
    return g_resourceModule;
}
void SetCurrentResourceModule(void* module) {
    g_resourceModule = module;
}

} // namespace quorle
