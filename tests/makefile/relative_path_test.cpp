#include <gtest/gtest.h>

#include "makefile/relative_path.h"

using quorle::makefile::RelativeMakefilePath;
using quorle::makefile::SubstituteInstallDir;

TEST(MakefilePaths, AbsolutePathsOnTheBaseVolumeBecomeRelative) {
    const char* base = "C:\\work\\proj";
    EXPECT_EQ(RelativeMakefilePath("C:\\work\\proj\\src\\main.c", base), "src\\main.c");
    EXPECT_EQ(RelativeMakefilePath("c:\\WORK\\Proj\\src\\main.c", base), "src\\main.c");
    EXPECT_EQ(RelativeMakefilePath("C:\\work\\lib\\inc", base), "..\\lib\\inc");
    EXPECT_EQ(RelativeMakefilePath("C:\\other\\x.h", base + std::string("\\")),
              "..\\..\\other\\x.h");
    EXPECT_EQ(RelativeMakefilePath("C:\\work\\proj", base), ".");
    EXPECT_EQ(RelativeMakefilePath("C:\\work\\proj\\inc\\", base), "inc\\");
    EXPECT_EQ(RelativeMakefilePath("C:\\work\\proj\\.\\a\\..\\b.c", base), "b.c");
    // A name that only starts like the base directory is not inside it.
    EXPECT_EQ(RelativeMakefilePath("C:\\work\\project2\\b.c", base), "..\\project2\\b.c");
    EXPECT_EQ(RelativeMakefilePath("\\\\srv\\share\\a\\b.c", "\\\\SRV\\Share\\a"), "b.c");
}

TEST(MakefilePaths, PathsNoRelativePathReachesAreKept) {
    const char* base = "C:\\work\\proj";
    EXPECT_EQ(RelativeMakefilePath("D:\\lib\\x.a", base), "D:\\lib\\x.a");
    EXPECT_EQ(RelativeMakefilePath("\\\\srv\\share\\x.a", base), "\\\\srv\\share\\x.a");
    EXPECT_EQ(RelativeMakefilePath("$(CONFIGDIR)\\a.o", base), "$(CONFIGDIR)\\a.o");
    EXPECT_EQ(RelativeMakefilePath("src\\a.c", base), "src\\a.c");
    EXPECT_EQ(RelativeMakefilePath("", base), "");
    EXPECT_EQ(RelativeMakefilePath("C:\\a.c", "relative\\base"), "C:\\a.c");
}

TEST(MakefilePaths, PosixPathsCompareExactlyAndKeepTheirSeparator) {
    EXPECT_EQ(RelativeMakefilePath("/home/u/p/src/a.c", "/home/u/p"), "src/a.c");
    EXPECT_EQ(RelativeMakefilePath("/home/u/q/a.c", "/home/u/p/"), "../q/a.c");
    EXPECT_EQ(RelativeMakefilePath("/home/U/p/a.c", "/home/u/p"), "../../U/p/a.c");
}

TEST(MakefilePaths, InstallationDirectoryBecomesItsPlaceholder) {
    EXPECT_EQ(RelativeMakefilePath("C:\\GNU\\v4\\corvo-elf\\include", "C:\\work", "C:\\gnu\\v4"),
              "$(TC_INSTALL_DIR)\\corvo-elf\\include");
    EXPECT_EQ(RelativeMakefilePath("C:\\GNU\\v45\\x", "C:\\work", "C:\\gnu\\v4"),
              "..\\GNU\\v45\\x");
    EXPECT_EQ(SubstituteInstallDir("-I \"C:\\gnu\\inc\" -L\"C:\\gnu\\lib\"", "C:\\gnu"),
              "-I \"$(TC_INSTALL_DIR)\\inc\" -L\"$(TC_INSTALL_DIR)\\lib\"");
    EXPECT_EQ(SubstituteInstallDir("abc", ""), "abc");
}
