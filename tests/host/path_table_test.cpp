// The state's path table: one number per distinct path, in the order first
// seen, and views that stay valid while the table grows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/path_table.h"

namespace quorle::host {
namespace {

std::string PathNumbered(size_t i) {
    return "/work/project/src/module" + std::to_string(i % 97) + "/file" + std::to_string(i) + ".c";
}

TEST(PathTable, EachPathGetsOneNumberInTheOrderFirstSeen) {
    PathTable table;
    EXPECT_FALSE(table.Find("/w/a.h"));
    EXPECT_EQ(table.Intern("/w/a.h"), 0u);
    EXPECT_EQ(table.Intern("/w/b.h"), 1u);
    EXPECT_EQ(table.Intern("/w/a.h"), 0u);
    // Paths that share a prefix, or differ by case, are different paths.
    EXPECT_EQ(table.Intern("/w/a.hh"), 2u);
    EXPECT_EQ(table.Intern("/W/a.h"), 3u);
    EXPECT_EQ(table.Intern(""), 4u);
    EXPECT_EQ(table.Intern(""), 4u);
    EXPECT_EQ(table.size(), 5u);
    EXPECT_EQ(table.Find("/w/b.h"), 1u);
    EXPECT_EQ(table[2], "/w/a.hh");
    EXPECT_EQ(table[4], "");
    table.clear();
    EXPECT_EQ(table.size(), 0u);
    EXPECT_FALSE(table.Find("/w/a.h"));
    EXPECT_EQ(table.Intern("/w/b.h"), 0u);
}

// Enough paths to fill several blocks and regrow the index many times: every
// view taken early must still read the same, and every path find its number.
TEST(PathTable, ViewsSurviveGrowthAndLongPathsGetTheirOwnBlock) {
    PathTable table;
    std::vector<std::string_view> early;
    const size_t count = 20000;
    for (size_t i = 0; i < count; ++i) {
        ASSERT_EQ(table.Intern(PathNumbered(i)), i);
        if (i < 50) early.push_back(table[static_cast<uint32_t>(i)]);
    }
    std::string longPath = "/deep" + std::string(100000, 'x') + "/end.h";
    uint32_t longId = table.Intern(longPath);
    EXPECT_EQ(longId, count);
    EXPECT_EQ(table.Intern("/after/the/long/one.h"), count + 1);
    for (size_t i = 0; i < early.size(); ++i) EXPECT_EQ(early[i], PathNumbered(i));
    for (size_t i = 0; i < count; ++i) {
        ASSERT_EQ(table.Find(PathNumbered(i)), i);
        ASSERT_EQ(table[static_cast<uint32_t>(i)], PathNumbered(i));
    }
    EXPECT_EQ(table[longId], longPath);
    EXPECT_EQ(table.Find(longPath), longId);
    EXPECT_EQ(table.Intern(PathNumbered(123)), 123u);
    EXPECT_EQ(table.size(), count + 2);
}

// Each path is kept as a block, a start and a length: a path that starts at
// a block's last byte, one that fills a block exactly and one just over a
// block must all read back whole.
TEST(PathTable, PathsAtABlocksEdgesReadBackWhole) {
    const size_t block = 64 * 1024;
    std::vector<std::string> paths = {
        "/" + std::string(block - 2, 'a'), // leaves one byte of the first block
        "b",                               // starts at that last byte
        "/cc",                             // does not fit: a block of its own
        "/" + std::string(block - 1, 'd'), // exactly a block
        "/" + std::string(block, 'e'),     // one byte over
        "/f",
    };
    PathTable table;
    for (size_t i = 0; i < paths.size(); ++i) ASSERT_EQ(table.Intern(paths[i]), i);
    for (size_t i = 0; i < paths.size(); ++i) {
        EXPECT_EQ(table[static_cast<uint32_t>(i)], paths[i]) << i;
        EXPECT_EQ(table.Find(paths[i]), i) << i;
    }
    // Same length, other characters: a different path.
    EXPECT_FALSE(table.Find("/" + std::string(block - 1, 'x')));
}

TEST(PathTable, AMoveTakesTheViewsAlongAndLeavesAnEmptyTable) {
    PathTable from;
    for (size_t i = 0; i < 3000; ++i) from.Intern(PathNumbered(i));
    std::string_view early = from[7];
    PathTable to(std::move(from));
    EXPECT_EQ(early, PathNumbered(7)); // the block moved with the table
    EXPECT_EQ(to.Find(PathNumbered(2999)), 2999u);
    EXPECT_EQ(to.size(), 3000u);
    // The table moved from starts again at number 0 and stores its own paths.
    EXPECT_EQ(from.size(), 0u);
    EXPECT_FALSE(from.Find(PathNumbered(7)));
    EXPECT_EQ(from.Intern("/fresh/start.c"), 0u);
    EXPECT_EQ(from[0], "/fresh/start.c");
    PathTable again;
    again.Intern("/to/be/replaced.c");
    again = std::move(to);
    EXPECT_EQ(again[7], PathNumbered(7));
    EXPECT_FALSE(again.Find("/to/be/replaced.c"));
}

} // namespace
} // namespace quorle::host
