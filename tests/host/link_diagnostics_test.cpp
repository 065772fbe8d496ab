// The lines of real links as the host shows them: ld's own forms, and those
// of gcc driving the link (collect2, the driver's name, ld under its full
// path), each with one severity word.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/diagnostics.h"
#include "support/temp_dir.h"

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
    // A fatal error keeps gcc's words.
    EXPECT_EQ(FormatLine(Counted(1, 0), "corvo-elf-gcc.exe: fatal error: no input files", kHere),
              "fatal error: no input files");
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

// Without debug information ld names the source as the object's symbols
// have it: a bare name, never a file in the directory ld ran in.
TEST(LinkDiagnostics, AFileNameFromLdIsTheOneProjectFileOfThatName) {
    testing_support::TempDir temp("ld_names");
    const std::string root = temp.Root().generic_string();
    std::filesystem::create_directories(temp.Root() / "Release");
    std::ofstream(temp.Root() / "Release" / "made.o") << "x";
    const std::vector<std::string> files{root + "/src/main.cpp", root + "/src/a/util.c",
                                         root + "/src/b/util.c", root + "/lib/c/made.o"};
    DisplayPlace place{root, root + "/Release", false, &files};
    const std::string undefined = ":(.text._ZN4Ring4pushEi+0x28): undefined reference to `f'";
    EXPECT_EQ(FormatLine(Counted(1, 0), "main.cpp" + undefined, place),
              "src/main.cpp: error: undefined reference to `f'");
    EXPECT_EQ(FormatLine(Counted(1, 0), "ld: a/util.c" + undefined, place),
              "src/a/util.c: error: undefined reference to `f'");
    // Two files of that name, or none: as ld wrote it.
    EXPECT_EQ(FormatLine(Counted(1, 0), "util.c" + undefined, place),
              "util.c: error: undefined reference to `f'");
    EXPECT_EQ(FormatLine(Counted(1, 0), "ring.cpp" + undefined, place),
              "ring.cpp: error: undefined reference to `f'");
    EXPECT_EQ(FormatLine(Counted(1, 0), "in.cpp" + undefined, place),
              "in.cpp: error: undefined reference to `f'")
        << "a name is matched whole, not as the end of main.cpp";
    // A file that is where ld ran is that one, before any project file.
    EXPECT_EQ(FormatLine(Counted(1, 0), "made.o" + undefined, place),
              "Release/made.o: error: undefined reference to `f'");
    EXPECT_EQ(ResolveToolFile("main.cpp", {root, "", false, nullptr}), std::nullopt);
}

} // namespace
} // namespace quorle::host
