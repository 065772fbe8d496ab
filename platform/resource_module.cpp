#include "platform/platform.h"

namespace quorle::platform {
namespace {
void* g_resourceModule = nullptr;
} // namespace

void* CurrentResourceModule() {
    return g_resourceModule;
}
void SetCurrentResourceModule(void* module) {
    g_resourceModule = module;
}

} // namespace quorle::platform
