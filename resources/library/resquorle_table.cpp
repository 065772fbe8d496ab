// The resource library's string table on POSIX: the same two text sources
// that resquorle.rc compiles on Windows, exported as one data symbol that
// platform::LoadResourceString reads from the loaded library.
#include "platform/platform.h"

namespace {

using quorle::platform::ResourceStringEntry;

constexpr ResourceStringEntry kEntries[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/sheet_strings.inc"
#include "resources/string_table.inc"
#undef QUORLE_STRING
};

} // namespace

extern "C" __attribute__((visibility("default")))
const quorle::platform::ResourceStringTable QuorleResourceStrings = {
    quorle::platform::kResourceTableMagic, sizeof(kEntries) / sizeof(kEntries[0]), kEntries};
