#include "sheet/messages.h"

#include <cstdio>
#include <vector>

#include "resources/string_table.h"

namespace quorle::sheet {

std::string SheetString(int id) {
    return LoadModuleString(id).value_or(std::string());
}

std::string SheetText(int id) {
    if (auto loaded = LoadModuleString(id)) return *loaded;
    return LibraryTableString(id).value_or(std::string());
}

std::string FormatRangeMessage(int id, int low, int high) {
    std::string format = SheetString(id);
    std::vector<char> buffer(format.size() + 64);
    std::snprintf(buffer.data(), buffer.size(), format.c_str(), low, high);
    return buffer.data();
}

} // namespace quorle::sheet
