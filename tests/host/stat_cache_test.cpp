// The build's file times: each path asked of the file system once, by path
// or by the state's number for it, until a step rewrites a file.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>
#include <vector>

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

FoundEntry Found(int64_t time) {
    FoundEntry entry;
    entry.exists = true;
    entry.modified = time;
    return entry;
}

// All of a plan's times at once, by name while the plan still holds its
// paths. A path through a link, or one dropped since, has no time to give
// and is asked.
TEST_F(StatCacheTest, APlansTimesAreAnsweredWithNoLookUp) {
    N("/w/numbered.h");
    PathTable paths;
    std::vector<FoundEntry> entries;
    auto add = [&](const char* path, FoundEntry entry) {
        paths.Intern(path);
        entries.push_back(entry);
    };
    add("/w/found.o", Found(70));
    add("/w/numbered.h", Found(80));
    add("/w/missing.o", FoundEntry{});
    FoundEntry link = Found(5), dropped = Found(6);
    link.throughLink = true;
    dropped.dropped = true;
    add("/w/a.h", link);
    add("/w/b.h", dropped);
    cache_.SeedAll(FoundTimes(std::move(paths), std::move(entries)));
    EXPECT_EQ(cache_.Time("/w/found.o"), 70);
    EXPECT_EQ(cache_.TimeOf(N("/w/numbered.h")), 80);
    EXPECT_EQ(cache_.Time("/w/numbered.h"), 80);
    EXPECT_EQ(cache_.Time("/w/missing.o"), std::nullopt);
    EXPECT_EQ(cache_.lookups(), 0u);
    EXPECT_EQ(cache_.Time("/w/a.h"), 10);
    EXPECT_EQ(cache_.TimeOf(N("/w/b.h")), 20);
    EXPECT_EQ(cache_.lookups(), 2u);
    // New paths are asked once, and a rewritten file again.
    EXPECT_EQ(cache_.Time("/w/new.o"), std::nullopt);
    EXPECT_EQ(cache_.Time("/w/new.o"), std::nullopt);
    EXPECT_EQ(cache_.lookups(), 3u);
    gFiles["/w/found.o"] = 71;
    cache_.Forget("/w/found.o");
    EXPECT_EQ(cache_.Time("/w/found.o"), 71);
}

// Once the cache holds paths of its own, a plan's times are seeded one by
// one, and what it already knew stays.
TEST_F(StatCacheTest, APlansTimesAfterALookUpNeverReplaceWhatIsKnown) {
    EXPECT_EQ(cache_.Time("/w/a.o"), 30);
    PathTable paths;
    paths.Intern("/w/a.o");
    paths.Intern("/w/late.o");
    cache_.SeedAll(FoundTimes(std::move(paths), {Found(99), Found(40)}));
    EXPECT_EQ(cache_.Time("/w/a.o"), 30);
    EXPECT_EQ(cache_.Time("/w/late.o"), 40);
    EXPECT_EQ(cache_.lookups(), 1u);
}

// The state took the plan's paths over as it loaded, so the plan's numbers
// are the shared table's: times go in by number, and paths the state
// numbered on from them are asked as any.
TEST_F(StatCacheTest, APlansPathsTakenOverByTheStateAreSeededByNumber) {
    EXPECT_EQ(cache_.Time("/w/a.o"), 30); // asked before the state numbered it
    PathTable paths;
    std::vector<FoundEntry> entries;
    auto add = [&](const char* path, FoundEntry entry) {
        paths.Intern(path);
        entries.push_back(entry);
    };
    FoundEntry link = Found(5), dropped = Found(6);
    link.throughLink = true;
    dropped.dropped = true;
    add("/w/found.o", Found(70));
    add("/w/a.h", link);
    add("/w/b.h", dropped);
    add("/w/missing.o", FoundEntry{});
    add("/w/a.o", Found(99));
    FoundTimes found(std::move(paths), std::move(entries));
    numbered_ = found.TakePaths();
    uint32_t later = N("/w/later.h");
    gFiles["/w/later.h"] = 50;
    cache_.SeedAll(found);
    EXPECT_EQ(cache_.lookups(), 1u);
    EXPECT_EQ(cache_.TimeOf(0), 70);
    EXPECT_EQ(cache_.Time("/w/found.o"), 70);
    EXPECT_EQ(cache_.TimeOf(3), std::nullopt);
    EXPECT_EQ(cache_.Time("/w/a.o"), 30); // what was found first stays
    EXPECT_EQ(cache_.lookups(), 1u);
    EXPECT_EQ(cache_.TimeOf(1), 10);
    EXPECT_EQ(cache_.Time("/w/b.h"), 20);
    EXPECT_EQ(cache_.TimeOf(later), 50);
    EXPECT_EQ(cache_.lookups(), 4u);
    gFiles["/w/found.o"] = 71;
    cache_.Forget("/w/found.o");
    EXPECT_EQ(cache_.TimeOf(0), 71);
}

// Times numbered for a table that is not the shared one would name other
// files there: none is taken, and each file is asked.
TEST_F(StatCacheTest, TimesNumberedForAnotherTableAreNotTaken) {
    N("/w/a.h");
    N("/w/b.h");
    PathTable paths;
    paths.Intern("/w/b.h");
    paths.Intern("/w/a.h");
    FoundTimes found(std::move(paths), {Found(98), Found(99)});
    PathTable elsewhere = found.TakePaths();
    cache_.SeedAll(found);
    EXPECT_EQ(cache_.TimeOf(0), 10);
    EXPECT_EQ(cache_.TimeOf(1), 20);
    EXPECT_EQ(cache_.lookups(), 2u);
}

} // namespace
} // namespace quorle::host
