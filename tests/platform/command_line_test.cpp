#include <gtest/gtest.h>

#include "platform/platform.h"
#include "platform/wildcard.h"

using namespace quorle::platform;
using V = std::vector<std::string>;

TEST(CommandLine, SplitsTheWindowsWay) {
    EXPECT_EQ(SplitCommandLine("gcc  -M\t-c a.c "), (V{"gcc", "-M", "-c", "a.c"}));
    EXPECT_EQ(SplitCommandLine("\"C:\\Program Files\\gcc.exe\" @\"a b.gcc\""),
              (V{"C:\\Program Files\\gcc.exe", "@a b.gcc"}));
    EXPECT_EQ(SplitCommandLine("a \"\" b"), (V{"a", "", "b"}));
    EXPECT_EQ(SplitCommandLine("x\\\\y \\z"), (V{"x\\\\y", "\\z"}));
    EXPECT_EQ(SplitCommandLine("\"open end"), (V{"open end"}));
    EXPECT_TRUE(SplitCommandLine("  ").empty());
    EXPECT_TRUE(SplitCommandLine("").empty());
}

TEST(Wildcards, MatchLikeFindFirstFile) {
    EXPECT_TRUE(WildcardMatch("*.pak", "A.PAK"));
    EXPECT_TRUE(WildcardMatch("*.*", "noext"));
    EXPECT_TRUE(WildcardMatch("*", ""));
    EXPECT_TRUE(WildcardMatch("a*b*c", "aXbYbZc"));
    EXPECT_TRUE(WildcardMatch("?.o", "x.o"));
    EXPECT_FALSE(WildcardMatch("?.o", "xy.o"));
    EXPECT_FALSE(WildcardMatch("*.pak", "a.pak.bak"));
    EXPECT_FALSE(WildcardMatch("a*b", "acbd"));
    EXPECT_FALSE(WildcardMatch("abc", "ab"));
}
