#include "platform/platform.h"

namespace quorle::platform {

// A shared object has no resource section; a resource library exports its
// string table as one data symbol instead (see ResourceStringTable).
std::optional<std::string> LoadResourceString(int id) {
    void* module = CurrentResourceModule();
    if (module == nullptr) return std::nullopt;
    const auto* table =
        static_cast<const ResourceStringTable*>(GetProcAddress(module, kResourceTableSymbol));
    if (table == nullptr || table->magic != kResourceTableMagic) return std::nullopt;
    for (uint32_t i = 0; i < table->count; ++i) {
        if (table->entries[i].id == id) return std::string(table->entries[i].text);
    }
    return std::nullopt;
}

} // namespace quorle::platform
