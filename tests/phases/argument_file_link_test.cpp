// An argument file whose path is a symbolic link: the link is replaced by a
// file of the plug-in's own, and the file it pointed to keeps its bytes and
// its mode.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "phases/text_files.h"
#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace fs = std::filesystem;
using quorle::testing_support::TempDir;
using quorle::testing_support::ReadBytes;

TEST(ArgumentFileLink, LinkIsReplacedAndTargetLeftAlone) {
    TempDir temp("argument_link");
    fs::path dir = temp.Root();
    fs::path outside = dir / "victim.txt";
    std::ofstream(outside, std::ios::binary) << "precious\n";
    fs::permissions(outside, fs::perms::owner_read | fs::perms::owner_write);
    fs::path config = dir / "cfg";
    fs::create_directories(config);
    fs::path argumentFile = config / "app.gld";
    std::error_code error;
    fs::create_symlink(outside, argumentFile, error);
    if (error) GTEST_SKIP() << "symbolic links not available";

    int result = quorle::phases::WriteProtectedTextFile(
        argumentFile.string(), "-o \"a.x\"\n", quorle::phases::SubcommandFileAttributes());
    EXPECT_EQ(result, quorle::phases::kWriteOk);
    EXPECT_FALSE(fs::is_symlink(argumentFile));
    EXPECT_EQ(ReadBytes(argumentFile), "-o \"a.x\"\r\n");
    EXPECT_EQ(ReadBytes(outside), "precious\n");
    EXPECT_EQ(fs::status(outside).permissions(), fs::perms::owner_read | fs::perms::owner_write);
    // The new file is the read-only one.
    EXPECT_EQ(fs::status(argumentFile).permissions() & fs::perms::owner_write, fs::perms::none);

    // A second write replaces the plug-in's own read-only file as before.
    EXPECT_EQ(quorle::phases::WriteProtectedTextFile(argumentFile.string(), "x\n",
                                                     quorle::phases::SubcommandFileAttributes()),
              quorle::phases::kWriteOk);
    EXPECT_EQ(ReadBytes(argumentFile), "x\r\n");
}
