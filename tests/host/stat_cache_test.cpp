// The build's file times: each path asked of the file system once, by path
// or by the state's number for it, until a step rewrites a file.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "host/stat_cache.h"

namespace quorle::host {
namespace {

std::map<std::string, int64_t> gFiles;
std::map<std::string, int> gAsked;

std::optional<int64_t> FakeTime(const std::string& path) {
    ++gAsked[path];
    auto it = gFiles.find(path);
    if (it == gFiles.end()) return std::nullopt;
    return it->second;
}

class StatCacheTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gFiles = {{"/w/a.h", 10}, {"/w/b.h", 20}, {"/w/a.o", 30}};
        gAsked.clear();
    }
    // The build state's number for a path.
    uint32_t N(const char* path) { return numbered_.Intern(path); }
    PathTable numbered_;
    StatCache cache_{&FakeTime, numbered_};
};

TEST_F(StatCacheTest, ANumberedPathIsAskedOnceWhicheverWayItIsLookedUp) {
    N("/w/other.h"); // numbers need not start at the first asked
    EXPECT_EQ(cache_.TimeOf(N("/w/a.h")), 10);
    EXPECT_EQ(cache_.TimeOf(N("/w/a.h")), 10);
    EXPECT_EQ(cache_.Time("/w/a.h"), 10);
    EXPECT_EQ(cache_.Time("/w/b.h"), 20);
    EXPECT_EQ(cache_.TimeOf(N("/w/b.h")), 20);
    EXPECT_EQ(gAsked["/w/a.h"], 1);
    EXPECT_EQ(gAsked["/w/b.h"], 1);
    EXPECT_EQ(cache_.lookups(), 2u);

    // A time found by name before the state numbered the path serves the
    // number too.
    EXPECT_EQ(cache_.Time("/w/a.o"), 30);
    EXPECT_EQ(cache_.TimeOf(N("/w/a.o")), 30);
    EXPECT_EQ(cache_.Time("/w/a.o"), 30);
    EXPECT_EQ(gAsked["/w/a.o"], 1);
    EXPECT_EQ(cache_.lookups(), 3u);
}

// Times the plan found serve both kinds of look-up without asking; a seed
// never overrides what this build has already seen.
TEST_F(StatCacheTest, ASeededTimeIsUsedAndNeverReplacesOneKnown) {
    cache_.Seed("/w/seeded.h", 50);
    cache_.Seed("/w/gone.h", std::nullopt);
    N("/w/numbered.h");
    cache_.Seed("/w/numbered.h", 60);
    EXPECT_EQ(cache_.TimeOf(N("/w/seeded.h")), 50);
    EXPECT_EQ(cache_.Time("/w/seeded.h"), 50);
    EXPECT_EQ(cache_.Time("/w/gone.h"), std::nullopt);
    EXPECT_EQ(cache_.TimeOf(N("/w/numbered.h")), 60);
    EXPECT_EQ(cache_.lookups(), 0u);
    EXPECT_EQ(cache_.Time("/w/a.h"), 10);
    cache_.Seed("/w/a.h", 99);
    cache_.Seed("/w/seeded.h", 98);
    cache_.Seed("/w/numbered.h", 97);
    EXPECT_EQ(cache_.TimeOf(N("/w/a.h")), 10);
    EXPECT_EQ(cache_.Time("/w/seeded.h"), 50);
    EXPECT_EQ(cache_.Time("/w/numbered.h"), 60);
    // Forgotten, a seeded file is asked of the file system.
    gFiles["/w/seeded.h"] = 51;
    cache_.Forget("/w/seeded.h");
    EXPECT_EQ(cache_.TimeOf(N("/w/seeded.h")), 51);
    EXPECT_EQ(cache_.Time("/w/seeded.h"), 51);
    EXPECT_EQ(gAsked["/w/seeded.h"], 1);
    EXPECT_EQ(cache_.lookups(), 2u);
}

TEST_F(StatCacheTest, AMissingFileStaysMissingUntilItIsForgotten) {
    EXPECT_EQ(cache_.TimeOf(N("/w/gen.h")), std::nullopt);
    gFiles["/w/gen.h"] = 40; // a step writes it
    EXPECT_EQ(cache_.TimeOf(N("/w/gen.h")), std::nullopt);
    EXPECT_EQ(cache_.Time("/w/gen.h"), std::nullopt);
    EXPECT_EQ(gAsked["/w/gen.h"], 1);
    cache_.Forget("/w/gen.h");
    EXPECT_EQ(cache_.TimeOf(N("/w/gen.h")), 40);
    EXPECT_EQ(gAsked["/w/gen.h"], 2);
}

TEST_F(StatCacheTest, ForgettingAFileAsksOnlyThatFileAnew) {
    EXPECT_EQ(cache_.TimeOf(N("/w/a.h")), 10);
    EXPECT_EQ(cache_.TimeOf(N("/w/b.h")), 20);
    EXPECT_EQ(cache_.Time("/w/a.o"), 30);
    gFiles["/w/a.h"] = 11;
    gFiles["/w/b.h"] = 21;
    gFiles["/w/a.o"] = 31;
    cache_.Forget("/w/a.h");
    cache_.Forget("/w/a.o");
    // The rewritten files' new times; the other's still the time this build
    // first saw.
    EXPECT_EQ(cache_.TimeOf(N("/w/a.h")), 11);
    EXPECT_EQ(cache_.TimeOf(N("/w/b.h")), 20);
    EXPECT_EQ(cache_.TimeOf(N("/w/a.o")), 31);
    EXPECT_EQ(gAsked["/w/a.h"], 2);
    EXPECT_EQ(gAsked["/w/b.h"], 1);
    EXPECT_EQ(gAsked["/w/a.o"], 2);
    // Forgetting a file never asked of is harmless.
    cache_.Forget("/w/never.h");
    EXPECT_EQ(cache_.lookups(), 5u);
}

} // namespace
} // namespace quorle::host
