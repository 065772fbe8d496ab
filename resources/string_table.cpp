#include "resources/string_table.h"

#include <algorithm>
#include <iterator>

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

// The options editor's texts, as its resource library holds them.
constexpr Entry kSheetStrings[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/sheet_strings.inc"
#undef QUORLE_STRING
};

// The lookups below are binary searches.
static_assert(IsStrictlyAscending(kStrings, [](const Entry& e) { return e.id; }),
              "string_table.inc: numbers must be ascending and unique");
static_assert(IsStrictlyAscending(kSheetStrings, [](const Entry& e) { return e.id; }),
              "sheet_strings.inc: numbers must be ascending and unique");

template <size_t N> std::optional<std::string> Find(const Entry (&table)[N], int id) {
    auto it = std::lower_bound(std::begin(table), std::end(table), id,
                               [](const Entry& e, int key) { return e.id < key; });
    if (it == std::end(table) || it->id != id) return std::nullopt;
    return std::string(it->text);
}

} // namespace

std::optional<std::string> LibraryTableString(int id) {
    return Find(kSheetStrings, id);
}

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

#include "platform/platform.h"

namespace quorle {

// While the options editor has made its resource library current, strings
// come from that library only, as they would from its resources on Windows.
std::optional<std::string> LoadModuleString(int id) {
    if (platform::CurrentResourceModule() != nullptr) return platform::LoadResourceString(id);
    return Find(kStrings, id);
}

} // namespace quorle

#endif
