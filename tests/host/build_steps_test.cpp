// The pieces of a build step: catalogue look-ups, the up-to-date decision,
// the tool command and the display of classified lines.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <map>
#include <thread>

#include "host/build_plan.h"
#include "host/build_state.h"
#include "host/closest.h"
#include "host/dep_file.h"
#include "host/diagnostics.h"
#include "host/job_runner.h"
#include "host/plan_files.h"
#include "host/session.h"
#include "host/tool_run.h"
#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

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
    EXPECT_LT(PlaceOrder("PRE_COMPILE"), PlaceOrder("COMPILE"));
    EXPECT_LT(PlaceOrder("ASSEMBLE"), PlaceOrder("LINK"));
    EXPECT_EQ(PlaceOrder("SOMETHING"), kBuildOrder.size());
    EXPECT_EQ(PlaceVerb("ASSEMBLE"), "Assembling");
    EXPECT_EQ(PlaceVerb("SOMETHING"), "Running");
    auto outputs = ParseOutputList({"C:\\w\\Debug\\demo.mot|S-Record file", "/w/x.bin"});
    ASSERT_EQ(outputs.size(), 2u);
    EXPECT_EQ(outputs[0].type, "S-Record file");
#if !defined(_WIN32)
    EXPECT_EQ(outputs[0].path, "C:/w/Debug/demo.mot");
#endif
    EXPECT_EQ(outputs[1].type, "");
}

// The project "app" in /w/app, built in its DEBUG configuration.
struct AppProject {
    static Workspace WorkspaceOf() {
        Workspace ws;
        ws.dir = "/w";
        return ws;
    }
    static Project ProjectOf() {
        Project project;
        project.name = "app";
        project.dir = "/w/app";
        return project;
    }
    Workspace ws = WorkspaceOf();
    Project project = ProjectOf();
    Configuration config{"DEBUG", "Debug"};
    ProjectContext context{ws, project, config, "/host", "/tmp"};
};

TEST(BuildPlan, OutputPathsAndOptionTokens) {
    AppProject app;
    const ProjectContext& context = app.context;
    // A placeholder the plug-in resolved against the configuration directory.
    EXPECT_EQ(ExpandOutputPath("/w/app/Debug/$(CONFIGDIR)/$(PROJECTNAME).x", context, "app"),
              "/w/app/Debug/app.x");
    EXPECT_EQ(ExpandOutputPath("/w/app/Debug/out/$(FILELEAF).o", context, "main"),
              "/w/app/Debug/out/main.o");
    EXPECT_EQ(ExpandOutputPath("/w/app/Debug/plain.o", context, "main"), "/w/app/Debug/plain.o");
    EXPECT_EQ(MalformedTokens("[V|VERSION|2] [B|DEBUG|1] [S|X|\"a b\"]"),
              std::vector<std::string>{});
    EXPECT_EQ(MalformedTokens("[V|VERSION|2] [BDEBUG|1] stray [S||x] [b|X|1]"),
              (std::vector<std::string>{"[BDEBUG|1]", "stray", "[S||x]", "[b|X|1]"}));
}

// The link's side files are named after its output under each name the
// plan has for it: the expanded path, and the form the plug-in listed when
// that differs. An output without a second form gives one set only.
TEST(BuildPlan, SideFilesFollowEachNameOfAnOutput) {
    AppProject app;
    const ProjectContext& context = app.context;
    BuildPlan plan;
    PhaseDesc link;
    link.name = "GNU Linker";
    link.single = true;
    link.place = "LINK";
    plan.phases.push_back(link);
    Step step;
    step.outputs.push_back({"/w/app/Debug/app.x", "Executable file", "/w/app/Debug/$(FILELEAF).x"});
    step.outputs.push_back({"/w/app/Debug/app.mot", "S-Record file", ""});
    plan.steps.push_back(step);
    PlanFiles files = FilesOfPlan(plan, context);
    const std::string dir = context.configDir() + "/";
    EXPECT_EQ(files.outputs,
              (std::vector<std::string>{"/w/app/Debug/app.x", "/w/app/Debug/app.mot"}));
    EXPECT_EQ(files.byProducts.count(dir + "app_DEBUG_auto.gsi"), 1u);
    EXPECT_EQ(files.byProducts.count(dir + "$(FILELEAF)_DEBUG_auto.gsi"), 1u);
    EXPECT_EQ(files.byProducts.count(dir + "_DEBUG_auto.gsi"), 0u) << "no name, no side file";
}

TEST(Closest, MisspellingsFindTheWordMeant) {
    EXPECT_EQ(EditDistance("build", "biuld"), 1u);
    EXPECT_EQ(EditDistance("", "abc"), 3u);
    EXPECT_EQ(EditDistance("Config", "config"), 0u);
    std::vector<std::string> words{"build", "clean", "compdb", "makefile"};
    EXPECT_EQ(Closest("biuld", words), "build");
    EXPECT_EQ(Closest("mkefile", words), "makefile");
    EXPECT_EQ(Closest("xyz", words), "");
    EXPECT_EQ(DidYouMean("C sorce file", {"C source file", "C header file"}),
              " (did you mean \"C source file\"?)");
    EXPECT_EQ(DidYouMean("zzzzzz", {"C source file"}), "");
}

TEST(DependencyFile, RulesGivePrerequisitesOnly) {
    EXPECT_EQ(ParseDependencyRules("/w/Debug/main.o: /w/src/main.c \\\n /w/inc/a.h /w/inc/b.h\n"),
              (std::vector<std::string>{"/w/src/main.c", "/w/inc/a.h", "/w/inc/b.h"}));
    // Escaped blanks, doubled dollars, CR LF continuations, phony targets,
    // repeats, a blank before the colon.
    EXPECT_EQ(ParseDependencyRules("a.o : my\\ dir/x.h \\\r\n c$$d.h x.h\nx.h:\n\nmy\\ dir/x.h:\n"),
              (std::vector<std::string>{"my dir/x.h", "c$d.h", "x.h"}));
    EXPECT_TRUE(ParseDependencyRules("").empty());
    EXPECT_TRUE(ParseDependencyRules("a.o:\n").empty());
    EXPECT_EQ(DependencyEnvironment("/d/a.o.qdeps", "/d/a.o"),
              "SUNPRO_DEPENDENCIES=/d/a.o.qdeps /d/a.o");
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
    EXPECT_EQ(ToolOf("COMPILE", "C++ source file", false), "g++");
    EXPECT_EQ(ToolOf("COMPILE", "C source file", false), "gcc");
    EXPECT_EQ(ToolOf("LINK", "", false), "ld");
    EXPECT_EQ(ToolOf("LINK", "", true), "gcc");
    EXPECT_EQ(ToolOf("PRE_COMPILE", "", false), "libgen");
    EXPECT_EQ(ToolOf("ASSEMBLE", "", true), "as");
    EXPECT_EQ(ToolOf("ELSEWHERE", "", false), "");
#if !defined(_WIN32)
    EXPECT_EQ(ToolArgument("C:\\w\\a.c"), "C:/w/a.c");
    EXPECT_EQ(ToolArgument("-DPATH=\\x"), "-DPATH=\\x");
#endif
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

TEST(Diagnostics, LinesNameFileLineColumnSeverityAndTheBareMessage) {
    LineInfo warning;
    warning.isMessage = true;
    warning.warnings = 1;
    warning.file = "\\w\\src\\util.c";
    warning.line = "7";
    warning.message = " 9: warning: unused variable";
    DisplayPlace here{"/w", "/w/Debug", false};
#if !defined(_WIN32)
    EXPECT_EQ(FormatLine(warning, "raw", here), "src/util.c:7:9: warning: unused variable");
    // Outside the current directory the path stays absolute.
    EXPECT_EQ(FormatLine(warning, "raw", {"/elsewhere", "", false}),
              "/w/src/util.c:7:9: warning: unused variable");
    // A relative path is the tool's, in its working directory.
    warning.file = "..\\inc\\a.h";
    EXPECT_EQ(FormatLine(warning, "raw", here), "inc/a.h:7:9: warning: unused variable");
    warning.file = "\\w\\src\\util.c";
#endif
    DisplayPlace coloured{"/w", "", true};
    std::string painted = FormatLine(warning, "raw", coloured);
    EXPECT_NE(painted.find("\x1b["), std::string::npos);
    EXPECT_EQ(StripEscapes(painted), FormatLine(warning, "raw", {"/w", "", false}));

    LineInfo note = warning;
    note.warnings = 0;
    note.message = " 13: note: in expansion of macro 'X'";
    EXPECT_EQ(SeverityOf(note), Severity::Note);
#if !defined(_WIN32)
    EXPECT_EQ(FormatLine(note, "raw", here), "src/util.c:7:13: note: in expansion of macro 'X'");
#endif
    LineInfo fatal = warning;
    fatal.warnings = 0;
    fatal.fatals = 1;
    fatal.errors = 1;
    fatal.message = " 10: fatal error: a.h: No such file or directory";
    EXPECT_EQ(LocationOf(fatal, "raw").message, "a.h: No such file or directory");
    EXPECT_EQ(LocationOf(fatal, "raw").column, "10");

    // Context and excerpt lines stay as they are.
    LineInfo context;
    context.isMessage = true;
    context.file = "None";
#if !defined(_WIN32)
    // A context line names its file as the messages do: below the tool's
    // directory, relative to the user's.
    EXPECT_EQ(FormatLine(context, "a.c: In function 'main':", here),
              "Debug/a.c: In function 'main':");
    EXPECT_EQ(FormatLine(context, "/w/src/a.c: In function 'main':", here),
              "src/a.c: In function 'main':");
    EXPECT_EQ(FormatLine(context, "/w/src/a.cpp:12:5:   required from here", here),
              "src/a.cpp:12:5:   required from here");
    EXPECT_EQ(FormatLine(context, "In file included from /w/include/a.h:3,", here),
              "In file included from include/a.h:3,");
    EXPECT_EQ(FormatLine(context, "                 from /w/src/main.c:1:", here),
              "                 from src/main.c:1:");
#endif
    // Excerpts and carets are shown unchanged.
    for (const char* excerpt :
         {"    7 |   int x = y;", "      |           ^", "  +++ |+#include <x.h>"})
        EXPECT_EQ(FormatLine(context, excerpt, here), excerpt);
    LineInfo banner; // not a message: shown as nothing
    EXPECT_EQ(FormatLine(banner, "Copyright (C) 2020", here), "");
}

TEST(Diagnostics, LinkerErrorsNameTheObjectOrSource) {
    LineInfo ld;
    ld.isMessage = true;
    ld.errors = 1;
    ld.file = ld.line = "None";
    DisplayPlace here{"/w", "/w/Debug", false};
#if !defined(_WIN32)
    EXPECT_EQ(FormatLine(ld, "ld: /w/Debug/main.o:(.text+0x9): undefined reference to `foo'", here),
              "Debug/main.o: error: undefined reference to `foo'");
    EXPECT_EQ(FormatLine(ld, "/usr/bin/ld: /w/src/main.c:12: undefined reference to `foo'", here),
              "src/main.c:12: error: undefined reference to `foo'");
    EXPECT_EQ(
        FormatLine(ld, "corvo-elf-ld.exe: main.c:(.text+0x5): undefined reference to `f'", here),
        "main.c: error: undefined reference to `f'");
#endif
    EXPECT_EQ(FormatLine(ld, "ld: cannot find -lfoo: No such file or directory", here),
              "error: cannot find -lfoo: No such file or directory");
    EXPECT_EQ(FormatHostError("/w/src/x.c", "/w/src/x.c: no such file", "/w", false),
              "error: src/x.c: no such file");
    EXPECT_EQ(FormatHostError("", "PrePhase failed", "/w", false), "error: PrePhase failed");
    EXPECT_EQ(ShownPath("/w/a/../b.c", "/w"), "b.c");
    EXPECT_EQ(ShownPath("/x/b.c", "/w"), "/x/b.c");
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
    o = ParseHostOptions({"w.qws", "-k", "--launcher", "ccache"}, false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->keepGoing);
    EXPECT_EQ(o->launcher, std::vector<std::string>{"ccache"});
    EXPECT_FALSE(o->jobsGiven);
    EXPECT_FALSE(o->wait);
    EXPECT_FALSE(ParseHostOptions({"w.qws", "--launcher"}, false, error));
}

// As in ninja: -k N stops after N failed steps, 0 never; a number after -k
// is its count, never the workspace.
TEST(Session, KeepGoingTakesACountAndDryRunIsAFlag) {
    std::string error;
    auto o = ParseHostOptions({"-k", "0"}, false, error);
    EXPECT_FALSE(o) << "0 is the count, so no workspace was given";
    EXPECT_EQ(error, "no workspace given and no *.qws file here");
    o = ParseHostOptions({"w.qws", "-k", "0", "-n"}, false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->workspace, "w.qws");
    EXPECT_TRUE(o->keepGoing);
    EXPECT_EQ(o->failureLimit, 0u);
    EXPECT_TRUE(o->dryRun);
    o = ParseHostOptions({"-k3", "w.qws"}, false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->failureLimit, 3u);
    EXPECT_FALSE(o->dryRun);
    o = ParseHostOptions({"-k", "12", "w.qws"}, false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->failureLimit, 12u);
    EXPECT_EQ(o->workspace, "w.qws");
    o = ParseHostOptions({"w.qws", "-k"}, false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_TRUE(o->keepGoing);
    EXPECT_EQ(o->failureLimit, 0u);
    EXPECT_FALSE(ParseHostOptions({"w.qws", "-kx"}, false, error));
    EXPECT_NE(error.find("-k needs a number"), std::string::npos) << error;
    o = ParseHostOptions({"w.qws"}, false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_FALSE(o->keepGoing);
}

// The launcher as words, one per --launcher, as they are: no shell splits
// or expands them. A quote could not be handed on, so it is refused.
TEST(Session, TheLauncherIsGivenWordByWord) {
    std::string error;
    auto o = ParseHostOptions({"w.qws", "--launcher", "ccache", "--launcher", "-d", "--launcher",
                               "/my cache/$HOME", "--wait"},
                              false, error);
    ASSERT_TRUE(o) << error;
    EXPECT_EQ(o->launcher, (std::vector<std::string>{"ccache", "-d", "/my cache/$HOME"}));
    EXPECT_TRUE(o->wait);
    EXPECT_FALSE(ParseHostOptions({"w.qws", "--launcher", ""}, false, error));
    EXPECT_FALSE(ParseHostOptions({"w.qws", "--launcher", "say\"hi\""}, false, error));
    EXPECT_NE(error.find("double quote"), std::string::npos) << error;
}

// -j above the core count only with a launcher, which may spread the work.
TEST(Session, JobsAboveTheCoresOnlyWithALauncher) {
    testing_support::TempDir temp("session_jobs");
    auto dir = temp.Root();
    std::ofstream(dir / "w.qws") << R"({"projects": [{"name": "p", "dir": "."}]})";
    std::string ws = (dir / "w.qws").string();
    size_t cores = std::max<size_t>(1, std::thread::hardware_concurrency());
    std::string error, note;
    auto many = ParseHostOptions({ws, "-j", std::to_string(cores + 7)}, false, error);
    ASSERT_TRUE(many) << error;
    auto plain = Session::Open(*many, "", error);
    ASSERT_TRUE(plain) << error;
    EXPECT_EQ(plain->Jobs(&note), cores);
    EXPECT_NE(note.find("launcher"), std::string::npos);
    many->launcher = {"distcc"};
    auto launched = Session::Open(*many, "", error);
    ASSERT_TRUE(launched) << error;
    note.clear();
    EXPECT_EQ(launched->Jobs(&note), cores + 7);
    EXPECT_TRUE(note.empty());
    EXPECT_EQ(launched->Launcher(), std::vector<std::string>{"distcc"});
    auto none = ParseHostOptions({ws}, false, error);
    EXPECT_EQ(Session::Open(*none, "", error)->Jobs(nullptr), cores);
}

} // namespace
} // namespace quorle::host
