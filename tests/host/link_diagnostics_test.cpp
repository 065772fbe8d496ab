// The lines of real links as the host shows them: ld's own forms, and those
// of gcc driving the link (collect2, the driver's name, ld under its full
// path), each with one severity word.
#include <gtest/gtest.h>

#include "host/diagnostics.h"

namespace quorle::host {
namespace {

LineInfo Counted(int errors, int warnings) {
    LineInfo info;
    info.isMessage = true;
    info.errors = errors;
    info.warnings = warnings;
    info.file = info.line = "None";
    return info;
}

const DisplayPlace kHere{"/w", "/w/Debug", false};

TEST(LinkDiagnostics, ASectionAndOffsetIsNoFileName) {
    // ld prints it on a line of its own after "obj.o: in function `f':".
    EXPECT_EQ(FormatLine(Counted(1, 0), "(.vects+0x0): undefined reference to `_estack'", kHere),
              "error: (.vects+0x0): undefined reference to `_estack'");
    EXPECT_EQ(FormatLine(Counted(1, 0),
                         "arm-none-eabi-ld: (.text+0x1c): undefined reference to `nothere'", kHere),
              "error: (.text+0x1c): undefined reference to `nothere'");
    // The context line before it counts nothing and is shown as it is.
    const std::string context = "/usr/lib/gcc/arm-none-eabi/12.2.1/../../../arm-none-eabi/bin/ld: "
                                "Debug/startup.o: in function `vector_table':";
    EXPECT_EQ(FormatLine(Counted(0, 0), context, kHere), context);
#if !defined(_WIN32)
    // With an object in front the object is the place, as before.
    EXPECT_EQ(FormatLine(Counted(1, 0),
                         "ld: /w/Debug/start.o:(.vects+0x0): undefined reference "
                         "to `_estack'",
                         kHere),
              "Debug/start.o: error: undefined reference to `_estack'");
#endif
}

TEST(LinkDiagnostics, AGccDrivenLinkShowsEachSeverityOnce) {
    EXPECT_EQ(FormatLine(Counted(1, 0), "collect2: error: ld returned 1 exit status", kHere),
              "error: ld returned 1 exit status");
    EXPECT_EQ(FormatLine(Counted(0, 1),
                         "/usr/bin/ld: warning: cannot find entry symbol Reset_Handler; "
                         "defaulting to 00000000",
                         kHere),
              "warning: cannot find entry symbol Reset_Handler; defaulting to 00000000");
    EXPECT_EQ(FormatLine(Counted(1, 0),
                         "arm-none-eabi-gcc: error: unrecognized command-line "
                         "option '-mcv2'",
                         kHere),
              "error: unrecognized command-line option '-mcv2'");
    EXPECT_EQ(FormatLine(Counted(1, 0), "corvo-elf-gcc.exe: fatal error: no input files", kHere),
              "error: no input files");
    // A message that merely starts with a severity-like word keeps its text.
    EXPECT_EQ(FormatLine(Counted(1, 0), "ld: errors in the script", kHere),
              "error: errors in the script");
}

#if !defined(_WIN32)
TEST(LinkDiagnostics, AnObjectWithItsSourceLineNamesTheSource) {
    EXPECT_EQ(FormatLine(Counted(1, 0),
                         "arm-none-eabi-ld: /w/Debug/startup.o:/w/src/startup.c:31: undefined "
                         "reference to `_estack'",
                         kHere),
              "src/startup.c:31: error: undefined reference to `_estack'");
    // A region that overflows is named in the message.
    EXPECT_EQ(
        FormatLine(Counted(1, 0), "arm-none-eabi-ld: region `RAM' overflowed by 3120 bytes", kHere),
        "error: region `RAM' overflowed by 3120 bytes");
}
#endif

} // namespace
} // namespace quorle::host
