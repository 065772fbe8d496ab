#include <gtest/gtest.h>

#include <fstream>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "resources/string_ids.h"
#include "resources/string_table.h"

using namespace quorle;

namespace {

struct Entry {
    int id;
    const char* text;
};

// The table source itself, the same lines both builds compile.
#define QUORLE_STRING(number, text) Entry{number, text},
const Entry kEntries[] = {
#include "resources/string_table.inc"
};
#undef QUORLE_STRING

// The (name, number) pairs the header declares, in header order.
std::vector<std::pair<std::string, int>> DeclaredIds() {
    std::ifstream in(QUORLE_TEST_SOURCE_DIR "/resources/string_ids.h");
    const std::regex line(R"(inline constexpr int (k\w+) = (\d+);)");
    std::vector<std::pair<std::string, int>> ids;
    std::smatch m;
    for (std::string text; std::getline(in, text);)
        if (std::regex_search(text, m, line)) ids.emplace_back(m[1], std::stoi(m[2]));
    return ids;
}

TEST(StringIds, TableEntriesAscendAndLoadBack) {
    ASSERT_GT(std::size(kEntries), 0u);
    std::set<int> numbers;
    for (size_t i = 0; i < std::size(kEntries); ++i) {
        if (i > 0) {
            EXPECT_LT(kEntries[i - 1].id, kEntries[i].id) << "entry " << kEntries[i].id;
        }
        numbers.insert(kEntries[i].id);
        EXPECT_EQ(LoadModuleString(kEntries[i].id), std::string(kEntries[i].text));
    }
    // Numbers between and around the entries have no string.
    for (int id = -1; id <= kEntries[std::size(kEntries) - 1].id + 1; ++id)
        if (numbers.count(id) == 0) {
            EXPECT_FALSE(LoadModuleString(id).has_value()) << id;
        }
}

TEST(StringIds, EveryNameHasItsOwnEntry) {
    const auto ids = DeclaredIds();
    ASSERT_GT(ids.size(), 10u) << "resources/string_ids.h not read";
    std::set<int> numbers;
    for (const Entry& e : kEntries) numbers.insert(e.id);
    std::set<int> named;
    for (size_t i = 0; i < ids.size(); ++i) {
        const auto& [name, id] = ids[i];
        if (i > 0) {
            EXPECT_LT(ids[i - 1].second, id) << name << " out of order";
        }
        EXPECT_TRUE(named.insert(id).second) << name << " shares " << id;
        EXPECT_EQ(numbers.count(id), 1u) << name << " = " << id << " has no entry";
    }
    // The header is what the code compiles against: spot-check that it was
    // the file just read.
    EXPECT_EQ(named.count(strings::kCommandPrefix), 1u);
    EXPECT_EQ(named.count(strings::kCustomLinkageUnsupported), 1u);
}

TEST(StringIds, FixedNumbersAndTexts) {
    // The host loads the interface version and plug-in type by these numbers.
    EXPECT_EQ(strings::kInterfaceMajorVersion, 1);
    EXPECT_EQ(strings::kInterfaceMinorVersion, 2);
    EXPECT_EQ(strings::kPluginType, 5);
    // Command lines and compiler lookup are built from these texts verbatim.
    EXPECT_EQ(LoadModuleString(strings::kCommandPrefix), "@");
    EXPECT_EQ(LoadModuleString(strings::kCompilerExtension), "gcc");
}

} // namespace
