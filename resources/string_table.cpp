#include "resources/string_table.h"

#if defined(_WIN32)

#include "platform/platform.h"

namespace quorle {

// The string table resource of the current resource module: the DLL's own,
// or the resource library's while the options editor runs. windres compiles
// it from string_table.inc, the table the other builds compile in below.
std::optional<std::string> LoadModuleString(int id) {
    return platform::LoadResourceString(id);
}

} // namespace quorle

#else

#include <algorithm>
#include <iterator>

#include "platform/platform.h"

namespace quorle {
namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kStrings[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/string_table.inc"
#undef QUORLE_STRING
};

} // namespace

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
