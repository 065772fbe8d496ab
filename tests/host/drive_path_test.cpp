#include <gtest/gtest.h>

#include <atomic>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <thread>

#include "support/temp_dir.h"
#include "tools/standin/drive_paths.h"
#include "tools/standin/process.h"

using namespace quorle::standin;
using quorle::testing_support::TempDir;

namespace {

// The temporary directory as Wine names it: "Z:" and the host path with "\".
std::string DrivePath(const std::string& hostPath) {
    std::string out = "Z:" + hostPath;
    for (char& c : out)
        if (c == '/') c = '\\';
    return out;
}

std::string Mapped(const std::string& drivePath) {
    std::string error;
    auto host = HostPathOf(drivePath, error);
    EXPECT_TRUE(error.empty()) << error;
    return host.value_or("<refused>");
}

void Touch(const std::filesystem::path& path) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << "x";
}

} // namespace

// The names GetShortPathName gave under wine64 for these files.
TEST(DrivePaths, ShortNamesAreWinesOwn) {
    EXPECT_EQ(WineShortName("a file with spaces.c"), "A_FI~0O1.C");
    EXPECT_EQ(WineShortName("verylongname.cpp"), "VERY~0JC.CPP");
    EXPECT_EQ(WineShortName("x.tar.gz"), "X_TA~OZ3.GZ");
    EXPECT_EQ(WineShortName(".hidden"), "_HID~45N");
    EXPECT_EQ(WineShortName("ab+c=d.h"), "AB_C~G13.H");
    EXPECT_EQ(WineShortName("Program Files"), "PROG~FBU");
    EXPECT_EQ(WineShortName("long directory name"), "LONG~F30");
    // The hash ignores case, as Wine's file names do.
    EXPECT_EQ(WineShortName("VeryLongName.CPP"), WineShortName("verylongname.cpp"));
}

TEST(DrivePaths, DriveZIsTheRootAndOtherDrivesAreRefused) {
    EXPECT_EQ(Mapped("Z:\\"), "/");
    EXPECT_EQ(Mapped("Z:"), "/");
    EXPECT_EQ(Mapped("z:/usr/bin"), "/usr/bin");
    EXPECT_EQ(Mapped("Z:\\usr\\\\bin\\.\\"), "/usr/bin");
    // Not a drive path: as it was.
    EXPECT_EQ(Mapped("src/main.c"), "src/main.c");
    EXPECT_EQ(Mapped("/usr/bin"), "/usr/bin");

    std::string error;
    EXPECT_FALSE(HostPathOf("C:\\windows\\system32", error));
    EXPECT_NE(error.find("drive C:"), std::string::npos) << error;
    EXPECT_NE(error.find("only drive Z:"), std::string::npos) << error;
    error.clear();
    EXPECT_FALSE(HostPathOf("d:/data", error));
    EXPECT_NE(error.find("drive D:"), std::string::npos) << error;
}

TEST(DrivePaths, ComponentsAreFoundAsWindowsFindsThem) {
    TempDir dir;
    std::filesystem::path root = dir.Root();
    Touch(root / "Program Files" / "long directory name" / "verylongname.cpp");
    Touch(root / "Mixed" / "Case.h");
    const std::string base = DrivePath(dir.Path());
    const std::string host = dir.Path();

    EXPECT_EQ(Mapped(base + "\\Program Files\\long directory name\\verylongname.cpp"),
              host + "/Program Files/long directory name/verylongname.cpp");
    // The short form, in any case.
    EXPECT_EQ(Mapped(base + "\\PROG~FBU\\LONG~F30\\VERY~0JC.CPP"),
              host + "/Program Files/long directory name/verylongname.cpp");
    EXPECT_EQ(Mapped(base + "\\prog~fbu\\long directory name"),
              host + "/Program Files/long directory name");
    EXPECT_EQ(Mapped(base + "\\MIXED\\case.H"), host + "/Mixed/Case.h");
    // An output that does not exist yet keeps its name, below a found folder.
    EXPECT_EQ(Mapped(base + "\\PROG~FBU\\out\\New.o"), host + "/Program Files/out/New.o");
    // A short form that matches nothing is a name like any other.
    EXPECT_EQ(Mapped(base + "\\ABCD~XYZ"), host + "/ABCD~XYZ");
}

TEST(DrivePaths, ArgumentsGetHostPathsWhereverAPathStarts) {
    std::string error;
    std::vector<std::string> out = HostPaths(
        {"Z:/usr/include", "-IZ:/usr/include", "-oZ:/tmp/a.o", "-MFZ:/tmp/a.d",
         "--output=Z:/tmp/lib.a", "-Wl,-Map=Z:/tmp/a.map,--gc-sections", "-Wa,-aln=Z:/tmp/a.lst",
         "-O2", "main.c", "-DDIR=Z:/keep", "-D", "OTHER=Z:/keep"},
        error);
    ASSERT_TRUE(error.empty()) << error;
    EXPECT_EQ(out,
              (std::vector<std::string>{"/usr/include", "-I/usr/include", "-o/tmp/a.o",
                                        "-MF/tmp/a.d", "--output=/tmp/lib.a",
                                        "-Wl,-Map=/tmp/a.map,--gc-sections", "-Wa,-aln=/tmp/a.lst",
                                        "-O2", "main.c", "-DDIR=Z:/keep", "-D", "OTHER=Z:/keep"}));
}

TEST(DrivePaths, AnArgumentOnAnotherDriveStopsTheTool) {
    std::string error;
    HostPaths({"-c", "-IC:/include", "main.c"}, error);
    EXPECT_NE(error.find("drive C:"), std::string::npos) << error;
    error.clear();
    HostPaths({"--output=x:/lib.a"}, error);
    EXPECT_NE(error.find("drive X:"), std::string::npos) << error;
}

TEST(DrivePaths, LinkerScriptsGetHostPathsInTheirQuotedNames) {
    std::string error;
    EXPECT_EQ(HostPathsInScript("INPUT(\"Z:\\usr\\lib\\a.o\")\nINPUT(\"b.o\")\n"
                                "OUTPUT_FORMAT(\"elf32-little\")\n",
                                error),
              "INPUT(\"/usr/lib/a.o\")\nINPUT(\"b.o\")\nOUTPUT_FORMAT(\"elf32-little\")\n");
    EXPECT_TRUE(error.empty()) << error;
    // An unclosed quote is left as it is.
    EXPECT_EQ(HostPathsInScript("INPUT(\"Z:\\a.o", error), "INPUT(\"Z:\\a.o");
    HostPathsInScript("INPUT(\"C:\\lib\\a.o\")", error);
    EXPECT_NE(error.find("drive C:"), std::string::npos) << error;
}

namespace {

int PrintAndFail(int argc, char** argv) {
    std::printf("out %s\n", argc > 1 ? argv[1] : "");
    std::fflush(stdout); // both streams share the file, in this order
    std::fprintf(stderr, "err\n");
    return 3;
}

int SleepLong(int, char**) {
    std::this_thread::sleep_for(std::chrono::seconds(30));
    return 0;
}

int SleepThenPrint(int argc, char** argv) {
    std::this_thread::sleep_for(std::chrono::seconds(quorle::standin::kBridgeSilenceSeconds + 2));
    std::printf("slept %s\n", argc > 1 ? argv[1] : "");
    return 0;
}

std::string Contents(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

} // namespace

// What the Windows bridge waits for: the tool's output and, once it has
// ended, its exit code, in files beside the base name.
TEST(WineReport, OutputAndExitCodeAreLeftInFiles) {
    TempDir dir;
    std::string base = (dir.Root() / "x").string();
    char program[] = "corvo-elf-gcc", arg[] = "one";
    char* argv[] = {program, arg, nullptr};
    EXPECT_EQ(RunReportingTo(base, &PrintAndFail, 2, argv), 3);
    EXPECT_EQ(Contents(base + ".out"), "out one\nerr\n");
    EXPECT_EQ(Contents(base + ".code"), "3\n");
    EXPECT_FALSE(std::filesystem::exists(base + ".code.tmp"));
}

TEST(WineReport, AStopFileInterruptsTheTool) {
    TempDir dir;
    std::string base = (dir.Root() / "x").string();
    std::ofstream(base + ".stop") << "";
    char program[] = "corvo-elf-gcc";
    char* argv[] = {program, nullptr};
    auto start = std::chrono::steady_clock::now();
    int code = RunReportingTo(base, &SleepLong, 1, argv);
    EXPECT_EQ(code, 128 + 2) << "ended by SIGINT";
    EXPECT_EQ(Contents(base + ".code"), std::to_string(code) + "\n");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
}

// The bridge was ended (the host ends its tools after an interrupt): its
// alive file goes quiet, and the tool is interrupted with no one left to read
// its files.
TEST(WineReport, ABridgeThatWentQuietInterruptsTheToolAndLeavesNoFiles) {
    TempDir dir;
    std::string base = (dir.Root() / "x").string();
    std::ofstream(base) << "";
    std::ofstream(base + ".alive") << "";
    std::filesystem::last_write_time(
        base + ".alive", std::filesystem::file_time_type::clock::now() - std::chrono::seconds(60));
    char program[] = "corvo-elf-gcc";
    char* argv[] = {program, nullptr};
    auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(RunReportingTo(base, &SleepLong, 1, argv), 128 + 2) << "ended by SIGINT";
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    for (const char* suffix : {"", ".out", ".code", ".alive"})
        EXPECT_FALSE(std::filesystem::exists(base + suffix)) << suffix;
}

// While the bridge keeps touching its file, the tool runs to its end.
TEST(WineReport, ABridgeThatKeepsTouchingItsFileLetsTheToolFinish) {
    TempDir dir;
    std::string base = (dir.Root() / "x").string();
    std::ofstream(base + ".alive") << "";
    std::atomic<bool> done{false};
    std::thread bridge([&] {
        while (!done) {
            std::ofstream(base + ".alive") << "x";
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    });
    char program[] = "corvo-elf-gcc", arg[] = "on";
    char* argv[] = {program, arg, nullptr};
    // Longer than the silence that counts as gone.
    int code = RunReportingTo(base, &SleepThenPrint, 2, argv);
    done = true;
    bridge.join();
    EXPECT_EQ(code, 0);
    EXPECT_EQ(Contents(base + ".out"), "slept on\n");
    EXPECT_EQ(Contents(base + ".code"), "0\n");
}
