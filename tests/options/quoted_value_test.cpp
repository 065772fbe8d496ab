#include <gtest/gtest.h>

#include <string>

#include "options/option_string.h"

using namespace quorle::options;

namespace {

const std::string kValues[] = {"",     "plain",      "\"",    "\"\"",       "]",
                               "a]]b", "say \"hi\"", "x\"]y", "C:\\dir ]1", "\"]\""};

TEST(QuotedValue, AppendsWhatEscapingTheQuotedTextGives) {
    EXPECT_EQ(QuoteValue("a\"b]c"), "\"a\"\"b]]c\"");
    EXPECT_EQ(QuoteValue(""), "\"\"");
    for (const std::string& value : kValues) {
        std::string out = "[S|KEY|";
        AppendQuotedValue(out, value);
        EXPECT_EQ(out, "[S|KEY|" + Escape("\"" + value + "\"")) << value;
        EXPECT_EQ(QuoteValue(value), out.substr(7)) << value;
    }
}

TEST(QuotedValue, UnescapeInPlaceMatchesUnescape) {
    for (const std::string& value : kValues) {
        std::string escaped = QuoteValue(value);
        std::string inPlace = escaped;
        UnescapeInPlace(inPlace);
        EXPECT_EQ(inPlace, Unescape(escaped)) << value;
    }
    std::string text = "a]]b\"\"c]\"d";
    UnescapeInPlace(text);
    EXPECT_EQ(text, "a]b\"c\"d");
    std::string onlyBrackets = "]]]]";
    UnescapeInPlace(onlyBrackets, "]");
    EXPECT_EQ(onlyBrackets, "]]");
}

TEST(QuotedValue, SplittingAndBodiesAgree) {
    std::string text = " [V|VERSION|2]\t[S|A|" + QuoteValue("x y]\"") + "]\r\n[B|C|1] ";
    std::vector<std::string> tokens = SplitOptionString(text);
    std::vector<std::string> bodies = ReadTokenBodies(text);
    ASSERT_EQ(tokens.size(), 3u);
    ASSERT_EQ(bodies.size(), 3u);
    for (size_t i = 0; i < tokens.size(); ++i) EXPECT_EQ(bodies[i], TokenBody(tokens[i]));
    EXPECT_EQ(bodies[1], "S|A|\"x y]\"\"");
}

} // namespace
