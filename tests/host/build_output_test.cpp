// What a build prints: a status line rewritten in place on a terminal, a
// line per step elsewhere, and each step's output together under its line.
#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "host/build_output.h"
#include "support/captured_file.h"

namespace quorle::host {
namespace {

TEST(BuildOutput, WithoutATerminalAStepsOutputGoesUnderItsOwnLine) {
    CapturedFile out;
    BuildOutput print(out.file(), false, 0);
    print.Started(1, "[1/3] Compiling src/util.c");
    print.Started(2, "[2/3] Compiling src/ring.cpp");
    // util.c finishes first, with a warning: its line is printed again.
    print.StepLines(1, "[1/3] Compiling src/util.c", {"src/util.c:7:9: warning: unused"});
    print.StepLines(2, "[2/3] Compiling src/ring.cpp", {});
    print.Started(3, "[3/3] Linking demo.x");
    print.StepLines(3, "[3/3] Linking demo.x", {"memory: 10%"});
    print.Line("done");
    print.Finish();
    EXPECT_EQ(out.Text(), "[1/3] Compiling src/util.c\n"
                          "[2/3] Compiling src/ring.cpp\n"
                          "[1/3] Compiling src/util.c\n"
                          "src/util.c:7:9: warning: unused\n"
                          "[3/3] Linking demo.x\n"
                          "memory: 10%\n"
                          "done\n");
}

TEST(BuildOutput, OnATerminalOneStatusLineIsRewrittenInPlace) {
    CapturedFile out;
    BuildOutput print(out.file(), true, 0);
    print.Started(1, "[1/2] Compiling a.c");
    print.Started(2, "[2/2] Compiling b.c");
    print.StepLines(1, "[1/2] Compiling a.c", {"a.c:1: warning: w"});
    print.Finish();
    EXPECT_EQ(out.Text(), "\r[1/2] Compiling a.c\x1b[K"
                          "\r[2/2] Compiling b.c\x1b[K"
                          "\r\x1b[K[1/2] Compiling a.c\na.c:1: warning: w\n"
                          "\r[2/2] Compiling b.c\x1b[K"
                          "\n");
    // Output of the step the status line names: its line is not drawn twice.
    CapturedFile last;
    BuildOutput again(last.file(), true, 0);
    again.Started(7, "[1/1] Linking x");
    again.StepLines(7, "[1/1] Linking x", {"memory: 3%"});
    again.Line("summary");
    again.Finish();
    EXPECT_EQ(last.Text(), "\r[1/1] Linking x\x1b[K\r\x1b[K[1/1] Linking x\nmemory: 3%\nsummary\n");
}

TEST(BuildOutput, TheStatusLineIsCutToTheTerminalKeepingTheFileName) {
    CapturedFile out;
    BuildOutput print(out.file(), true, 20);
    print.Started(1, "[1/9] Compiling src/deep/deeper/file.c");
    EXPECT_EQ(out.Text(), "\r[1/9] Co...r/file.c\x1b[K");
    // A name in UTF-8 is cut between characters, not inside one.
    CapturedFile wide;
    BuildOutput narrow(wide.file(), true, 10);
    narrow.Started(1, "\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4\xc3\xa4"
                      "\xc3\xa4\xc3\xa4");
    EXPECT_EQ(wide.Text(), "\r\xc3\xa4\xc3\xa4\xc3\xa4...\xc3\xa4\xc3\xa4\xc3\xa4\x1b[K");
}

} // namespace
} // namespace quorle::host
