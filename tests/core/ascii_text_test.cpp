#include <gtest/gtest.h>

#include "core/ascii_text.h"

using namespace quorle::core;

namespace {

TEST(AsciiText, ComparesLettersWithoutRegardToCase) {
    EXPECT_TRUE(EqualsIgnoringCase("Dravik GNUCORVO [ELF]", "dravik gnucorvo [elf]"));
    EXPECT_TRUE(EqualsIgnoringCase("", ""));
    EXPECT_FALSE(EqualsIgnoringCase(".P", ".PP"));
    EXPECT_FALSE(EqualsIgnoringCase(".PP", ".P"));
    EXPECT_FALSE(EqualsIgnoringCase("[", "{")); // 0x5B and 0x7B are not letters
    EXPECT_FALSE(EqualsIgnoringCase("@", "`"));
    // Only A-Z fold: bytes of a code page stay as they are.
    EXPECT_FALSE(EqualsIgnoringCase("\xC4", "\xE4"));

    EXPECT_TRUE(StartsWithIgnoringCase("h'FFFF", "H'"));
    EXPECT_TRUE(StartsWithIgnoringCase("abc", ""));
    EXPECT_FALSE(StartsWithIgnoringCase("H", "H'"));
    EXPECT_FALSE(StartsWithIgnoringCase("0'FF", "H'"));
}

TEST(AsciiText, HexDigitValues) {
    const std::string_view digits = "0123456789abcdef";
    for (size_t i = 0; i < digits.size(); ++i)
        EXPECT_EQ(HexDigitValue(digits[i]), static_cast<int>(i)) << digits[i];
    const std::string_view upper = "ABCDEF";
    for (size_t i = 0; i < upper.size(); ++i)
        EXPECT_EQ(HexDigitValue(upper[i]), static_cast<int>(10 + i)) << upper[i];
    for (char c : {'g', 'G', 'x', ' ', '/', ':', '@', '`', '\0', '\xB0'})
        EXPECT_EQ(HexDigitValue(c), -1) << static_cast<int>(c);
}

// Every one of the 256 byte values, as a signed char too: only 'A'..'Z' move,
// each to its own lower-case letter; bytes from 0x80 up come back unchanged.
TEST(AsciiText, LowerFoldsOnlyUpperCaseLetters) {
    for (int byte = 0; byte < 256; ++byte) {
        const char c = static_cast<char>(byte);
        const bool upper = byte >= 'A' && byte <= 'Z';
        EXPECT_EQ(AsciiLower(c), upper ? static_cast<char>(byte + ('a' - 'A')) : c) << byte;
    }
    for (signed char c = -128; c < 0; ++c)
        EXPECT_EQ(AsciiLower(static_cast<char>(c)), static_cast<char>(c)) << static_cast<int>(c);
    EXPECT_EQ(ToAsciiLower("\xC4Z\xFF[A]"), "\xC4z\xFF[a]");
}

} // namespace
