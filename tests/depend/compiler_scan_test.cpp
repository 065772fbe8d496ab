// The compiler-phase scan against the machine's own gcc, run through a
// stand-in for the cross driver below a temporary installation directory.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "depend/dependency_scan.h"
#include "platform/platform.h"
#include "scan_test_support.h"

using namespace quorle::depend;
using scantest::Entries;
using scantest::TempTree;
namespace fs = std::filesystem;
namespace platform = quorle::platform;

namespace {

// Drops the family's target flags (the machine's gcc knows none of them),
// notes each run and the "path" variable it saw, then runs gcc without the
// machine's own header directories, as a cross driver would.
constexpr const char* kStandIn = R"(#!/bin/sh
here=$(dirname "$0")
echo run >> "$here/runs.log"
printf '%s' "$path" > "$here/path.seen"
n=$#
i=0
while [ $i -lt $n ]; do
  a=$1
  shift
  case "$a" in -m*) ;; *) set -- "$@" "$a" ;; esac
  i=$((i + 1))
done
exec gcc -nostdinc "$@"
)";

std::string Windows(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

class CompilerScan : public ::testing::Test {
  protected:
    void SetUp() override {
#ifdef _WIN32
        GTEST_SKIP() << "the stand-in driver is a POSIX shell script";
#endif
        install_ = tree_.MakeDir("inst");
        std::string driver = tree_.Write("inst/corvo-elf/bin/corvo-elf-g++.exe", kStandIn);
        fs::permissions(driver, fs::perms::owner_all);
        info_ = scantest::ProjectInfo();
        info_.toolchainName = "Dravik GNUCORVO [ELF]";
        info_.toolchainDir = install_.c_str();
        info_.configDir = tree_.Root().c_str();
        Reset();
    }
    void TearDown() override {
        Reset();
    }

    void Reset() {
        ScanCall call;
        call.reset = true;
        ScanCompiler(call, {});
    }

    // Runs one scan; returns the result code and fills `items`.
    int Scan(const std::string& path, const char* type, const std::string& options,
             std::vector<std::string>& items, platform::OsVersion version = {10, 0}) {
        char* block = nullptr;
        ScanCall call;
        call.filePath = path.c_str();
        call.fileType = type;
        call.options = options.c_str();
        call.result = &block;
        call.info = &info_;
        ScanOutcome outcome = ScanCompiler(call, version);
        messages_.insert(messages_.end(), outcome.messages.begin(), outcome.messages.end());
        items = Entries(block);
        std::free(block);
        return outcome.status;
    }

    int Runs() const {
        std::ifstream log(tree_.Path("inst/corvo-elf/bin/runs.log"));
        return static_cast<int>(std::count(std::istreambuf_iterator<char>(log),
                                           std::istreambuf_iterator<char>(), '\n'));
    }

    TempTree tree_;
    std::string install_;
    QuorleProjectInfo info_{};
    quorle::UserMessages messages_; // what the scans would tell the user
};

} // namespace

TEST_F(CompilerScan, NestedHeadersBlanksAndSystemDirectories) {
    std::string sys = tree_.Write("inst/corvo-elf/include/sys.h", "#define SYS 1\n");
    std::string a = tree_.Write("my headers/a.h", "#include \"b.h\"\n");
    std::string b = tree_.Write("my headers/b.h", "int b;\n");
    std::string only = tree_.Write("my headers/only_with_foo.h", "int f;\n");
    std::string local = tree_.Write("src/local.h", "int l;\n");
    std::string source = tree_.Write("src/main.c", "#include \"a.h\"\n#include <sys.h>\n"
                                                   "#if FOO\n#include \"only_with_foo.h\"\n#endif\n"
                                                   "#include \"local.h\"\n");
    std::string options = "[V|VERSION|2] [S|INCDIR|\"" + tree_.Path("my headers") + "\"|\"" +
                          install_ + "/corvo-elf/include\"] [S|DEFINES|FOO=0]";
    std::vector<std::string> items;
    ASSERT_EQ(Scan(source, "C source file", options, items), 0);
    // The macro reaches the driver without its value, so FOO is 1.
    EXPECT_EQ(items, (std::vector<std::string>{
                         Windows(local) + "|FALSE|C header file",
                         Windows(only) + "|FALSE|C header file",
                         Windows(sys) + "|TRUE|C header file",
                         Windows(b) + "|FALSE|C header file",
                         Windows(a) + "|FALSE|C header file",
                     }));
    EXPECT_EQ(Runs(), 1);

    // Scanned once until a reset call.
    ASSERT_EQ(Scan(source, "C source file", options, items), 0);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(Runs(), 1);
    Reset();
    ASSERT_EQ(Scan(source, "C++ source file", options, items), 0);
    ASSERT_EQ(items.size(), 5u);
    EXPECT_EQ(items[0], Windows(local) + "|FALSE|C++ header file");
    EXPECT_EQ(Runs(), 2);
    EXPECT_TRUE(messages_.empty());
}

TEST_F(CompilerScan, MissingHeaderAndMissingSource) {
    std::string source = tree_.Write("src/bad.c", "#include \"nothere.h\"\n");
    std::vector<std::string> items;
    ASSERT_EQ(Scan(source, "C source file", "", items), 0);
    ASSERT_EQ(items.size(), 1u);
    EXPECT_EQ(items[0].rfind("ERROR|" + source + ":1:10: fatal error: nothere.h", 0), 0u)
        << items[0];
    EXPECT_EQ(items[0].substr(items[0].size() - 25), "No such file or directory");

    std::string gone = tree_.Path("src/gone.c");
    ASSERT_EQ(Scan(gone, "C source file", "", items), 0);
    EXPECT_EQ(items, std::vector<std::string>{"ERROR|File not found: " + gone});
    EXPECT_EQ(Runs(), 1);
}

TEST_F(CompilerScan, SkippedWithoutRunningTheDriver) {
    std::string header = tree_.Write("src/x.H", "int x;\n");
    std::string asmSource = tree_.Write("src/y.s", "nop\n");
    std::vector<std::string> items;
    EXPECT_EQ(Scan(header, "C source file", "", items), 0);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(Scan(asmSource, "Preprocess Assembly file", "", items), 0);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(Scan("", "C source file", "", items), 0);
    EXPECT_TRUE(items.empty());
    EXPECT_EQ(Runs(), 0);
    // No family, no driver.
    info_.toolchainName = "dravik gnucorvo [elf]";
    std::string source = tree_.Write("src/z.c", "\n");
    EXPECT_EQ(Scan(source, "C source file", "", items), 1);
}

TEST_F(CompilerScan, RuleLargerThanAMegabyte) {
    // Thousands of headers with long paths: far more than a pipe buffer holds.
    const int count = 2400;
    const std::string level(100, 'd');
    std::string dir = tree_.MakeDir("many/" + level + "/" + level + "/" + level);
    const std::string tail(120, 'h');
    std::string body;
    for (int i = 0; i < count; ++i) {
        std::string name = "header_" + std::to_string(i) + "_" + tail + ".h";
        std::ofstream(dir + "/" + name);
        body += "#include \"" + name + "\"\n";
    }
    std::string source = tree_.Write("src/big.c", body);
    std::vector<std::string> items;
    ASSERT_EQ(Scan(source, "C source file",
                   "[S|INCDIR|\"" + dir + "\"] [S|CPUTYPE|CV4] [S|ENDIAN|LITTLE]", items),
              0);
    ASSERT_EQ(items.size(), static_cast<size_t>(count));
    size_t total = 0;
    for (const std::string& item : items) total += item.size();
    EXPECT_GT(total, 1024u * 1024);
    EXPECT_EQ(items.front(), Windows(dir + "/header_2399_" + tail + ".h") + "|FALSE|C header file");
    EXPECT_EQ(items.back(), Windows(dir + "/header_0_" + tail + ".h") + "|FALSE|C header file");
}

TEST_F(CompilerScan, PathVariableOnVersionSixIsRestored) {
    std::string support = tree_.MakeDir("inst/corvo-elf/libexec/gcc/corvo-elf/4.7.1");
    tree_.Write("inst/corvo-elf/libexec/gcc/corvo-elf/readme.txt", "");
    std::string source = tree_.Write("src/p.c", "\n");
    ASSERT_TRUE(platform::SetEnv("path", "before"));
    std::vector<std::string> items;
    ASSERT_EQ(Scan(source, "C source file", "", items, {6, 0}), 0);
    std::ifstream seen(tree_.Path("inst/corvo-elf/bin/path.seen"));
    std::stringstream text;
    text << seen.rdbuf();
    EXPECT_EQ(text.str(), install_ + "\\corvo-elf\\libexec\\gcc\\corvo-elf\\4.7.1");
    EXPECT_EQ(platform::GetEnv("path").value_or("<unset>"), "before");

    // Other versions leave the variable alone.
    Reset();
    ASSERT_EQ(Scan(source, "C source file", "", items, {6, 1}), 0);
    std::ifstream again(tree_.Path("inst/corvo-elf/bin/path.seen"));
    std::stringstream second;
    second << again.rdbuf();
    EXPECT_EQ(second.str(), "before");
    ASSERT_TRUE(platform::UnsetEnv("path"));
}

// A definition that reads like options must not become them: the driver
// would otherwise write its make rule over the named file.
TEST_F(CompilerScan, DefinitionWithBlanksStaysOneArgument) {
    std::string victim = tree_.Write("victim.txt", "keep me\n");
    std::string source = tree_.Write("src/v.c", "int x;\n");
    std::vector<std::string> items;
    Scan(source, "C source file", "[S|DEFINES|\"X -o " + victim + "|FOO=a b\"]", items);
    std::ifstream in(victim);
    std::string content((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(content, "keep me\n");
    EXPECT_EQ(Runs(), 1);
}

// A driver that prints without end is stopped at the output cap: the scan
// fails cleanly instead of keeping it all until the time-out.
TEST_F(CompilerScan, EndlessDriverOutputFailsTheScan) {
    std::string driver = tree_.Write("inst/corvo-elf/bin/corvo-elf-g++.exe",
                                     "#!/bin/sh\nexec yes 0123456789abcdef0123456789abcdef\n");
    fs::permissions(driver, fs::perms::owner_all);
    std::string messages = tree_.Path("messages.txt");
    platform::SetEnv("QUORLE_MESSAGES", messages);
    std::string source = tree_.Write("src/e.c", "int y;\n");
    std::vector<std::string> items;
    EXPECT_EQ(Scan(source, "C source file", "", items), 1);
    platform::UnsetEnv("QUORLE_MESSAGES");
    std::ifstream in(messages);
    std::string log((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    EXPECT_EQ(log.find("time-out"), std::string::npos) << log;
}
