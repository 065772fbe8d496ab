// The host in real use on copies of the example workspace: no-op builds
// start no tool, interrupted builds leave nothing half made, clean removes
// exactly what the builds made, missing files and failed steps are
// reported once, the command line helps, and a compiler launcher works.
#include <gtest/gtest.h>
#include <memory>

#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <regex>
#include <set>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
namespace platform = quorle::platform;
using quorle::testing_support::ReadBytes;
using quorle::testing_support::TempDir;

std::string Quote(const std::string& arg) {
    return arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
}

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class RealUse : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        tcTemp_ = std::make_unique<TempDir>("real_use_tc");
        tc_ = tcTemp_->Root();
        auto layout = Run({"toolchain", tc_.string()}, "", {});
        ASSERT_EQ(layout.exitCode, 0) << layout.output;
    }
    void SetUp() override {
        root_ = temp_.Root();
        const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / "demo";
        for (const char* part : {"src", "include", "demo.qws"})
            fs::copy(source / part, root_ / part, fs::copy_options::recursive);
    }

    // Runs quorle-host in the workspace's directory, away from the user's
    // registry file.
    static platform::ProcessResult Run(const std::vector<std::string>& args, const std::string& dir,
                                       std::vector<std::string> environment) {
        std::string line = Quote(std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host");
        for (const std::string& a : args) line += " " + Quote(a);
        platform::ProcessOptions options;
        options.timeoutMs = 5 * 60 * 1000;
        options.workingDirectory = dir;
        environment.push_back("QUORLE_REGISTRY=" + (tc_ / "registry.ini").string());
        environment.push_back("NO_COLOR=1");
        options.environment = environment;
        return platform::RunProcess(line, options);
    }
    platform::ProcessResult Host(std::vector<std::string> args,
                                 std::vector<std::string> environment = {}) {
        args.push_back("--toolchain");
        args.push_back(tc_.string());
        return Run(args, root_.string(), environment);
    }
    nlohmann::json Workspace() { return nlohmann::json::parse(ReadBytes(root_ / "demo.qws")); }
    void Save(const nlohmann::json& ws) { std::ofstream(root_ / "demo.qws") << ws.dump(2); }
    fs::path At(const std::string& rel) const { return root_ / rel; }

    static std::unique_ptr<TempDir> tcTemp_;
    static fs::path tc_;
    TempDir temp_{"real_use"};
    fs::path root_;
};

std::unique_ptr<TempDir> RealUse::tcTemp_;
fs::path RealUse::tc_;

TEST_F(RealUse, ANoOpBuildStartsNoProcessAndAFullBuildNoScans) {
    std::string log = (root_ / "spawns.log").string();
    auto full = Host({"build", "-j", "1"}, {"QUORLE_STANDIN_LOG=" + log});
    ASSERT_EQ(full.exitCode, 0) << full.output;
    // One compiler process per source (the dependency list comes from the
    // compile itself), none for a separate scan.
    std::string spawns = ReadBytes(log);
    // Five project sources, and the library generator's two (ctype, string).
    EXPECT_EQ(Count(spawns, "corvo-elf-gcc\n") + Count(spawns, "corvo-elf-g++\n"), 5u + 2u)
        << spawns;
    fs::remove(log);
    auto noop = Host({"build"}, {"QUORLE_STANDIN_LOG=" + log});
    ASSERT_EQ(noop.exitCode, 0) << noop.output;
    EXPECT_NE(noop.output.find("0 of 8 steps run, 8 up to date"), std::string::npos) << noop.output;
    EXPECT_FALSE(fs::exists(log)) << ReadBytes(log);
    // The state is written only when something changed.
    auto stamp = fs::last_write_time(At("Debug/.quorle-host-state"));
    Host({"build"});
    EXPECT_EQ(fs::last_write_time(At("Debug/.quorle-host-state")), stamp);
}

TEST_F(RealUse, AnInterruptedBuildLeavesNoHalfMadeObject) {
    // A launcher that writes half an object, says so, and waits.
    std::string launcher = (root_ / "slow.sh").string();
    std::ofstream(launcher) << "#!/bin/sh\ncase \"$*\" in *src/main.c*)\n"
                               "  echo half > '"
                            << At("Debug/main.o").string() << "'\n  echo $$ > '"
                            << At("launcher.pid").string()
                            << "'\n  sleep 60 ;;\nesac\nexec \"$@\"\n";
    fs::permissions(launcher, fs::perms::owner_all);
    std::string host = std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host";
    std::string script =
        "'" + host + "' build -j 1 --launcher '" + launcher + "' --toolchain '" + tc_.string() +
        "' > build.log 2>&1 & pid=$!; i=0; while [ ! -s launcher.pid ] && [ $i -lt 600 ]; do "
        "sleep 0.1; i=$((i+1)); done; kill -INT $pid; wait $pid; echo \"exit=$?\"";
    platform::ProcessOptions options;
    options.workingDirectory = root_.string();
    options.timeoutMs = 120000;
    options.environment = {"QUORLE_REGISTRY=" + (tc_ / "registry.ini").string()};
    auto run = platform::RunProcess("/bin/sh -c \"" + script + "\"", options);
    std::string log = ReadBytes(At("build.log"));
    EXPECT_NE(run.output.find("exit=130"), std::string::npos) << run.output << log;
    EXPECT_NE(log.find("Build INTERRUPTED"), std::string::npos) << log;
    EXPECT_FALSE(fs::exists(At("Debug/main.o"))) << "the half-written object was removed";
    std::string pid = ReadBytes(At("launcher.pid"));
    while (!pid.empty() && pid.back() == '\n') pid.pop_back();
    std::string stat = ReadBytes("/proc/" + pid + "/stat");
    EXPECT_TRUE(stat.empty() || stat.find(") Z") != std::string::npos)
        << "the tool was passed the interrupt and waited for";

    auto again = Host({"build"});
    ASSERT_EQ(again.exitCode, 0) << again.output;
    EXPECT_NE(again.output.find("Compiling src/main.c"), std::string::npos) << again.output;
    // What finished before the interrupt was saved.
    EXPECT_EQ(again.output.find("Generating library"), std::string::npos) << again.output;
}

TEST_F(RealUse, CleanRemovesWhatTheBuildMadeAndNothingElse) {
    ASSERT_EQ(Host({"build"}).exitCode, 0);
    std::ofstream(At("Debug/exported.gsi")) << "user's own section export\n";
    std::string mainBefore = ReadBytes(At("src/main.c"));
    auto clean = Host({"clean"});
    ASSERT_EQ(clean.exitCode, 0) << clean.output;
    std::set<std::string> left;
    for (const auto& entry : fs::directory_iterator(At("Debug")))
        left.insert(entry.path().filename().string());
    EXPECT_EQ(left, std::set<std::string>{"exported.gsi"});
    EXPECT_EQ(ReadBytes(At("src/main.c")), mainBefore);
    // A configuration never built is not made by clean.
    auto release = Host({"clean", "--config", "RELEASE"});
    EXPECT_EQ(release.exitCode, 0) << release.output;
    EXPECT_FALSE(fs::exists(At("Release")));
}

TEST_F(RealUse, MissingSourceCountsOnceAndKeepGoingBuildsTheRest) {
    auto ws = Workspace();
    ws["projects"][0]["files"].push_back("src/gone.c");
    Save(ws);
    auto build = Host({"build", "-k"});
    EXPECT_EQ(build.exitCode, 1);
    // Said once as an error, and once more in the summary's list of failures.
    EXPECT_EQ(Count(build.output, "gone.c"), 2u) << build.output;
    EXPECT_NE(build.output.find("Failed steps: src/gone.c\n"), std::string::npos) << build.output;
    EXPECT_NE(build.output.find("error: src/gone.c: no such file"), std::string::npos)
        << build.output;
    EXPECT_NE(build.output.find("1 error,"), std::string::npos) << build.output;
    // Every other step ran; only the link, which needs every object, did not.
    EXPECT_TRUE(fs::exists(At("Debug/ring.o")));
    EXPECT_TRUE(fs::exists(At("Debug/start.o")));
    EXPECT_FALSE(fs::exists(At("Debug/demo.x")));
    EXPECT_NE(build.output.find("1 skipped after a failure"), std::string::npos) << build.output;
}

TEST_F(RealUse, AnOutputOverASourceIsRefusedNamingBoth) {
    auto ws = Workspace();
    for (auto& entry : ws["projects"][0]["options"])
        if (entry.value("fileType", "") == "C source file")
            entry["value"] = "[V|VERSION|2] [S|OBJPATH|\"$(PROJDIR)\\src\\$(FILELEAF).c\"]";
    Save(ws);
    std::string before = ReadBytes(At("src/main.c"));
    auto build = Host({"build"});
    EXPECT_NE(build.exitCode, 0);
    EXPECT_TRUE(std::regex_search(build.output,
                                  std::regex("output .*src/main\\.c over the workspace source "
                                             "src/main\\.c")))
        << build.output;
    EXPECT_EQ(ReadBytes(At("src/main.c")), before);
    auto clean = Host({"clean"});
    EXPECT_EQ(ReadBytes(At("src/main.c")), before);
}

TEST_F(RealUse, TheCommandLineHelpsAndTheWorkspaceIsChecked) {
    auto help = Run({"--help"}, root_.string(), {});
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("usage: quorle-host COMMAND"), std::string::npos);
    EXPECT_EQ(Run({"help"}, root_.string(), {}).output, help.output);
    auto buildHelp = Run({"build", "--help"}, root_.string(), {});
    EXPECT_EQ(buildHelp.exitCode, 0);
    EXPECT_NE(buildHelp.output.find("usage: quorle-host build"), std::string::npos);
    auto version = Run({"--version"}, root_.string(), {});
    EXPECT_EQ(version.exitCode, 0);
    EXPECT_NE(version.output.find("quorle-host 4.4"), std::string::npos) << version.output;
    EXPECT_NE(version.output.find("Product version"), std::string::npos) << version.output;
    auto typo = Run({"biuld"}, root_.string(), {});
    EXPECT_EQ(typo.exitCode, 2);
    EXPECT_NE(typo.output.find("unknown command \"biuld\" (did you mean \"build\"?)"),
              std::string::npos)
        << typo.output;

    auto config = Host({"build", "--config", "PROFILE"});
    EXPECT_NE(config.exitCode, 0);
    EXPECT_NE(config.output.find("no configuration PROFILE (valid: DEBUG, RELEASE)"),
              std::string::npos)
        << config.output;
    auto folded = Host({"makefile", "--config", "release"});
    EXPECT_EQ(folded.exitCode, 0) << folded.output;
    EXPECT_TRUE(fs::exists(At("demo_RELEASE.mak")));

    auto ws = Workspace();
    ws["toolchan"] = "x";
    Save(ws);
    auto key = Host({"build"});
    EXPECT_NE(key.output.find("unknown key \"toolchan\" in the workspace (did you mean "
                              "\"toolchain\"?)"),
              std::string::npos)
        << key.output;
    ws.erase("toolchan");
    ws["projects"][0]["options"][1]["fileType"] = "C sorce file";
    ws["projects"][0]["options"][2]["value"] = "[V|VERSION|2] [BDEBUG|1]";
    Save(ws);
    auto type = Host({"build"});
    EXPECT_NE(type.output.find("unknown file type \"C sorce file\" (did you mean \"C source "
                               "file\"?)"),
              std::string::npos)
        << type.output;
    ws["projects"][0]["options"][1]["fileType"] = "C source file";
    Save(ws);
    auto token = Host({"compdb"});
    EXPECT_NE(token.output.find("warning: project demo, Compiler options: the token [BDEBUG|1] "
                                "does not parse"),
              std::string::npos)
        << token.output;
}

TEST_F(RealUse, ACompilerLauncherServesACleanRebuildFromItsCache) {
    if (!platform::RunProcess("ccache --version", platform::ProcessOptions{}).started)
        GTEST_SKIP() << "ccache is not installed";
    std::vector<std::string> env{"CCACHE_DIR=" + (root_ / "ccache").string(), "CCACHE_NOHASHDIR=1",
                                 "CCACHE_BASEDIR=" + root_.string()};
    auto first = Host({"build", "--launcher", "ccache"}, env);
    ASSERT_EQ(first.exitCode, 0) << first.output;
    ASSERT_EQ(Host({"clean"}).exitCode, 0);
    platform::ProcessOptions options;
    options.environment = env;
    platform::RunProcess("ccache -z", options);
    auto second = Host({"build", "--launcher", "ccache"}, env);
    ASSERT_EQ(second.exitCode, 0) << second.output;
    auto stats = platform::RunProcess("ccache --print-stats", options);
    std::smatch hit;
    ASSERT_TRUE(std::regex_search(stats.output, hit, std::regex("direct_cache_hit\\t(\\d+)")))
        << stats.output;
    // Every C and C++ compile, and the assembly, came from the cache.
    EXPECT_GE(std::stoi(hit[1].str()), 5) << stats.output;
    // The rebuild from the cache still knows every header of every source.
    std::ofstream(At("include/demo/util.h"), std::ios::app) << "\n";
    auto header = Host({"build", "--launcher", "ccache"}, env);
    EXPECT_NE(header.output.find("Compiling src/util.c"), std::string::npos) << header.output;
    EXPECT_NE(header.output.find("Compiling src/main.c"), std::string::npos) << header.output;
    EXPECT_EQ(header.output.find("Compiling src/led.c"), std::string::npos) << header.output;
}

TEST_F(RealUse, TheExportedMakefileBuildsTheSameProgram) {
    ASSERT_EQ(Host({"build"}).exitCode, 0);
    auto nm = [this](const std::string& program) {
        return platform::RunProcess("nm " + Quote(At(program).string()), platform::ProcessOptions{})
            .output;
    };
    std::string built = nm("Debug/demo.x");
    ASSERT_FALSE(built.empty());
    ASSERT_EQ(Host({"clean"}).exitCode, 0);
    ASSERT_EQ(Host({"makefile"}).exitCode, 0);
    platform::ProcessOptions options;
    options.workingDirectory = root_.string();
    options.timeoutMs = 5 * 60 * 1000;
    auto make = platform::RunProcess("make -f demo_DEBUG.mak", options);
    ASSERT_EQ(make.exitCode, 0) << make.output;
    EXPECT_EQ(nm("Debug/demo.x"), built);
    EXPECT_TRUE(fs::exists(At("Debug/demo.mot")));
    // Header dependencies from gcc: touching one rebuilds its sources only.
    auto quiet = platform::RunProcess("make -f demo_DEBUG.mak", options);
    EXPECT_EQ(Count(quiet.output, "corvo-elf-gcc.exe"), 0u) << quiet.output;
    std::ofstream(At("include/demo/ring.h"), std::ios::app) << "\n";
    auto again = platform::RunProcess("make -f demo_DEBUG.mak", options);
    EXPECT_NE(again.output.find("6_ring.sub"), std::string::npos) << again.output;
    EXPECT_EQ(again.output.find("4_led.sub"), std::string::npos) << again.output;
}

} // namespace

namespace {

// Default paths keep their placeholders when the option string names no
// output; the host expands them in what comes back before a tool runs.
TEST_F(RealUse, AWorkspaceWithoutOutputKeysBuilds) {
    auto ws = Workspace();
    ws["projects"][0]["files"] = {"src/led.c"};
    ws["projects"][0]["options"] = {
        {{"phase", "Compiler"},
         {"fileType", "C source file"},
         {"value", "[V|VERSION|2] [S|INCDIR|\"$(PROJDIR)\\include\"] [S|APPTXT|\"-ffreestanding "
                   "-fno-pie\"]"}},
        {{"phase", "Linker"}, {"value", "[V|VERSION|2] [S|CPUTYPE|CV2]"}}};
    Save(ws);
    auto build = Host({"build"});
    ASSERT_EQ(build.exitCode, 0) << build.output;
    EXPECT_TRUE(fs::exists(At("Debug/led.o")));
    EXPECT_TRUE(fs::exists(At("Debug/demo.x")));
    // The files the tools were given carry the expanded names.
    EXPECT_TRUE(fs::exists(At("Debug/demo_DEBUG_auto.gsi")));
    EXPECT_TRUE(fs::exists(At("Debug/demo_input.tmp")));
    ASSERT_EQ(Host({"clean"}).exitCode, 0);
    EXPECT_TRUE(fs::is_empty(At("Debug")));

    // The short catalogue of the main script, the whole one of info.
    auto summary = Run({"info", "--summary"}, root_.string(), {});
    auto whole = Run({"info"}, root_.string(), {});
    EXPECT_EQ(summary.exitCode, 0);
    EXPECT_NE(summary.output.find("GNU Library Generator"), std::string::npos) << summary.output;
    EXPECT_LT(Count(summary.output, "\n") * 4, Count(whole.output, "\n")) << summary.output;
}

} // namespace
