// Dependencies held as path numbers, each with its time only where that is
// not its path's usual time: every time must come back as it went in.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <vector>

#include "host/dependency_list.h"

namespace quorle::host {
namespace {

std::vector<Dependency> All(const DependencyList& list) {
    std::vector<Dependency> all;
    for (Dependency dep : list) all.push_back(dep);
    return all;
}

void ExpectSame(const std::vector<Dependency>& got, const std::vector<Dependency>& want) {
    ASSERT_EQ(got.size(), want.size());
    for (size_t i = 0; i < want.size(); ++i) {
        EXPECT_EQ(got[i].path, want[i].path) << i;
        EXPECT_EQ(int64_t{got[i].time}, int64_t{want[i].time}) << i;
    }
}

TEST(DependencyList, EveryTimeComesBackWithOrWithoutTheUsualTimes) {
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
    UsualTimes usual;
    usual.Note(0, 100);
    usual.Note(2, kMin);
    usual.Note(5, -1);
    usual.Note(0, 999); // the first time noted stays
    EXPECT_EQ(usual.Of(0), 100);
    EXPECT_EQ(usual.Of(1), std::nullopt);
    EXPECT_EQ(usual.Of(9), std::nullopt);
    const std::vector<Dependency> deps = {
        {0, 100},          // the usual time
        {1, 7},            // a path with none
        {2, kMin},         // usual, and the least time there is
        {5, 0},            // not the usual
        {0, 101},          // the same path with another time
        {5, -1},           // usual
        {0x7fffffff, kMax} // the highest number a table gives
    };
    DependencyList packed(&usual), plain;
    for (const Dependency& dep : deps) packed.push_back(dep), plain.push_back(dep);
    EXPECT_EQ(packed.size(), deps.size());
    ExpectSame(All(packed), deps);
    ExpectSame(All(plain), deps);
    EXPECT_EQ(int64_t{packed[3].time}, 0);
    EXPECT_EQ(packed[6].path, 0x7fffffffu);
    // Noting a path's usual time later changes nothing already held.
    usual.Note(1, 8);
    ExpectSame(All(packed), deps);
    // A copy reads the same; clearing empties it.
    DependencyList copy = packed;
    ExpectSame(All(copy), deps);
    copy.clear();
    EXPECT_TRUE(copy.empty());
    EXPECT_EQ(copy.begin(), copy.end());
    ExpectSame(All(packed), deps);
    // A number with the top bit set cannot be held.
    EXPECT_THROW(packed.push_back({0x80000000u, 1}), std::length_error);
}

} // namespace
} // namespace quorle::host
