// The whole chain: quorle-host builds a copy of the example workspace through
// the plug-in with the stand-in toolchain, then rebuilds incrementally,
// reports a compile error, and writes a makefile and compile_commands.json.
#include <gtest/gtest.h>
#include <memory>

#include "support/temp_dir.h"
#include "support/test_files.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>
#include <sstream>
#include <thread>

#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
namespace platform = quorle::platform;

std::string Quote(const std::string& arg) {
    return arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
}

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteAll(const fs::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << text;
}

// Files named in the progress lines ("[2/8] Compiling src/main.c").
std::set<std::string> Rebuilt(const std::string& output) {
    std::set<std::string> files;
    static const std::regex line(
        R"(\[\d+/\d+\] (Compiling|Assembling|Linking|Generating library) (.+))");
    std::istringstream in(output);
    for (std::string l; std::getline(in, l);) {
        std::smatch m;
        if (std::regex_match(l, m, line)) files.insert(m[2].str());
    }
    return files;
}

class ExampleBuild : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        temp_ = std::make_unique<quorle::testing_support::TempDir>("example_build");
        root_ = temp_->Root();
        const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / "demo";
        for (const auto& entry : fs::recursive_directory_iterator(source)) {
            fs::path rel = fs::relative(entry.path(), source);
            std::string top = rel.begin()->string();
            if (top == "Debug" || top == "Release" || top == "compile_commands.json") continue;
            if (entry.is_directory())
                fs::create_directories(root_ / "demo" / rel);
            else
                fs::copy_file(entry.path(), root_ / "demo" / rel);
        }
        auto layout = Host({"toolchain", (root_ / "tc").string()});
        ASSERT_EQ(layout.exitCode, 0) << layout.output;
    }
    static void TearDownTestSuite() { temp_.reset(); }

    static platform::ProcessResult Host(const std::vector<std::string>& args) {
        std::string line = Quote(std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host");
        for (const std::string& a : args) line += " " + Quote(a);
        platform::ProcessOptions options;
        options.timeoutMs = 5 * 60 * 1000;
        // The link counts builds in the registry file: never the user's.
        options.environment = {"QUORLE_REGISTRY=" + (root_ / "registry.ini").string()};
        return platform::RunProcess(line, options);
    }
    static platform::ProcessResult Build(std::vector<std::string> extra = {}) {
        std::vector<std::string> args{"build", Workspace(), "--toolchain", (root_ / "tc").string()};
        args.insert(args.end(), extra.begin(), extra.end());
        return Host(args);
    }
    static std::string Workspace() { return (root_ / "demo" / "demo.qws").string(); }
    static fs::path Demo(const std::string& rel) { return root_ / "demo" / rel; }
    static void TouchLater(const fs::path& path) {
        // Now, not later: outputs built afterwards must be newer than it.
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        fs::last_write_time(path, fs::file_time_type::clock::now());
    }
    // Symbol addresses of the linked program.
    static std::map<std::string, unsigned long> Symbols(const fs::path& program) {
        platform::ProcessOptions options;
        auto nm = platform::RunProcess("nm " + Quote(program.string()), options);
        std::map<std::string, unsigned long> symbols;
        std::istringstream in(nm.output);
        std::string address, kind, name;
        while (in >> address >> kind >> name) symbols[name] = std::stoul(address, nullptr, 16);
        return symbols;
    }

    static std::unique_ptr<quorle::testing_support::TempDir> temp_;
    static fs::path root_;
};

std::unique_ptr<quorle::testing_support::TempDir> ExampleBuild::temp_;
fs::path ExampleBuild::root_;

TEST_F(ExampleBuild, BuildsRebuildsExactlyWhatChangedAndReportsErrors) {
    // First build: every step, the classified warning, the summary.
    auto first = Build();
    ASSERT_EQ(first.exitCode, 0) << first.output;
    EXPECT_EQ(Rebuilt(first.output),
              (std::set<std::string>{"Debug/libdemo.a", "src/main.c", "src/board.c", "src/led.c",
                                     "src/util.c", "src/ring.cpp", "src/start.s",
                                     "Debug/demo.mot, Debug/demo.x"}))
        << first.output;
    EXPECT_NE(first.output.find("src/util.c:7:9: warning: unused variable"), std::string::npos)
        << first.output;
    EXPECT_NE(first.output.find("Build succeeded: 0 errors, 1 warning; 8 of 8 steps run"),
              std::string::npos)
        << first.output;

    // The outputs: the ELF program with the default section layout and a
    // valid S-record file.
    ASSERT_TRUE(fs::exists(Demo("Debug/demo.x")));
    ASSERT_TRUE(fs::exists(Demo("Debug/demo.mot")));
    auto back =
        platform::RunProcess("objcopy -I srec -O binary " + Quote(Demo("Debug/demo.mot").string()) +
                                 " " + Quote((root_ / "demo.bin").string()),
                             platform::ProcessOptions{});
    EXPECT_EQ(back.exitCode, 0) << back.output;
    EXPECT_EQ(ReadAll(Demo("Debug/demo.mot")).substr(0, 2), "S0");
    auto symbols = Symbols(Demo("Debug/demo.x"));
    EXPECT_EQ(symbols["_vects"], 0x0u);
    EXPECT_EQ(symbols["_vectors"], 0x0u);
    EXPECT_EQ(symbols["_start"], 0x1000u);
    EXPECT_EQ(symbols["_data"], 0x200000u);
    EXPECT_EQ(symbols["blink_period"], 0x200000u);
    EXPECT_EQ(symbols["_stack"], 0xFFFC00u);
    EXPECT_GT(symbols["_mdata"], symbols["_start"]);
    EXPECT_LT(symbols["_mdata"], 0x200000u);
    EXPECT_GE(symbols["_bss"], symbols["_edata"]);
    EXPECT_GT(symbols["_ebss"], symbols["_bss"]);
    EXPECT_TRUE(symbols.count("memset")) << "the generated library was linked";

    // Nothing changed: nothing runs.
    auto second = Build();
    ASSERT_EQ(second.exitCode, 0) << second.output;
    EXPECT_TRUE(Rebuilt(second.output).empty()) << second.output;
    EXPECT_NE(second.output.find("0 of 8 steps run, 8 up to date"), std::string::npos);

    // A header: exactly the sources that include it, then the link.
    TouchLater(Demo("include/demo/util.h"));
    auto header = Build();
    ASSERT_EQ(header.exitCode, 0) << header.output;
    EXPECT_EQ(Rebuilt(header.output),
              (std::set<std::string>{"src/main.c", "src/util.c", "Debug/demo.mot, Debug/demo.x"}))
        << header.output;
    // The assembler's include file.
    TouchLater(Demo("include/board.inc"));
    auto include = Build();
    EXPECT_EQ(Rebuilt(include.output),
              (std::set<std::string>{"src/start.s", "Debug/demo.mot, Debug/demo.x"}))
        << include.output;

    // One option string: exactly the files it applies to.
    auto ws = nlohmann::json::parse(ReadAll(Workspace()));
    bool changed = false;
    for (auto& entry : ws["projects"][0]["options"]) {
        if (entry.value("fileType", "") == "C++ source file" &&
            entry.value("config", "") == "DEBUG") {
            entry["value"] = entry["value"].get<std::string>() + " [S|DEFINES|RING_CHECKED]";
            changed = true;
        }
    }
    ASSERT_TRUE(changed);
    WriteAll(Workspace(), ws.dump(2));
    auto options = Build();
    ASSERT_EQ(options.exitCode, 0) << options.output;
    EXPECT_EQ(Rebuilt(options.output),
              (std::set<std::string>{"src/ring.cpp", "Debug/demo.mot, Debug/demo.x"}))
        << options.output;

    // A compile error: shown with its file and line, the build fails.
    std::string board = ReadAll(Demo("src/board.c"));
    std::string broken = board;
    size_t at = broken.find("*BOARD_LEDS = 0;");
    ASSERT_NE(at, std::string::npos);
    std::string errorLine =
        std::to_string(1 + std::count(board.begin(), board.begin() + static_cast<long>(at), '\n'));
    broken.replace(at, 16, "*BOARD_LEDS = undeclared_name;");
    WriteAll(Demo("src/board.c"), broken);
    TouchLater(Demo("src/board.c"));
    auto failed = Build();
    EXPECT_NE(failed.exitCode, 0) << failed.output;
    EXPECT_TRUE(std::regex_search(failed.output, std::regex("src/board\\.c:" + errorLine +
                                                            ":\\d+: error: .*undeclared_name")))
        << failed.output;
    EXPECT_NE(failed.output.find("Build FAILED"), std::string::npos);
    EXPECT_EQ(Rebuilt(failed.output).count("Debug/demo.mot, Debug/demo.x"), 0u)
        << "no link after a failed compile";
    WriteAll(Demo("src/board.c"), board);
    TouchLater(Demo("src/board.c"));
    auto repaired = Build();
    EXPECT_EQ(repaired.exitCode, 0) << repaired.output;
    EXPECT_EQ(Rebuilt(repaired.output),
              (std::set<std::string>{"src/board.c", "Debug/demo.mot, Debug/demo.x"}))
        << repaired.output;
}

TEST_F(ExampleBuild, ParallelReleaseBuildMakesTheSameOutputs) {
    auto release = Build({"--config", "RELEASE", "-j", "3"});
    ASSERT_EQ(release.exitCode, 0) << release.output;
    EXPECT_EQ(Rebuilt(release.output).size(), 8u) << release.output;
    EXPECT_TRUE(fs::exists(Demo("Release/demo.x")));
    EXPECT_TRUE(fs::exists(Demo("Release/demo.mot")));
    auto symbols = Symbols(Demo("Release/demo.x"));
    EXPECT_EQ(symbols["_start"], 0x1000u);
    EXPECT_EQ(symbols["_stack"], 0xFFFC00u);

    auto clean =
        Host({"clean", Workspace(), "--config", "RELEASE", "--toolchain", (root_ / "tc").string()});
    EXPECT_EQ(clean.exitCode, 0) << clean.output;
    EXPECT_FALSE(fs::exists(Demo("Release/demo.x")));
    EXPECT_FALSE(fs::exists(Demo("Release/main.o")));
}

TEST_F(ExampleBuild, DependenciesMakefileAndCompilationDatabase) {
    std::string tc = (root_ / "tc").string();
    auto deps = Host({"deps", Workspace(), "src/main.c", "--toolchain", tc});
    EXPECT_EQ(deps.exitCode, 0) << deps.output;
    for (const char* header : {"demo/board.h", "demo/ring.h", "demo/util.h", "demo/types.h"})
        EXPECT_NE(deps.output.find(header), std::string::npos) << header << "\n" << deps.output;
    auto asmDeps = Host({"deps", Workspace(), "src/start.s", "--toolchain", tc});
    EXPECT_NE(asmDeps.output.find("board.inc"), std::string::npos) << asmDeps.output;

    auto make = Host({"makefile", Workspace(), "--toolchain", tc});
    EXPECT_EQ(make.exitCode, 0) << make.output;
    std::string makefile = ReadAll(Demo("demo_DEBUG.mak"));
    EXPECT_NE(makefile.find("all: Debug/demo.mot Debug/demo.x"), std::string::npos) << makefile;
    EXPECT_NE(makefile.find("Debug/main.o: src/main.c"), std::string::npos) << makefile;
    EXPECT_NE(makefile.find("-subcommand=$(SUB)"), std::string::npos) << makefile;
    EXPECT_NE(makefile.find("Debug/main.o: SUB = Debug/makefile/"), std::string::npos);
    size_t subFiles = 0;
    for (const auto& entry : fs::directory_iterator(Demo("Debug/makefile"))) {
        ++subFiles;
        EXPECT_GT(fs::file_size(entry.path()), 0u) << entry.path();
    }
    EXPECT_EQ(subFiles, 8u);

    auto compdb = Host({"compdb", Workspace(), "--toolchain", tc});
    EXPECT_EQ(compdb.exitCode, 0) << compdb.output;
    auto db = nlohmann::json::parse(ReadAll(Demo("compile_commands.json")));
    ASSERT_EQ(db.size(), 5u);
    std::set<std::string> files;
    for (const auto& entry : db) {
        files.insert(fs::path(entry["file"].get<std::string>()).filename().string());
        EXPECT_EQ(fs::path(entry["directory"].get<std::string>()).filename(), "Debug");
        const auto& args = entry["arguments"];
        ASSERT_GT(args.size(), 3u);
        EXPECT_NE(args[0].get<std::string>().find("corvo-elf-g"), std::string::npos);
        bool namesFile = false;
        for (const auto& a : args) namesFile = namesFile || a == entry["file"];
        EXPECT_TRUE(namesFile) << entry.dump();
        for (const auto& a : args)
            EXPECT_EQ(a.get<std::string>().find('\\'), std::string::npos) << a;
    }
    EXPECT_EQ(files, (std::set<std::string>{"main.c", "board.c", "led.c", "util.c", "ring.cpp"}));
}

// Colours only on a terminal, and never with NO_COLOR; a pipe gets plain
// lines (the first test reads them). `script` lends the build a terminal.
TEST_F(ExampleBuild, DiagnosticsAreColouredOnlyOnATerminal) {
    if (!platform::RunProcess("script --version", platform::ProcessOptions{}).started)
        GTEST_SKIP() << "no script command to provide a terminal";
    auto onTerminal = [](const std::string& prefix) {
        std::string inner = prefix + "'" + std::string(QUORLE_TEST_BINARY_DIR) +
                            "/bin/quorle-host' build '" + Workspace() + "' --toolchain '" +
                            (root_ / "tc").string() + "'";
        platform::ProcessOptions options;
        options.timeoutMs = 5 * 60 * 1000;
        options.environment = {"QUORLE_REGISTRY=" + (root_ / "registry.ini").string()};
        return platform::RunProcess("script -qec \"" + inner + "\" /dev/null", options);
    };
    TouchLater(Demo("src/util.c"));
    auto coloured = onTerminal("");
    ASSERT_EQ(coloured.exitCode, 0) << coloured.output;
    EXPECT_NE(
        coloured.output.find("src/util.c:7:9: \x1b[0m\x1b[1;35mwarning:\x1b[0m unused variable"),
        std::string::npos)
        << coloured.output;

    TouchLater(Demo("src/util.c"));
    auto plain = onTerminal("NO_COLOR=1 ");
    ASSERT_EQ(plain.exitCode, 0) << plain.output;
    EXPECT_NE(plain.output.find("src/util.c:7:9: warning: unused variable"), std::string::npos)
        << plain.output;
    // No colour; the status line still moves the cursor back, as on any terminal.
    EXPECT_FALSE(std::regex_search(plain.output, std::regex("\x1b\\[[0-9;]*m"))) << plain.output;
    EXPECT_NE(plain.output.find("\r[2/2] Linking Debug/demo.mot, Debug/demo.x\x1b[K"),
              std::string::npos)
        << plain.output;
}

} // namespace
