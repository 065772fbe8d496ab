#include "resources/string_table.h"

#include "core/table_checks.h"

namespace quorle {
namespace {

struct Entry {
    int id;
    const char* text;
};

// The table both builds compile: Windows only checks it (it reads the
// resource that windres makes of the same file); the others look up in it.
constexpr Entry kStrings[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/string_table.inc"
#undef QUORLE_STRING
};

// The lookup below is a binary search.
static_assert(IsStrictlyAscending(kStrings, [](const Entry& e) { return e.id; }),
              "string_table.inc: numbers must be ascending and unique");

} // namespace
} // namespace quorle

#if defined(_WIN32)

#include "platform/platform.h"

namespace quorle {

// The string table resource of the current resource module: the DLL's own,
// or the resource library's while the options editor runs.
std::optional<std::string> LoadModuleString(int id) {
    return platform::LoadResourceString(id);
}

} // namespace quorle

#else

#include <algorithm>
#include <iterator>

#include "platform/platform.h"

namespace quorle {

// While the options editor has made its resource library current, strings
// come from that library only, as they would from its resources on Windows.
std::optional<std::string> LoadModuleString(int id) {
    if (platform::CurrentResourceModule() != nullptr) return platform::LoadResourceString(id);
    auto it = std::lower_bound(std::begin(kStrings), std::end(kStrings), id,
                               [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(kStrings) || it->id != id) return std::nullopt;
    return std::string(it->text);
}

} // namespace quorle

#endif
