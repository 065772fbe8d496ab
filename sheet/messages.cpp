#include "sheet/messages.h"

#include <algorithm>
#include <cstdio>
#include <iterator>
#include <vector>

#include "resources/string_table.h"

namespace quorle::sheet {

std::string SheetString(int id) {
    return LoadModuleString(id).value_or(std::string());
}

namespace {

struct SheetEntry {
    int id;
    const char* text;
};

// The library's own table, so that no text of the sheet is written twice.
constexpr SheetEntry kSheetEntries[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/sheet_strings.inc"
#undef QUORLE_STRING
};

} // namespace

std::string SheetText(int id) {
    if (auto loaded = LoadModuleString(id)) return *loaded;
    auto it = std::lower_bound(std::begin(kSheetEntries), std::end(kSheetEntries), id,
                               [](const SheetEntry& e, int wanted) { return e.id < wanted; });
    return it != std::end(kSheetEntries) && it->id == id ? it->text : "";
}

std::string FormatRangeMessage(int id, int low, int high) {
    std::string format = SheetString(id);
    std::vector<char> buffer(format.size() + 64);
    std::snprintf(buffer.data(), buffer.size(), format.c_str(), low, high);
    return buffer.data();
}

} // namespace quorle::sheet
