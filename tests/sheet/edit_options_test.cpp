// EditOptions driven by scripts, as a host calls it.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <future>
#include <iterator>

#include "core/default_options.h"
#include "core/phase.h"
#include "models/compiler_model.h"
#include "script_run.h"
#include "sheet/edit_options.h"
#include "sheet/option_set.h"
#include "sheet/script.h"
#include "support/temp_dir.h"

using namespace quorle;
using namespace quorle::sheet_test;

namespace {

const std::string kPlain = "[V|VERSION|2]";

std::vector<PhaseInput> Demo(std::vector<std::string> compilerInputs = {kPlain, kPlain}) {
    return {
        {"GNU Compiler",
         std::move(compilerInputs),
         {{"demo",
           {"Debug", "Release"},
           {{"main.c", "C source file", {0, 0}}, {"util.c", "C source file", {1, 1}}}}}},
        {"GNU Assembler",
         {kPlain},
         {{"demo", {"Debug", "Release"}, {{"start.s", "Assembly source file", {0, 0}}}}}},
        {"OptLinker", {kPlain}, {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
        {"Debug", {kPlain}, {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
    };
}

} // namespace

TEST(EditOptionsScript, AnEditReachesTheSelectionAndEqualResultsAreWrittenOnce) {
    const std::string lto = [] {
        auto m = models::CompilerModel::FromOptions(kPlain);
        m.lto_ = 1;
        return m.Write();
    }();
    {
        // Both files hold the same string: util.c in Debug alone changes.
        HostRecordsFixture host(Demo());
        testing_support::TempDir workspaceDir("sheet_shared_ws");
        ProjectInfoFixture info(kCorvo, workspaceDir.Path());
        ScriptRun run("sheet_shared");
        ASSERT_EQ(run.Run(host, info.Get(),
                          "select\tGNU Compiler\tdemo\tutil.c\n"
                          "set\tLTO\t1\n"
                          "ok\n"),
                  0);
        EXPECT_EQ(host.Output(0), (std::vector<std::string>{kPlain, kPlain, lto}));
        EXPECT_EQ(host.File(1).slotB[0], 2);
        EXPECT_EQ(host.File(1).slotB[1], 1);
        EXPECT_EQ(host.File(0).slotB[0], 0);
        EXPECT_EQ(host.File(0).slotB[1], 0);
        EXPECT_EQ(run.Log().front(), "title: Dravik GNUCORVO [ELF] Toolchain");
        EXPECT_EQ(run.Log().back(), "result: 0");
    }
    {
        // Every C file in every configuration: one string that all point at.
        HostRecordsFixture host(Demo());
        testing_support::TempDir workspaceDir("sheet_shared_ws");
        ProjectInfoFixture info(kCorvo, workspaceDir.Path());
        ScriptRun run("sheet_shared");
        ASSERT_EQ(run.Run(host, info.Get(),
                          "config\tAll Configurations\n"
                          "select\tCompiler\tdemo\tC source file\n"
                          "set\tLTO\t1\n"
                          "ok\n"),
                  0);
        EXPECT_EQ(host.Output(0), (std::vector<std::string>{lto}));
        for (size_t file : {0u, 1u})
            for (size_t config : {0u, 1u}) EXPECT_EQ(host.File(file).slotB[config], 0);
    }
}

TEST(EditOptionsScript, TabsAndCategoriesInTheTranscript) {
    HostRecordsFixture host(Demo());
    testing_support::TempDir workspaceDir("sheet_tabs_ws");
    ProjectInfoFixture info("Some other toolchain", workspaceDir.Path());
    ScriptRun run("sheet_tabs");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "select\tGNU Compiler\tdemo\tC source file\n"
                      "add\tGNU Assembler\tdemo\n"
                      "tab\tCPU\n"
                      "select\tDebug\tdemo\n"
                      "select\tGNU Compiler\tdemo\tmain.c\n"
                      "add\tGNU Assembler\tdemo\tstart.s\n"
                      "tab\tAssembly\n"
                      "cancel\n"),
              -1);
    std::vector<std::string> log = run.Log();
    ASSERT_GE(log.size(), 8u);
    EXPECT_EQ(log[0], "title: Dravik GNU Toolchain");
    EXPECT_EQ(log[1], "tabs: C/C++|CPU|Simulator|Toolchain Option");
    EXPECT_EQ(log[2], "category: Source");
    EXPECT_EQ(log[3].rfind("preview: ", 0), 0u);
    EXPECT_TRUE(run.Logged("tabs: C/C++|Assembly|CPU|Simulator|Toolchain Option"));
    EXPECT_TRUE(run.Logged("tabs: Warning"));
    EXPECT_TRUE(run.Logged("tabs: C/C++|Assembly|Toolchain Option"));
    EXPECT_TRUE(run.Logged("category: Source"));
    EXPECT_EQ(log.back(), "result: -1");
    EXPECT_FALSE(host.HasOutput(0));
}

TEST(EditOptionsScript, CancelAndTheEndOfTheScriptTouchNothing) {
    for (const std::string& closing : {std::string("cancel\n"), std::string()}) {
        HostRecordsFixture host(Demo());
        testing_support::TempDir workspaceDir("sheet_cancel_ws");
        ProjectInfoFixture info(kCorvo, workspaceDir.Path());
        ScriptRun run("sheet_cancel");
        ASSERT_EQ(run.Run(host, info.Get(),
                          "select\tGNU Compiler\tdemo\tmain.c\nset\tOPTIMIZE\t0\n" + closing),
                  -1);
        for (size_t phase = 0; phase < 4; ++phase) EXPECT_FALSE(host.HasOutput(phase));
        EXPECT_EQ(host.File(0).slotA[0], -7);
        EXPECT_EQ(host.File(0).slotB[0], -7);
        EXPECT_FALSE(std::filesystem::exists(info.SettingsFile()));
    }
}

TEST(EditOptionsScript, AnsweringNoToTheConfirmationWritesNoOptions) {
    HostRecordsFixture host(Demo());
    testing_support::TempDir workspaceDir("sheet_confirm_ws");
    std::string ws = workspaceDir.Path();
    ProjectInfoFixture info(kCorvo, ws);
    platform::WriteFile(info.SettingsFile(), "[Setting]\nToolChain=1\n", true);
    ScriptRun run("sheet_confirm");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "select\tGNU Compiler\tdemo\tmain.c\nset\tOPTIMIZE\t0\nok\n", "NO"),
              0);
    EXPECT_FALSE(host.HasOutput(0));
    EXPECT_EQ(host.File(0).slotB[0], -7);
    std::vector<std::string> messages = run.Messages();
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0], "Message\tAn option was modified.  \\nIs modification enabled?\tNO");

    // Answered Yes, the same edit is handed back.
    HostRecordsFixture again(Demo());
    ScriptRun yes("sheet_confirm_yes");
    ASSERT_EQ(yes.Run(again, info.Get(),
                      "select\tGNU Compiler\tdemo\tmain.c\nset\tOPTIMIZE\t0\nok\n", "YES"),
              0);
    EXPECT_NE(again.NewString(0, 0, 0).find("[B|OPTIMIZE|0]"), std::string::npos);
}

TEST(EditOptionsScript, PreviewOmitsTheOneDefineTheSetsDiffer) {
    HostRecordsFixture host(Demo({"[V|VERSION|2] [S|DEFINES|\"ALPHA=1\"] [B|DEBUG|0]",
                                  "[V|VERSION|2] [S|DEFINES|\"BETA=2\"] [B|DEBUG|0]"}));
    testing_support::TempDir workspaceDir("sheet_preview_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("sheet_preview");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "select\tGNU Compiler\tdemo\tmain.c\n"
                      "add\tGNU Compiler\tdemo\tutil.c\n"
                      "set\tOPTLV\t1\n"
                      "cancel\n"),
              -1);
    std::vector<std::string> previews;
    for (const std::string& line : run.Log())
        if (line.rfind("preview: ", 0) == 0) previews.push_back(line.substr(9));
    ASSERT_EQ(previews.size(), 4u); // select, add, the Optimize page shown by set, set
    EXPECT_NE(previews[0].find("-D ALPHA=1"), std::string::npos);
    for (size_t i = 1; i < 4; ++i) {
        EXPECT_EQ(previews[i].find("ALPHA"), std::string::npos);
        EXPECT_EQ(previews[i].find("BETA"), std::string::npos);
    }
    // Common tokens stay: the optimisation flags follow the new level.
    EXPECT_NE(previews[1].find("-O2"), std::string::npos) << previews[1];
    EXPECT_NE(previews[3].find("-O3"), std::string::npos) << previews[3];
}

TEST(EditOptionsScript, RefusedLinesKeepTheSheetAndErrorsEndIt) {
    HostRecordsFixture host({{"OptLinker", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}}});
    testing_support::TempDir workspaceDir("sheet_refused_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("sheet_refused");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "select\tOptLinker\tdemo\n"
                      "set\tDORELOC\t1\n"
                      "set\tSBYRELOC\tmany\n"
                      "ok\n"
                      "set\tSBYRELOC\t8\n"
                      "ok\n"),
              0);
    EXPECT_TRUE(run.Logged("refused: 4"));
    EXPECT_NE(host.NewString(0, 0, 0).find("[I|SBYRELOC|8]"), std::string::npos);
    ASSERT_EQ(run.Messages().size(), 1u);
    EXPECT_EQ(run.Messages()[0], "WARNING\tPlease enter an integer.\tOK");

    const std::pair<std::string, std::string> failing[] = {
        {"frobnicate\n", "error: 2: unknown command: frobnicate"},
        {"select\tOptLinker\tnobody\n", "error: 2: unknown leaf: OptLinker\tnobody"},
        {"tab\tC/C++\n", "error: 2: unknown tab: C/C++"},
        {"category\tNope\n", "error: 2: unknown category: Nope"},
        {"set\tNOKEY\t1\n", "error: 2: unknown key or label: NOKEY"},
        {"set\tSBYRELOC\t5\n", "error: 2: disabled control: key or label: SBYRELOC"},
        {"set\tMFILEGEN\tmaybe\n", "error: 2: value not allowed for key or label: MFILEGEN"},
    };
    for (const auto& [line, error] : failing) {
        HostRecordsFixture fresh(
            {{"OptLinker", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}}});
        ScriptRun bad("sheet_bad");
        EXPECT_EQ(bad.Run(fresh, info.Get(), "select\tOptLinker\tdemo\n" + line + "ok\n"), 1)
            << line;
        std::vector<std::string> log = bad.Log();
        ASSERT_GE(log.size(), 2u);
        EXPECT_EQ(log[log.size() - 2], error);
        EXPECT_EQ(log.back(), "result: 1");
        EXPECT_FALSE(fresh.HasOutput(0));
    }
}

TEST(EditOptionsScript, DumpAndConfigurations) {
    HostRecordsFixture host(Demo({kPlain, "[V|VERSION|2] [B|DEBUG|0]"}));
    testing_support::TempDir workspaceDir("sheet_config_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path(), "Release");
    ScriptRun run("sheet_config");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "config\tAll Configurations\n"
                      "select\tGNU Compiler\tdemo\tutil.c\n"
                      "set\tLTO\t1\n"
                      "config\tMultiple Configurations...\tDebug\n"
                      "dump\n"
                      "config\tRelease\n"
                      "ok\n"),
              0);
    std::vector<std::string> log = run.Log();
    auto begin = std::find(log.begin(), log.end(), "dump: begin");
    auto end = std::find(log.begin(), log.end(), "dump: end");
    ASSERT_NE(begin, log.end());
    ASSERT_NE(end, log.end());
    EXPECT_EQ(*(begin + 1), "");
    EXPECT_EQ(*(begin + 2), "m_mapSelectOption:");
    // Both configurations of util.c were edited.
    EXPECT_NE(host.NewString(0, 1, 0).find("[B|LTO|1]"), std::string::npos);
    EXPECT_NE(host.NewString(0, 1, 1).find("[B|LTO|1]"), std::string::npos);
    EXPECT_EQ(host.NewString(0, 0, 1).find("[B|LTO|1]"), std::string::npos);

    ScriptRun bad("sheet_config_bad");
    HostRecordsFixture fresh(Demo());
    EXPECT_EQ(bad.Run(fresh, info.Get(), "config\tNightly\nok\n"), 1);
    EXPECT_TRUE(bad.Logged("error: 1: unknown configuration: Nightly"));
}

TEST(EditOptionsScript, SimulatorMemoryResourcesOfTheDebugPhase) {
    HostRecordsFixture host(Demo());
    testing_support::TempDir workspaceDir("sheet_sim_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("sheet_sim");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "select\tOptLinker\tdemo\n"
                      "add\tDebug\tdemo\n"
                      "tab\tSimulator\n"
                      "set\tMemory resource\t0,ffff,ram\t10000,1FFFF,ROM\t0x8000,0x9000,IO\n"
                      "set\tMEMRES\t0,ffff,ram\t0x10000,0x1FFFF,rom\n"
                      "set\tMEMRES\t0,ffff,ram\tbad\n"
                      "ok\n"),
              0);
    EXPECT_TRUE(run.Logged("refused: 4"));
    EXPECT_TRUE(run.Logged("refused: 6"));
    EXPECT_EQ(run.Messages().at(0), "WARNING\tThis memory resource overlaps another one.\tOK");
    std::string debug = host.NewString(3, 4, 0);
    EXPECT_NE(debug.find("[S|MEMRES|\"0,ffff,ram\"|\"0x10000,0x1FFFF,rom\"]"), std::string::npos)
        << debug;
    // The linker's string is left as it was.
    EXPECT_EQ(host.NewString(2, 3, 0), kPlain);
}

TEST(EditOptionsScript, BoundaryFailuresGiveOne) {
    HostRecordsFixture host(Demo());
    testing_support::TempDir workspaceDir("sheet_bound_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    EXPECT_EQ(EditOptions(nullptr, PluginPath().c_str(), info.Get()), 1);
    EXPECT_EQ(EditOptions(host.List(), nullptr, info.Get()), 1);
    EXPECT_EQ(EditOptions(host.List(), PluginPath().c_str(), nullptr), 1);
    info.Get()->size = 48;
    EXPECT_EQ(EditOptions(host.List(), PluginPath().c_str(), info.Get()), 1);
    info.Get()->size = sizeof(QuorleProjectInfo);

    ScriptRun run("sheet_bound");
    // No resource library beside the path.
    std::string elsewhere = (run.Dir() / "Quorle.dll").string();
    EXPECT_EQ(run.Run(host, info.Get(), "ok\n", "", elsewhere), 1);
    EXPECT_EQ(run.Messages().at(0), "ERROR\tCan not load resource dll\tOK");
    // A record of the wrong size: nothing written.
    host.File(1).size = 20;
    EXPECT_EQ(run.Run(host, info.Get(), "ok\n"), 1);
    EXPECT_FALSE(host.HasOutput(0));
    host.File(1).size = sizeof(QuorleFileRecord);
    // An empty record list still opens and closes.
    HostRecordsFixture empty(std::vector<PhaseInput>{});
    EXPECT_EQ(run.Run(empty, info.Get(), "dump\nok\n"), 0);
    // A missing script.
    platform::SetEnv("QUORLE_SHEET_SCRIPT", (run.Dir() / "missing.txt").string());
    platform::SetEnv("QUORLE_MESSAGES", (run.Dir() / "missing_messages.txt").string());
    EXPECT_EQ(EditOptions(host.List(), PluginPath().c_str(), info.Get()), 1);
    platform::UnsetEnv("QUORLE_SHEET_SCRIPT");
    platform::UnsetEnv("QUORLE_MESSAGES");
    EXPECT_NE(testing_support::ReadBytes(run.Dir() / "missing_messages.txt")
                  .find("The options sheet script cannot be read."),
              std::string::npos);
}

// A common-controls library older than 4.71 stops the call before the sheet
// exists: the warning of string 1561, result 1, nothing handed back; the
// boundary is 4.71 itself.
TEST(EditOptionsScript, OldCommonControlsStopTheCall) {
    HostRecordsFixture host(Demo());
    testing_support::TempDir workspaceDir("sheet_comctl_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("sheet_comctl");
    auto previous =
        sheet::SetCommonControlsProbe([]() -> std::optional<platform::CommonControlsVersion> {
            return platform::CommonControlsVersion{4, 70};
        });
    EXPECT_EQ(run.Run(host, info.Get(), "ok\n"), 1);
    EXPECT_FALSE(host.HasOutput(0));
    ASSERT_FALSE(run.Messages().empty());
    EXPECT_EQ(run.Messages().at(0).rfind("WARNING\tThis dialog box cannot be opened.", 0), 0u)
        << run.Messages().at(0);
    EXPECT_TRUE(run.Logged("result: 1"));

    sheet::SetCommonControlsProbe([]() -> std::optional<platform::CommonControlsVersion> {
        return platform::CommonControlsVersion{4, 71};
    });
    EXPECT_EQ(run.Run(host, info.Get(), "ok\n"), 0);
    sheet::SetCommonControlsProbe(previous);
}

// Two records that spell one phase differently are still one phase twice:
// the call is refused before the sheet opens, and nothing is handed back.
TEST(EditOptionsScript, OnePhaseUnderTwoNamesIsRefused) {
    testing_support::TempDir workspaceDir("sheet_twice_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("sheet_twice");
    const ProjectSpec demo{"demo", {"Debug"}, {{"main.c", "C source file", {0}}}};
    for (const auto& [first, second] :
         {std::pair<std::string, std::string>{"Compiler", "GNU Compiler"},
          {"GNU Assembler", "Assembler"},
          {"OptLinker", "GNU Linker"}}) {
        HostRecordsFixture host(
            std::vector<PhaseInput>{{first, {kPlain}, {demo}}, {second, {kPlain}, {demo}}});
        EXPECT_EQ(run.Run(host, info.Get(), "set\tLTO\t1\nok\n"), 1) << first << " " << second;
        EXPECT_FALSE(host.HasOutput(0));
        EXPECT_FALSE(host.HasOutput(1));
        EXPECT_TRUE(run.Logged("error: 0: phase record listed twice: " + second)) << second;
    }
    // Different phases under the same family name still open.
    HostRecordsFixture host(std::vector<PhaseInput>{{"GNU Compiler", {kPlain}, {demo}},
                                                    {"GNU Assembler", {kPlain}, {demo}}});
    EXPECT_EQ(run.Run(host, info.Get(), "ok\n"), 0);
}

#if !defined(_WIN32)
// A FIFO nobody reads, named as the transcript or the message-box log, must
// not hold the call: the transcript is refused with an error box and 1, the
// boxes go to standard error instead.
TEST(EditOptionsScript, AFifoAsTheLogOrTheMessagesDoesNotBlock) {
    HostRecordsFixture host(Demo());
    testing_support::TempDir workspaceDir("sheet_fifo_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    testing_support::TempDir dir("sheet_fifo");
    const std::string fifo = (dir.Root() / "fifo").string();
    if (std::system(("mkfifo '" + fifo + "' 2>/dev/null").c_str()) != 0)
        GTEST_SKIP() << "mkfifo not available";
    const std::string script = (dir.Root() / "script.txt").string();
    const std::string log = (dir.Root() / "log.txt").string();
    const std::string messages = (dir.Root() / "messages.txt").string();
    ASSERT_TRUE(platform::WriteFile(script, "select\tGNU Compiler\tdemo\tmain.c\nok\n", false));

    // Runs EditOptions on a thread; one that blocks is freed by opening the
    // FIFO for reading, and counts as a failure.
    auto runWith = [&](const std::string& logPath, const std::string& messagesPath) {
        platform::SetEnv("QUORLE_SHEET_SCRIPT", script);
        platform::SetEnv("QUORLE_SHEET_LOG", logPath);
        platform::SetEnv("QUORLE_MESSAGES", messagesPath);
        auto call = std::async(std::launch::async, [&] {
            return EditOptions(host.List(), PluginPath().c_str(), info.Get());
        });
        bool blocked = call.wait_for(std::chrono::seconds(20)) != std::future_status::ready;
        // Read until the writer closes, so that it never writes to a pipe
        // without a reader.
        while (call.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
            std::ifstream in(fifo);
            std::string drained{std::istreambuf_iterator<char>(in), {}};
        }
        int result = call.get();
        for (const char* name : {"QUORLE_SHEET_SCRIPT", "QUORLE_SHEET_LOG", "QUORLE_MESSAGES"})
            platform::UnsetEnv(name);
        EXPECT_FALSE(blocked) << "EditOptions waited for a reader of " << fifo;
        return result;
    };

    EXPECT_EQ(runWith(fifo, messages), 1);
    EXPECT_FALSE(host.HasOutput(0));
    std::string boxes = testing_support::ReadBytes(messages);
    EXPECT_NE(boxes.find("ERROR\tThe options editor cannot write its log (QUORLE_SHEET_LOG)"),
              std::string::npos)
        << boxes;

    EXPECT_EQ(runWith(log, fifo), 0);
    EXPECT_TRUE(host.HasOutput(0));
    EXPECT_EQ(Lines(testing_support::ReadBytes(log)).back(), "result: 0");
}
#endif

// The script is read a line at a time, and a line of nothing but tabs cannot
// make millions of fields: it ends the call with an error naming the line.
TEST(EditOptionsScript, ALineWithTooManyFieldsIsAnErrorNotAnAllocation) {
    HostRecordsFixture host(Demo());
    testing_support::TempDir workspaceDir("sheet_tabs_cap_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("sheet_tabs_cap");
    std::string tabs = "set\tLTO" + std::string(sheet::kMaxScriptFields, '\t') + "\n";
    EXPECT_EQ(run.Run(host, info.Get(), "# many tabs\n\n" + tabs + "ok\n"), 1);
    EXPECT_TRUE(run.Logged("error: 3: more than " + std::to_string(sheet::kMaxScriptFields) +
                           " fields on one line"));
    EXPECT_FALSE(host.HasOutput(0));

    const std::string script =
        "a\tb\r\n \t \n#c\td\n\te\nx" + std::string(sheet::kMaxScriptFields - 1, '\t');
    sheet::ScriptReader reader(script);
    sheet::ScriptLine line;
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.number, 1);
    EXPECT_EQ(line.fields, (std::vector<std::string>{"a", "b"}));
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.number, 4);
    EXPECT_EQ(line.fields, (std::vector<std::string>{"", "e"}));
    ASSERT_TRUE(reader.Next(line));
    EXPECT_EQ(line.fields.size(), sheet::kMaxScriptFields);
    EXPECT_FALSE(line.tooManyFields);
    EXPECT_FALSE(reader.Next(line));
}
