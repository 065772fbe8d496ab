// Sizes and times past what 32 bits hold: a 32-bit build must still see such
// files (stat and readdir would otherwise fail with EOVERFLOW).
#include <gtest/gtest.h>

#ifndef _WIN32
#include <algorithm>
#include <cstdint>

#include "core/limits.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

using namespace quorle::platform;
using quorle::testing_support::TempDir;

TEST(LargeFiles, FilePastFourGibibytesIsSeenButNotRead) {
    TempDir dir;
    std::string path = dir.File("huge.pak");
    ASSERT_TRUE(WriteFile(path, "x", false));
    // Sparse: nothing is written.
    // The machine's own tools set sizes and times, so the test needs no OS header.
    const int64_t size = (int64_t{1} << 32) + (int64_t{1} << 20);
    ASSERT_EQ(RunProcess("truncate -s " + std::to_string(size) + " " + path, {}).exitCode, 0);
    EXPECT_TRUE(FileExists(path));
    EXPECT_TRUE(IsFile(path));
    EXPECT_FALSE(IsDirectory(path));
    EXPECT_TRUE(GetFileAttributes(path).has_value());
    EXPECT_TRUE(FileModifiedTime(path).has_value());
    EXPECT_FALSE(ReadFile(path, false).has_value());
    EXPECT_EQ(FindFiles(dir.File("*.pak")), std::vector<std::string>{"huge.pak"});
    ASSERT_TRUE(DeleteFile(path));
    EXPECT_FALSE(FileExists(path));
}

TEST(LargeFiles, ModifiedTimesPast2038AreRead) {
    TempDir dir;
    std::string path = dir.File("future");
    ASSERT_TRUE(WriteFile(path, "1", false));
    // 2040-01-01, past the last second a signed 32-bit time holds.
    const int64_t seconds = 2208988800;
    ASSERT_EQ(
        RunProcess("touch -d @" + std::to_string(seconds) + ".000000007 " + path, {}).exitCode, 0);
    auto modified = FileModifiedTime(path);
    ASSERT_TRUE(modified.has_value());
    EXPECT_EQ(*modified, seconds * 1000000000 + 7);
    EXPECT_TRUE(IsFile(path));
}
#endif
