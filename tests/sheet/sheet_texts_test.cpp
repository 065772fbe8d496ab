// The sheet's texts without the resource library: each comes from the table
// the library is built from, so the two can never disagree.
#include <gtest/gtest.h>

#include <set>

#include "resources/sheet_strings.h"
#include "sheet/messages.h"

namespace quorle::sheet {
namespace {

struct Entry {
    int id;
    const char* text;
};

constexpr Entry kTable[] = {
#define QUORLE_STRING(id, text) {id, text},
#include "resources/sheet_strings.inc"
#undef QUORLE_STRING
};

TEST(SheetTexts, EveryLibraryEntryIsTheFallbackAndOthersAreEmpty) {
    std::set<int> ids;
    for (const Entry& e : kTable) {
        EXPECT_EQ(SheetText(e.id), e.text) << e.id;
        ids.insert(e.id);
    }
    // Numbers the table lacks, between and beside its entries, give nothing.
    for (int id = kTable[0].id - 1; id <= kTable[std::size(kTable) - 1].id + 1; ++id) {
        if (!ids.count(id)) {
            EXPECT_EQ(SheetText(id), "") << id;
        }
    }
    EXPECT_EQ(SheetText(sheet_strings::kMultipleConfigurations), "Multiple Configurations...");
}

} // namespace
} // namespace quorle::sheet
