// The pieces of a build step: catalogue look-ups, the up-to-date decision,
// the tool command and the display of classified lines.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <map>
#include <thread>

#include "host/build_plan.h"
#include "host/build_state.h"
#include "host/diagnostics.h"
#include "host/job_runner.h"
#include "host/session.h"
#include "host/tool_run.h"
#include "platform/platform.h"

namespace quorle::host {
namespace {

TEST(BuildPlan, FileTypesComeFromTheCatalogueWhateverTheCase) {
    auto table = ExtensionTable({"C source file|TEXT|C", "C++ source file|TEXT|CPP|CC|CP",
                                 "Optimize map file|BIN|bls", "Assembly source file|TEXT|SRC|S"});
    EXPECT_EQ(FileTypeOf(table, "src/main.c"), "C source file");
    EXPECT_EQ(FileTypeOf(table, "x.Cc"), "C++ source file");
    EXPECT_EQ(FileTypeOf(table, "start.s"), "Assembly source file");
    EXPECT_EQ(FileTypeOf(table, "a.BLS"), "Optimize map file");
    EXPECT_EQ(FileTypeOf(table, "dir.c/README"), "");
    EXPECT_EQ(UpperExtension("a/b.tar.gz"), "GZ");
    EXPECT_EQ(PlaceOrder("PRE_COMPILE"), 0);
    EXPECT_EQ(PlaceOrder("LINK"), 3);
    EXPECT_EQ(KindOfPlace("ASSEMBLE"), PhaseKind::Assembler);
    EXPECT_EQ(KindOfPlace("SOMETHING"), PhaseKind::Other);
    auto outputs = ParseOutputList({"C:\\w\\Debug\\demo.mot|S-Record file", "/w/x.bin"});
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs[0].type, "S-Record file");
#if !defined(_WIN32)
    EXPECT_EQ(outputs[0].path, "C:/w/Debug/demo.mot");
#endif
    EXPECT_EQ(outputs[1].type, "");
}

std::map<std::string, int64_t> gTimes;
std::optional<int64_t> FakeTime(const std::string& path) {
    auto it = gTimes.find(path);
    if (it == gTimes.end()) return std::nullopt;
    return it->second;
}

TEST(BuildState, StepsRunWhenOutputsAreMissingOldOrBuiltDifferently) {
    gTimes = {{"main.o", 100}, {"main.c", 50}, {"a.h", 60}};
    StepRecord built{"[B|DEBUG|1]", "main.c|C source file\n"};
    UpToDateQuery q;
    q.outputs = {"main.o"};
    q.reads = {"main.c", "a.h"};
    q.current = built;
    q.stored = &built;
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "");

    gTimes["a.h"] = 101;
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "a.h is newer");
    gTimes["a.h"] = 100; // the same instant is not newer
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "");

    StepRecord changed{"[B|DEBUG|0]", built.inputs};
    q.current = changed;
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "its options changed");
    StepRecord relinked{built.options, "other.o|Object file\n"};
    q.current = relinked;
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "its inputs changed");
    q.current = built;

    q.reads.push_back("gone.h");
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "gone.h is missing");
    q.reads.pop_back();
    q.outputs.push_back("main.lst");
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "main.lst is missing");
    q.outputs = {};
    EXPECT_FALSE(OutOfDateReason(q, &FakeTime).empty());
    q.outputs = {"main.o"};
    q.stored = nullptr;
    EXPECT_EQ(OutOfDateReason(q, &FakeTime), "it was never built");
}

TEST(BuildState, SurvivesASaveAndForgetsADamagedFile) {
    auto dir =
        std::filesystem::temp_directory_path() /
        ("quorle-state-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()));
    std::filesystem::create_directories(dir);
    std::string file = BuildState::FileIn(dir.generic_string());
    BuildState state;
    EXPECT_TRUE(state.Load(file)); // missing: empty
    EXPECT_EQ(state.size(), 0u);
    state.Set("GNU Compiler|/p/a.c", {"[V|VERSION|2] \"quoted\"", "/p/a.c|C source file\n"});
    state.Set("GNU Linker|", {"x", ""});
    ASSERT_TRUE(state.Save(file));
    BuildState again;
    ASSERT_TRUE(again.Load(file));
    ASSERT_NE(again.Find("GNU Compiler|/p/a.c"), nullptr);
    EXPECT_EQ(again.Find("GNU Compiler|/p/a.c")->options, "[V|VERSION|2] \"quoted\"");
    EXPECT_EQ(again.Find("GNU Compiler|/p/a.c")->inputs, "/p/a.c|C source file\n");
    EXPECT_EQ(again.size(), 2u);
    again.Erase("GNU Linker|");
    EXPECT_EQ(again.Find("GNU Linker|"), nullptr);
    ASSERT_TRUE(platform::WriteFile(file, "{ not json", false));
    EXPECT_FALSE(again.Load(file));
    EXPECT_EQ(again.size(), 0u);
    std::filesystem::remove_all(dir);
}

TEST(ToolRun, CommandsFromPrePhaseNameTheSubcommandFile) {
    auto plain = ParseToolCommand("@\"C:\\w\\Debug\\main.gcc\"");
    ASSERT_TRUE(plain);
    EXPECT_FALSE(plain->useGccToLink);
#if !defined(_WIN32)
    EXPECT_EQ(plain->subcommandFile, "C:/w/Debug/main.gcc");
#endif
    auto gcc = ParseToolCommand("--use-gcc-to-link @\"/w/demo.gld\"");
    ASSERT_TRUE(gcc);
    EXPECT_TRUE(gcc->useGccToLink);
    EXPECT_EQ(gcc->subcommandFile, "/w/demo.gld");
    EXPECT_TRUE(ParseToolCommand("@/w/plain.gas"));
    EXPECT_FALSE(ParseToolCommand(""));
    EXPECT_FALSE(ParseToolCommand("@\"\""));
    EXPECT_FALSE(ParseToolCommand("@\"unterminated"));
    EXPECT_FALSE(ParseToolCommand("gcc main.c"));
}

TEST(ToolRun, ToolsFollowTheFamilyAndThePhase) {
    EXPECT_EQ(TripletOf("Dravik GNUCORVO [ELF]"), "corvo-elf");
    EXPECT_EQ(TripletOf("dravik gnutamsin [elf]"), "tamsin-elf");
    EXPECT_EQ(TripletOf("Dravik GNUTAMSINA [ELF]"), "");
    EXPECT_EQ(ToolOf(PhaseKind::Compiler, "C++ source file", false), "g++");
    EXPECT_EQ(ToolOf(PhaseKind::Compiler, "C source file", false), "gcc");
    EXPECT_EQ(ToolOf(PhaseKind::Linker, "", false), "ld");
    EXPECT_EQ(ToolOf(PhaseKind::Linker, "", true), "gcc");
    EXPECT_EQ(ToolOf(PhaseKind::Generator, "", false), "libgen");
    EXPECT_EQ(ToolPath("/tc", "zenta-elf", "as"), "/tc/zenta-elf/bin/zenta-elf-as.exe");
}

TEST(ToolRun, CommandLinesSplitBackIntoTheSameArguments) {
    std::vector<std::string> args{"/tc/x-gcc.exe", "-I",   "C:\\My Dir\\inc", "", "-o",
                                  "out dir/a.o",   "-DX=1"};
    EXPECT_EQ(platform::SplitCommandLine(JoinCommandLine(args)), args);
}

TEST(ToolRun, EscapeSequencesAndLineEndsAreRemoved) {
    EXPECT_EQ(StripEscapes("\x1b[01m\x1b[Ka.c:3:5:\x1b[m\x1b[K \x1b[01;35mwarning:\x1b[m x"),
              "a.c:3:5: warning: x");
    EXPECT_EQ(StripEscapes("see \x1b]8;;https://gcc.gnu.org/x\x07-Wunused\x1b]8;;\x07 here"),
              "see -Wunused here");
    EXPECT_EQ(StripEscapes("a\x1b]8;;u\x1b\\b"), "ab");
    EXPECT_EQ(StripEscapes("cut\x1b"), "cut");
    EXPECT_EQ(StripEscapes("cut\x1b[12"), "cut");
    EXPECT_EQ(OutputLines("one\r\n\x1b[1mtwo\x1b[0m\n\nlast"),
              (std::vector<std::string>{"one", "two", "", "last"}));
    EXPECT_TRUE(OutputLines("").empty());
}

TEST(Diagnostics, LinesShowFileLineSeverityAndTheBareMessage) {
    EXPECT_EQ(CleanMessage(" 5: warning: unused variable 'x'"), "unused variable 'x'");
    EXPECT_EQ(CleanMessage(" fatal error: a.h: No such file"), "a.h: No such file");
    EXPECT_EQ(CleanMessage(" 12ab: text"), "12ab: text");

    LineInfo warning;
    warning.isMessage = true;
    warning.warnings = 1;
    warning.file = "\\w\\src\\util.c";
    warning.line = "7";
    warning.message = " 9: warning: unused variable";
#if !defined(_WIN32)
    EXPECT_EQ(FormatLine(warning, "raw", "/w", false), "src/util.c:7: warning: unused variable");
#endif
    std::string coloured = FormatLine(warning, "raw", "/w", true);
    EXPECT_NE(coloured.find("\x1b["), std::string::npos);
    EXPECT_EQ(StripEscapes(coloured), FormatLine(warning, "raw", "/w", false));

    LineInfo linkerError;
    linkerError.isMessage = true;
    linkerError.errors = 1;
    linkerError.file = "None";
    linkerError.line = "None";
    linkerError.message = "ld: cannot find -lfoo";
    EXPECT_EQ(FormatLine(linkerError, "raw", "/w", false), "error: ld: cannot find -lfoo");

    LineInfo note;
    note.isMessage = true;
    note.file = "None";
    EXPECT_EQ(FormatLine(note, "In function 'main':", "/w", false), "In function 'main':");
    LineInfo banner; // not a message: shown as nothing
    EXPECT_EQ(FormatLine(banner, "Copyright (C) 2020", "/w", false), "");
}

TEST(JobRunner, NeverRunsMoreThanItsJobsAndReturnsEveryResult) {
    for (size_t jobs : {size_t(1), size_t(3)}) {
        JobRunner runner(jobs);
        std::atomic<int> running{0}, peak{0};
        std::vector<int> seen(7, 0);
        auto work = [&running, &peak](int code) {
            return [&running, &peak, code] {
                int now = ++running;
                int old = peak.load();
                while (now > old && !peak.compare_exchange_weak(old, now)) {
                }
                std::this_thread::sleep_for(std::chrono::milliseconds(15));
                --running;
                platform::ProcessResult r;
                r.started = true;
                r.exitCode = code;
                return r;
            };
        };
        for (size_t id = 0; id < seen.size(); ++id) {
            while (runner.Full()) {
                auto done = runner.WaitAny();
                seen[done.id] = done.result.exitCode;
            }
            runner.Start(id, work(static_cast<int>(id) + 10));
        }
        while (!runner.Idle()) {
            auto done = runner.WaitAny();
            seen[done.id] = done.result.exitCode;
        }
        for (size_t id = 0; id < seen.size(); ++id) EXPECT_EQ(seen[id], static_cast<int>(id) + 10);
        EXPECT_LE(peak.load(), static_cast<int>(jobs));
        if (jobs > 1) {
            EXPECT_GT(peak.load(), 1);
        }
    }
}

TEST(Session, CommandLineOptions) {
    std::string error;
    auto o = ParseHostOptions({"w.qws", "--config", "RELEASE", "-j4", "-v"}, false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->workspace, "w.qws");
    EXPECT_EQ(o->config, "RELEASE");
    EXPECT_EQ(o->jobs, 4u);
    EXPECT_TRUE(o->verbose);
    o = ParseHostOptions({"-j", "2", "w.qws", "src/a.c"}, true, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->jobs, 2u);
    EXPECT_EQ(o->positional, (std::vector<std::string>{"src/a.c"}));
    EXPECT_FALSE(ParseHostOptions({"w.qws", "-j0"}, false, error));
    EXPECT_FALSE(ParseHostOptions({"w.qws", "-jx"}, false, error));
    EXPECT_FALSE(ParseHostOptions({"w.qws", "--config"}, false, error));
    EXPECT_FALSE(ParseHostOptions({"w.qws", "--frobnicate"}, false, error));
    EXPECT_FALSE(ParseHostOptions({"w.qws", "extra"}, false, error));
}

} // namespace
} // namespace quorle::host
