#include <gtest/gtest.h>

#include "options/option_string.h"

using namespace quorle::options;

TEST(OptionString, QuotedValuesRoundTripThroughTokenBody) {
    for (std::string value :
         {"plain", "with ] bracket", "say \"hi\"", "ends]", "]]\"\"", "", "a b|c"}) {
        std::string token = "[S|OBJPATH|" + QuoteValue(value) + "]";
        std::vector<std::string> tokens = SplitOptionString("[V|VERSION|2] " + token + " [B|X|1]");
        ASSERT_EQ(tokens.size(), 3u) << value;
        std::string body = TokenBody(tokens[1]);
        ASSERT_EQ(body.rfind("S|OBJPATH|", 0), 0u);
        EXPECT_EQ(Unquote(body.substr(10)), value) << token;
    }
}

TEST(OptionString, EscapeDoublesOnlyInsideOuterQuotes) {
    EXPECT_EQ(QuoteValue("a]b"), "\"a]]b\"");
    EXPECT_EQ(QuoteValue("x\"y"), "\"x\"\"y\"");
    EXPECT_EQ(Escape("no quotes ] here"), "no quotes ] here");
    EXPECT_EQ(Escape("one \" quote ]"), "one \" quote ]");
    EXPECT_EQ(Escape("]\"a]\"]"), "]\"a]]\"]");
}

TEST(OptionString, SplitAcceptsAnyWhitespaceAndKeepsQuotedBlanks) {
    auto spaced = SplitOptionString("[A|B|1]   [C|D|2]");
    auto tabbed = SplitOptionString("[A|B|1]\t[C|D|2]");
    auto lined = SplitOptionString("\r\n[A|B|1]\r\n[C|D|2]\n");
    EXPECT_EQ(spaced, tabbed);
    EXPECT_EQ(spaced, lined);
    auto quoted = SplitOptionString("[S|P|\"C:\\My Dir\\a b.o\"] [B|X|1]");
    ASSERT_EQ(quoted.size(), 2u);
    EXPECT_EQ(quoted[0], "[S|P|\"C:\\My Dir\\a b.o\"]");
    EXPECT_TRUE(SplitOptionString("   \t ").empty());
}

TEST(OptionString, AppendTokenWrapsAndSeparates) {
    std::string list;
    AppendToken(list, "V|VERSION|2");
    AppendToken(list, "");
    AppendToken(list, "[S|K|\"v\"]");
    EXPECT_EQ(list, "[V|VERSION|2] [S|K|\"v\"]");
    std::string lines;
    AppendToken(lines, "one", '\n');
    AppendToken(lines, "two", '\n');
    EXPECT_EQ(lines, "one\ntwo");
}

TEST(OptionString, NextFieldWalksSeparatedValues) {
    std::string text = "||a|b||c|";
    EXPECT_EQ(NextField(text, "|"), "a");
    EXPECT_EQ(NextField(text, "|"), "b");
    EXPECT_EQ(NextField(text, "|"), "c");
    EXPECT_EQ(NextField(text, "|"), "");
    EXPECT_TRUE(text.empty());
}

TEST(OptionString, ShortAndUnquotedValuesStayInsideTheText) {
    EXPECT_EQ(StripEnds("]"), "");
    EXPECT_EQ(StripEnds(""), "");
    EXPECT_EQ(TokenBody("["), "");
    EXPECT_EQ(Unquote("\""), "");
    EXPECT_EQ(Unquote("abc"), "abc");
    EXPECT_EQ(Unquote("\"abc"), "\"abc");
}

TEST(OptionString, ParseDecimalClampsOverflow) {
    EXPECT_EQ(ParseDecimal("42abc", 0, 100), 42);
    EXPECT_EQ(ParseDecimal("abc", 0, 100, 7), 7);
    EXPECT_EQ(ParseDecimal("99999999999999999999999", 0, 1000), 1000);
    EXPECT_EQ(ParseDecimal("-99999999999999999999999", -5, 1000), -5);
    EXPECT_EQ(ParseDecimal("-3", 0, 10), 0);
    EXPECT_EQ(ParseDecimal("-3", 0, 10, 9, false), 9);
    EXPECT_EQ(ParseDecimal("9223372036854775807", INT64_MIN, INT64_MAX), INT64_MAX);
    EXPECT_EQ(ParseDecimal("-9223372036854775808", INT64_MIN, INT64_MAX), INT64_MIN);
}

TEST(OptionString, SplitOutsideQuotesKeepsQuotedSeparators) {
    auto parts = SplitOutsideQuotes("\"a|b\"|\"c\"", '|');
    ASSERT_EQ(parts.size(), 2u);
    EXPECT_EQ(parts[0], "\"a|b\"");
    EXPECT_EQ(parts[1], "\"c\"");
}
