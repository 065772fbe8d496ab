#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <string>

#include "core/phase.h"
#include "core/result_buffer.h"
#include "interface/quorle.h"

using namespace quorle;

TEST(PhaseLookup, SuffixMatchIsCaseSensitive) {
    EXPECT_EQ(LookupPhase("GNU Compiler"), kPhaseCompiler);
    EXPECT_EQ(LookupPhase("compiler"), kPhaseUnknown);
    EXPECT_EQ(LookupPhase("GNU Library Generator"), kPhaseGenerator);
    EXPECT_EQ(LookupPhase("OptLinker"), kPhaseLinker);
    EXPECT_EQ(LookupPhase("OPTIMIZER"), kPhaseLinker);
    EXPECT_EQ(LookupPhase("Linker"), kPhaseLinker);
    EXPECT_EQ(LookupPhase("Stype Converter"), kPhaseStypeConverter);
    EXPECT_EQ(LookupPhase("ler"), kPhaseUnknown);
    EXPECT_EQ(LookupPhase(static_cast<const char*>(nullptr)), kPhaseUnknown);
    EXPECT_EQ(PhaseName(kPhaseLinker), "OptLinker");
    EXPECT_EQ(PhaseName(static_cast<PhaseIndex>(9)), "");
}

TEST(ResultBuffer, ListFormExactShortAndNegativeCapacity) {
    char buf[8];
    std::memset(buf, 'x', sizeof buf);
    int32_t len = 3;
    EXPECT_EQ(CopyListForm("4.4\n", buf, &len), 1);
    EXPECT_EQ(len, 4);
    EXPECT_EQ(buf[0], 'x');
    len = 4;
    EXPECT_EQ(CopyListForm("4.4\n", buf, &len), 0);
    EXPECT_EQ(std::string(buf, 4), std::string("4.4\0", 4));
    EXPECT_EQ(buf[4], 'x');
    len = -1;
    EXPECT_EQ(CopyListForm("a\n", buf, &len), 1);
    EXPECT_EQ(len, 2);
}

// The length field is 32 bits wide: a text past it reports the largest
// length the field holds and is never copied, whatever the capacity.
TEST(ResultBuffer, SizesPastTheLengthFieldAreClampedAndRefused) {
    static const char kText[] = "abc";
    char buf[4] = {'x', 'x', 'x', 'x'};
    const size_t past = size_t{1} << 31;
    // Only the size is looked at: the view is never read past its first bytes.
    std::string_view huge(kText, past);
    int32_t len = INT32_MAX;
    EXPECT_EQ(CopyListForm(huge, buf, &len), 1);
    EXPECT_EQ(len, INT32_MAX);
    len = INT32_MAX;
    EXPECT_EQ(CopyStringForm(std::string_view(kText, past - 1), buf, &len), 1);
    EXPECT_EQ(len, INT32_MAX);
    len = INT32_MAX;
    EXPECT_EQ(CopyStringThenListForm(huge, nullptr, &len), 1);
    EXPECT_EQ(len, INT32_MAX);
    EXPECT_EQ(std::string(buf, 4), "xxxx");
    // The largest capacity takes a short text as any other does.
    len = INT32_MAX;
    EXPECT_EQ(CopyStringForm("ab", buf, &len), 0);
    EXPECT_EQ(len, 3);
    EXPECT_EQ(std::string(buf, 3), std::string("ab\0", 3));
}

TEST(ResultBuffer, StringFormsCountTheNul) {
    char buf[8];
    int32_t len = 3;
    EXPECT_EQ(CopyStringForm("a\nb", buf, &len), 1);
    EXPECT_EQ(len, 4);
    len = 4;
    EXPECT_EQ(CopyStringForm("a\nb", buf, &len), 0);
    EXPECT_EQ(std::string(buf, 4), std::string("a\nb\0", 4));
    len = 4;
    EXPECT_EQ(CopyStringThenListForm("a\nb", buf, &len), 0);
    EXPECT_EQ(std::string(buf, 4), std::string("a\0b\0", 4));
}

TEST(VersionExports, AnswerFromTheStringTable) {
    uint32_t major = 0, minor = 0, ordinal = 0;
    EXPECT_EQ(GetDLLInterfaceVersion(&major, &minor), 0);
    EXPECT_EQ(major, 6u);
    EXPECT_EQ(minor, 3u);
    EXPECT_EQ(GetDLLInterfaceVersion(nullptr, &minor), 1);
    EXPECT_EQ(GetDLLOrdinalVersion(&ordinal), 0);
    EXPECT_EQ(ordinal, 77u);
    char buf[32];
    int32_t len = 3;
    EXPECT_EQ(GetDLLProductVersion(buf, &len), 1);
    EXPECT_EQ(len, 4);
    len = 4;
    EXPECT_EQ(GetDLLProductVersion(buf, &len), 0);
    EXPECT_EQ(std::string(buf, 4), std::string("4.4\0", 4));
    len = sizeof buf;
    EXPECT_EQ(GetCodeNavigationItems("", buf, &len), 0);
    EXPECT_EQ(len, 18);
    EXPECT_EQ(std::string(buf, 18), std::string("ANSI C Functions\0\0", 18));
    FreeSimpleType(nullptr);
}
