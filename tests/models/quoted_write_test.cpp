#include <gtest/gtest.h>

#include <string>

#include "models/compiler_model.h"

namespace quorle::models {
namespace {

// The user-options token as the compiler model writes it.
std::string WrittenUserOptions(const std::string& value) {
    CompilerModel m("C source file", "");
    m.userOptions_ = value;
    std::string written = m.Write();
    size_t start = written.find("[S|APPTXT|");
    if (start == std::string::npos) return {};
    size_t end = written.find("] [", start);
    return written.substr(start, end == std::string::npos ? end : end + 1 - start);
}

TEST(QuotedWrite, EscapesLikeTheOptionStringsAndPadsQuoteOnlyValues) {
    EXPECT_EQ(WrittenUserOptions("-O1 a]b"), "[S|APPTXT|\"-O1 a]]b\"]");
    EXPECT_EQ(WrittenUserOptions("say \"hi\""), "[S|APPTXT|\"say \"\"hi\"\"\"]");
    // A value made only of quotes gets one more escaped pair.
    EXPECT_EQ(WrittenUserOptions("\""), "[S|APPTXT|\"\"\"\"\"\"]");
    EXPECT_EQ(WrittenUserOptions("\"\""), "[S|APPTXT|\"\"\"\"\"\"\"\"]");
    // A quote beside anything else does not.
    EXPECT_EQ(WrittenUserOptions("\"]"), "[S|APPTXT|\"\"\"]]\"]");
}

} // namespace
} // namespace quorle::models
