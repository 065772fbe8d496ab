#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interface/quorle.h"

namespace {

QuorleProjectInfo Info() {
    QuorleProjectInfo info{};
    info.size = sizeof(QuorleProjectInfo);
    return info;
}

struct LineCall {
    int result = -1;
    int32_t errors = -1, warnings = -1, fatals = -1, isMessage = -1;
    int32_t length = 0;
    char buffer[256];
};

LineCall OutputLine(const char* phase, const char* line, int32_t capacity,
                    const QuorleProjectInfo* info) {
    LineCall call;
    std::memset(call.buffer, 'x', sizeof call.buffer);
    call.length = capacity;
    call.result = GetOutputLineInfo(phase, 0, 0, 0, line, &call.errors, &call.warnings,
                                    &call.fatals, call.buffer, &call.length, &call.isMessage, info);
    return call;
}

} // namespace

TEST(ScanExports, OutputLineFillsRecordWithNuls) {
    QuorleProjectInfo info = Info();
    LineCall call = OutputLine("GNU Compiler", "C:\\a.c:12: error: x", 256, &info);
    ASSERT_EQ(call.result, 0);
    // Fields stay separated by "|"; the closing line feeds arrive as NULs.
    const std::string expected("C:\\a.c|12|| error: x\0\0", 22);
    EXPECT_EQ(call.length, 22);
    EXPECT_EQ(std::string(call.buffer, expected.size()), expected);
    EXPECT_EQ(call.errors, 1);
    EXPECT_EQ(call.warnings, 0);
    EXPECT_EQ(call.fatals, 0);
    EXPECT_EQ(call.isMessage, 1);
    EXPECT_EQ(call.buffer[expected.size()], 'x');

    call = OutputLine("Linker", "Copyright (C) Ostrel", 256, &info);
    ASSERT_EQ(call.result, 0);
    EXPECT_EQ(call.length, 2);
    EXPECT_EQ(std::string(call.buffer, 3), std::string("\0\0x", 3));
    EXPECT_EQ(call.isMessage, 0);
}

TEST(ScanExports, OutputLineRefusals) {
    QuorleProjectInfo info = Info();
    // One byte short: the length is stored, nothing else is written.
    LineCall call = OutputLine("GNU Compiler", "C:\\a.c:12: error: x", 21, &info);
    EXPECT_EQ(call.result, 1);
    EXPECT_EQ(call.length, 22);
    EXPECT_EQ(call.buffer[0], 'x');
    EXPECT_EQ(call.errors, -1);
    EXPECT_EQ(call.isMessage, -1);

    QuorleProjectInfo wrong = Info();
    wrong.size = 52 + 4;
    EXPECT_EQ(OutputLine("GNU Compiler", "x", 256, &wrong).result, 1);
    EXPECT_EQ(OutputLine("GNU Compiler", "x", 256, nullptr).result, 1);
    EXPECT_EQ(OutputLine("Debug", "x", 256, &info).result, 1);
    EXPECT_EQ(OutputLine("compiler", "x", 256, &info).result, 1);
    EXPECT_EQ(OutputLine(nullptr, "x", 256, &info).result, 1);
    EXPECT_EQ(OutputLine("Compiler", nullptr, 256, &info).result, 1);
    int32_t n = 0, length = 10;
    char buffer[10];
    EXPECT_EQ(
        GetOutputLineInfo("Compiler", 0, 0, 0, "x", nullptr, &n, &n, buffer, &length, &n, &info),
        1);
    EXPECT_EQ(
        GetOutputLineInfo("Compiler", 0, 0, 0, "x", &n, &n, &n, buffer, &length, nullptr, &info),
        1);
}

TEST(ScanExports, ColouringBuffer) {
    static char buffer[2000];
    int32_t length = 930;
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(GetSyntaxColouringInformation("C header file", buffer, &length), 1);
    EXPECT_EQ(length, 931);
    EXPECT_EQ(buffer[0], 'x');
    length = 931;
    EXPECT_EQ(GetSyntaxColouringInformation("C header file", buffer, &length), 0);
    EXPECT_EQ(std::strlen(buffer), 930u);
    EXPECT_EQ(std::string(buffer, 7), "GLOBAL\n");

    // Not coloured: success, size 0 and one NUL, but only into room for it.
    std::memset(buffer, 'x', sizeof buffer);
    length = 5;
    EXPECT_EQ(GetSyntaxColouringInformation("c header file", buffer, &length), 0);
    EXPECT_EQ(length, 0);
    EXPECT_EQ(buffer[0], '\0');
    EXPECT_EQ(buffer[1], 'x');
    buffer[0] = 'x';
    length = 0;
    EXPECT_EQ(GetSyntaxColouringInformation("unknown", buffer, &length), 0);
    EXPECT_EQ(buffer[0], 'x');
    EXPECT_EQ(GetSyntaxColouringInformation(nullptr, buffer, &length), 1);
}

TEST(ScanExports, DependencyResetAndUnknownPhase) {
    QuorleProjectInfo info = Info();
    char* result = nullptr;
    int token = 0;
    EXPECT_EQ(GetFileDependencies("GNU Compiler", nullptr, nullptr, nullptr, nullptr, 0, &result,
                                  &token, nullptr, nullptr, nullptr, &info, nullptr),
              0);
    EXPECT_EQ(result, nullptr);
    EXPECT_EQ(GetFileDependencies("Debug", "a.c", "C source file", "", "", 0, &result, nullptr,
                                  &token, &token, &token, &info, nullptr),
              1);
    // A compiler-phase call without a result pointer fails instead of crashing.
    EXPECT_EQ(GetFileDependencies("GNU Compiler", "a.c", "C source file", "", "", 0, nullptr,
                                  nullptr, nullptr, nullptr, nullptr, &info, nullptr),
              1);
    // A C source named like a header is not scanned.
    ASSERT_EQ(GetFileDependencies("GNU Compiler", "x.H", "C source file", "", "", 0, &result,
                                  nullptr, nullptr, nullptr, nullptr, &info, nullptr),
              0);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result[0], '\0');
    FreeSimpleType(result);
}
