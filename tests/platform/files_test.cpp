#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "under_wine.h"

using namespace quorle::platform;
using quorle::testing_support::TempDir;

TEST(Files, TextModeWritesCrLfAndReadsFoldThem) {
    TempDir dir;
    std::string path = dir.File("a.txt");
    ASSERT_TRUE(WriteFile(path, "one\ntwo\n", true));
    EXPECT_EQ(ReadFile(path, false), "one\r\ntwo\r\n");
    EXPECT_EQ(ReadFile(path, true), "one\ntwo\n");
    // A lone CR is data, not a line end.
    ASSERT_TRUE(WriteFile(path, "x\ry\r\n", false));
    EXPECT_EQ(ReadFile(path, true), "x\ry\n");
    ASSERT_TRUE(WriteFile(path, "more\n", true, true));
    EXPECT_EQ(ReadFile(path, false), "x\ry\r\nmore\r\n");
    EXPECT_FALSE(ReadFile(dir.File("missing.txt"), true).has_value());
    EXPECT_TRUE(FileExists(path));
    EXPECT_FALSE(IsDirectory(path));
    EXPECT_TRUE(IsDirectory(dir.Path()));
    EXPECT_TRUE(IsFile(path));
    EXPECT_FALSE(IsFile(dir.Path()));
    EXPECT_FALSE(IsFile(dir.File("missing.txt")));
}

// A file read in pieces gives the same bytes as a whole read, across many
// pieces; what cannot be read gives nothing and says so.
TEST(Files, AFileReadInPiecesIsTheWholeFile) {
    TempDir dir;
    std::string path = dir.File("big.bin");
    std::string bytes;
    for (size_t i = 0; bytes.size() < 300000; ++i) bytes += "line " + std::to_string(i) + "\r\n";
    bytes.push_back('\0');
    bytes += "tail without a line end";
    ASSERT_TRUE(WriteFile(path, bytes, false));
    std::string read;
    size_t pieces = 0;
    auto collect = [&](std::string_view piece) {
        read.append(piece);
        ++pieces;
    };
    EXPECT_TRUE(ReadFileInPieces(path, collect));
    EXPECT_EQ(read, bytes);
    EXPECT_EQ(ReadFile(path, false), bytes);
    EXPECT_GT(pieces, 1u);
    read.clear();
    pieces = 0;
    EXPECT_FALSE(ReadFileInPieces(dir.File("missing.bin"), collect));
    EXPECT_FALSE(ReadFileInPieces(dir.Path(), collect));
    EXPECT_EQ(pieces, 0u);
    ASSERT_TRUE(WriteFile(path, "", false));
    EXPECT_TRUE(ReadFileInPieces(path, collect));
    EXPECT_EQ(pieces, 0u);
}

TEST(Files, OutputFileWritesManyPiecesAndReportsUse) {
    TempDir dir;
    OutputFile out;
    EXPECT_FALSE(out.IsOpen());
    EXPECT_FALSE(out.Write("x"));
    ASSERT_TRUE(out.Open(dir.File("o.txt"), true, false));
    EXPECT_TRUE(out.IsOpen());
    EXPECT_TRUE(out.Write("a\n"));
    EXPECT_TRUE(out.Write("b"));
    EXPECT_TRUE(out.Write("\nc"));
    EXPECT_TRUE(out.Close());
    EXPECT_FALSE(out.IsOpen());
    EXPECT_EQ(ReadFile(dir.File("o.txt"), false), "a\r\nb\r\nc");
    EXPECT_FALSE(out.Open(dir.File("no\\such\\dir.txt"), true, false));
}

TEST(Files, AttributesRoundTripAndGuardTheFile) {
    TempDir dir;
    std::string path = dir.File("sub.gcc");
    ASSERT_TRUE(WriteFile(path, "x", true));
    // A new file is marked for archiving, as on Windows.
    EXPECT_EQ(GetFileAttributes(path), kAttrArchive);
    // Wine reports every file as marked for archiving.
    uint32_t compared = quorle::testing::UnderWine() ? ~uint32_t{kAttrArchive} : ~uint32_t{0};
    for (uint32_t attributes : std::initializer_list<uint32_t>{
             kAttrNone, kAttrHidden, kAttrReadOnly | kAttrHidden | kAttrArchive, kAttrReadOnly,
             kAttrArchive}) {
        ASSERT_TRUE(SetFileAttributes(path, attributes));
        ASSERT_TRUE(GetFileAttributes(path).has_value());
        EXPECT_EQ(*GetFileAttributes(path) & compared, attributes & compared);
    }
    if (!quorle::testing::UnderWine()) {
        ASSERT_TRUE(SetFileAttributes(path, kAttrReadOnly | kAttrHidden | kAttrArchive));
        // Read-only: neither replaced, appended to nor deleted.
        EXPECT_FALSE(WriteFile(path, "y", true));
        EXPECT_FALSE(WriteFile(path, "y", true, true));
        EXPECT_FALSE(DeleteFile(path));
        EXPECT_EQ(ReadFile(path, false), "x");
        // Hidden alone: may be appended to but not truncated.
        ASSERT_TRUE(SetFileAttributes(path, kAttrHidden));
        EXPECT_FALSE(WriteFile(path, "y", true));
        EXPECT_TRUE(WriteFile(path, "z", true, true));
        EXPECT_EQ(ReadFile(path, false), "xz");
    }
    // Archive only, as the writers of protected files set first.
    ASSERT_TRUE(SetFileAttributes(path, kAttrArchive));
    EXPECT_TRUE(WriteFile(path, "new", true));
    EXPECT_EQ(ReadFile(path, false), "new");
    EXPECT_TRUE(DeleteFile(path));
    EXPECT_FALSE(FileExists(path));
    EXPECT_FALSE(DeleteFile(path));
    EXPECT_FALSE(GetFileAttributes(path).has_value());
    EXPECT_FALSE(SetFileAttributes(path, kAttrNone));
}

// A log the user names is appended to, but only when it is a file: a FIFO
// nobody reads, a device or a folder is refused at once, never waited on.
TEST(Files, LogsAreAppendedOnlyToRegularFiles) {
    TempDir dir;
    std::string log = dir.File("log.txt");
    ASSERT_TRUE(AppendToLog(log, "one\n"));
    ASSERT_TRUE(AppendToLog(log, "two\n"));
    EXPECT_TRUE(AppendToLog(log, ""));
    EXPECT_EQ(ReadFile(log, false), "one\ntwo\n");
    EXPECT_FALSE(AppendToLog(dir.Path(), "x\n"));
    EXPECT_FALSE(AppendToLog(dir.File("no\\such\\log.txt"), "x\n"));
#if !defined(_WIN32)
    EXPECT_FALSE(AppendToLog("/dev/null", "x\n"));
    std::string fifo = dir.Path() + "/fifo";
    if (std::system(("mkfifo '" + fifo + "' 2>/dev/null").c_str()) == 0) {
        EXPECT_FALSE(AppendToLog(fifo, "x\n"));
    }
#endif
    if (!quorle::testing::UnderWine()) {
        ASSERT_TRUE(SetFileAttributes(log, kAttrReadOnly));
        EXPECT_FALSE(AppendToLog(log, "three\n"));
        ASSERT_TRUE(SetFileAttributes(log, kAttrNone));
        EXPECT_EQ(ReadFile(log, false), "one\ntwo\n");
    }
}

TEST(Files, DirectoriesAndTheirAttributes) {
    TempDir dir;
    std::string sub = dir.File("sub");
    EXPECT_TRUE(CreateDirectory(sub));
    EXPECT_TRUE(CreateDirectory(sub)); // exists already
    ASSERT_TRUE(GetFileAttributes(sub).has_value());
    EXPECT_TRUE(*GetFileAttributes(sub) & kAttrDirectory);
    EXPECT_FALSE(DeleteFile(sub));
    EXPECT_FALSE(CreateDirectory(dir.File("a\\b\\c"))); // one level only
    ASSERT_TRUE(WriteFile(dir.File("plain"), "", false));
    EXPECT_FALSE(CreateDirectory(dir.File("plain")));
}

TEST(Files, FindFilesMatchesWildcardsInTheLastComponent) {
    TempDir dir;
    for (const char* name : {"a.pak", "b.PAK", "c.pak.bak", "noext", "ab.o"}) {
        ASSERT_TRUE(WriteFile(dir.File(name), "", false));
    }
    ASSERT_TRUE(CreateDirectory(dir.File("sub")));
    using V = std::vector<std::string>;
    EXPECT_EQ(FindFiles(dir.File("*.pak")), (V{"a.pak", "b.PAK"}));
    EXPECT_EQ(FindFiles(dir.File("?b.o")), (V{"ab.o"}));
    EXPECT_EQ(FindFiles(dir.File("noext")), (V{"noext"}));
    EXPECT_TRUE(FindFiles(dir.File("*.none")).empty());
    EXPECT_TRUE(FindFiles(dir.File("missing\\*.*")).empty());
    V all = FindFiles(dir.File("*.*"));
    for (const char* name : {"a.pak", "b.PAK", "c.pak.bak", "noext", "ab.o", "sub"}) {
        EXPECT_NE(std::find(all.begin(), all.end(), name), all.end()) << name;
    }
}

TEST(Files, FullPathResolvesAgainstTheCurrentDirectory) {
    TempDir dir;
    std::string saved = GetCurrentDirectory();
    ASSERT_TRUE(SetCurrentDirectory(dir.Path()));
    std::string here = GetCurrentDirectory();
    std::string full = FullPath("x\\..\\y\\.\\z.c");
    ASSERT_TRUE(SetCurrentDirectory(saved));
    EXPECT_EQ(GetCurrentDirectory(), saved);
    // The same file, whichever separator the system writes.
    std::string expected = here + "/y/z.c";
    std::replace(full.begin(), full.end(), '\\', '/');
    std::replace(expected.begin(), expected.end(), '\\', '/');
    EXPECT_EQ(full, expected);
    EXPECT_FALSE(SetCurrentDirectory(dir.File("missing")));
    EXPECT_FALSE(SetCurrentDirectory(""));
}

// Resolving from a directory gives what resolving after changing into it
// would, and leaves the process where it was.
TEST(Files, FullPathFromResolvesAsIfTheDirectoryWereCurrent) {
    TempDir dir;
    ASSERT_TRUE(CreateDirectory(dir.File("cfg")));
    ASSERT_TRUE(WriteFile(dir.File("plain.txt"), "", false));
    std::string saved = GetCurrentDirectory();
    const char* paths[] = {"main.o", "sub\\..\\main.o", "..\\up\\.\\a.o", "a\\b\\", ".."};
    for (const char* path : paths) {
        ASSERT_TRUE(SetCurrentDirectory(dir.File("cfg")));
        std::string expected = FullPath(path);
        ASSERT_TRUE(SetCurrentDirectory(saved));
        EXPECT_EQ(FullPathFrom(dir.File("cfg"), path), expected) << path;
        EXPECT_EQ(GetCurrentDirectory(), saved) << path;
    }
    std::string absolute = FullPath(dir.File("elsewhere.o"));
    EXPECT_EQ(FullPathFrom(dir.File("cfg"), absolute), absolute);
    // Not a directory: nothing to resolve from.
    EXPECT_EQ(FullPathFrom(dir.File("missing"), "main.o"), "");
    EXPECT_EQ(FullPathFrom(dir.File("plain.txt"), "main.o"), "");
    EXPECT_EQ(FullPathFrom("", "main.o"), "");
    EXPECT_EQ(GetCurrentDirectory(), saved);
}

TEST(Files, ShortPathNamesTheSameFile) {
    TempDir dir;
    std::string path = dir.File("a long file name.source");
    ASSERT_TRUE(WriteFile(path, "same", false));
    // The 8.3 form where the file system has one, the path itself elsewhere.
    EXPECT_EQ(ReadFile(ShortPath(path), false), "same");
    // Without a file there is no short form: the path comes back as given.
    EXPECT_EQ(ShortPath(dir.File("missing file.c")), dir.File("missing file.c"));
}

TEST(Files, TempFilesAreNewAndUnique) {
    TempDir dir;
    auto first = CreateTempFile(dir.Path(), "dep");
    auto second = CreateTempFile(dir.Path(), "dep");
    ASSERT_TRUE(first && second);
    EXPECT_NE(*first, *second);
    EXPECT_EQ(ReadFile(*first, false), "");
    EXPECT_NE(first->find("dep"), std::string::npos);
    EXPECT_FALSE(CreateTempFile(dir.File("missing"), "dep").has_value());
    std::string temp = TempDirectory();
    ASSERT_FALSE(temp.empty());
    EXPECT_TRUE(temp.back() == '/' || temp.back() == '\\');
    EXPECT_TRUE(IsDirectory(temp));
}

TEST(Files, ModifiedTimeFollowsWrites) {
    TempDir dir;
    std::string path = dir.File("t");
    EXPECT_FALSE(FileModifiedTime(path).has_value());
    ASSERT_TRUE(WriteFile(path, "1", false));
    auto first = FileModifiedTime(path);
    ASSERT_TRUE(first.has_value());
    EXPECT_GT(*first, 0);
}

TEST(Files, StatEntryDescribesThePathItself) {
    TempDir dir;
    ASSERT_TRUE(WriteFile(dir.File("a.c"), "x", false));
    ASSERT_TRUE(CreateDirectory(dir.File("sub")));
    auto file = StatEntry(dir.File("a.c"));
    ASSERT_TRUE(file);
    EXPECT_FALSE(file->link);
    EXPECT_FALSE(file->directory);
    EXPECT_EQ(file->modified, FileModifiedTime(dir.File("a.c")));
    auto sub = StatEntry(dir.File("sub"));
    ASSERT_TRUE(sub);
    EXPECT_TRUE(sub->directory);
    EXPECT_FALSE(sub->link);
    EXPECT_FALSE(StatEntry(dir.File("missing")));
#ifndef _WIN32
    // A link is reported as one, even when what it names is missing.
    namespace fs = std::filesystem;
    std::error_code error;
    fs::create_symlink(NativePath(dir.File("a.c")), NativePath(dir.File("to-a")), error);
    ASSERT_FALSE(error) << error.message();
    fs::create_symlink(NativePath(dir.File("gone")), NativePath(dir.File("dangling")), error);
    ASSERT_FALSE(error) << error.message();
    auto link = StatEntry(dir.File("to-a"));
    ASSERT_TRUE(link);
    EXPECT_TRUE(link->link);
    EXPECT_FALSE(link->directory);
    auto dangling = StatEntry(dir.File("dangling"));
    ASSERT_TRUE(dangling);
    EXPECT_TRUE(dangling->link);
#endif
}
