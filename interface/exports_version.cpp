// Version queries, code navigation and the release of host blocks.
#include <cstdlib>

#include "core/result_buffer.h"
#include "interface/guarded_call.h"
#include "interface/module_state.h"
#include "interface/quorle.h"
#include "options/option_string.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

using namespace quorle;

namespace {

bool LoadNumber(int id, uint32_t* out) {
    auto text = LoadModuleString(id);
    if (!text) return false;
    *out = static_cast<uint32_t>(options::ParseDecimal(*text, 0, UINT32_MAX, 0, false));
    return true;
}

int CopyStringAsList(int id, char* buffer, int32_t* length) {
    auto text = LoadModuleString(id);
    if (!text) return 1;
    return CopyListForm(*text, buffer, length);
}

} // namespace

extern "C" {

QUORLE_API int QUORLE_CALL GetDLLInterfaceVersion(uint32_t* major, uint32_t* minor) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (major == nullptr || minor == nullptr) return 1;
        // The major value is written before the minor string is loaded.
        if (!LoadNumber(strings::kInterfaceMajorVersion, major)) return 1;
        return LoadNumber(strings::kInterfaceMinorVersion, minor) ? 0 : 1;
    });
}

QUORLE_API int QUORLE_CALL GetDLLProductVersion(char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (buffer == nullptr || length == nullptr) return 1;
        return CopyStringAsList(strings::kProductVersion, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetDLLOrdinalVersion(uint32_t* value) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (value == nullptr) return 1;
        return LoadNumber(strings::kOrdinalVersion, value) ? 0 : 1;
    });
}

QUORLE_API int QUORLE_CALL GetDLLType(char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (buffer == nullptr || length == nullptr) return 1;
        return CopyStringAsList(strings::kPluginType, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetCodeNavigationItems(const char* text, char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (text == nullptr || buffer == nullptr || length == nullptr) return 1;
        auto item = LoadModuleString(strings::kCodeNavigationItems);
        if (!item) return 1;
        return CopyListForm(*item, buffer, length);
    });
}

QUORLE_API void QUORLE_CALL FreeSimpleType(void* block) {
    std::free(block);
}

} // extern "C"
