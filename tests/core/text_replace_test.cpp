#include <gtest/gtest.h>

#include <string>

#include "core/text_replace.h"

using namespace quorle::core;

namespace {

TEST(TextReplace, ReplacesLeftToRightWithoutSearchingTheReplacement) {
    std::string dir = "C:\\tc\\include\\sys\\include";
    ReplaceAll(dir, "\\include", "\\optlibinc");
    EXPECT_EQ(dir, "C:\\tc\\optlibinc\\sys\\optlibinc");

    std::string grows = "a+b+c";
    ReplaceAll(grows, "+", " + ");
    EXPECT_EQ(grows, "a + b + c");

    std::string overlapping = "aaaaa";
    ReplaceAll(overlapping, "aa", "b");
    EXPECT_EQ(overlapping, "bba");

    std::string shrinks = "$(X)$(X)y$(X)";
    ReplaceAll(shrinks, "$(X)", "");
    EXPECT_EQ(shrinks, "y");

    std::string unchanged = "abc";
    ReplaceAll(unchanged, "", "x");
    EXPECT_EQ(unchanged, "abc");
    ReplaceAll(unchanged, "abcd", "x");
    EXPECT_EQ(unchanged, "abc");
}

TEST(TextReplace, CopyLeavesTheSourceAlone) {
    const std::string source = "0x100+0x20+x";
    EXPECT_EQ(ReplacedAll(source, "+", " + "), "0x100 + 0x20 + x");
    EXPECT_EQ(source, "0x100+0x20+x");
    EXPECT_EQ(ReplacedAll("", "+", " + "), "");
    EXPECT_EQ(ReplacedAll("a\x01"
                          "b",
                          "\x01", " "),
              "a b");
}

} // namespace
