// An edit reaches the selected leaves only, though they share a set with
// others: through the core with records built here, and through a script.
#include <gtest/gtest.h>

#include "models/compiler_model.h"
#include "script_run.h"
#include "sheet/write_back.h"
#include "sheet_harness.h"
#include "toolchain/family.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

const std::string kShared = "[V|VERSION|2] [B|DEBUG|1]";

std::string WithLto(const std::string& input) {
    auto model = models::CompilerModel::FromOptions(input);
    model.lto_ = 1;
    return model.Write();
}

PhaseInput Compiler(std::vector<std::string> inputs, std::vector<std::string> configs,
                    std::vector<FileSpec> files) {
    return {"GNU Compiler", std::move(inputs), {{"demo", std::move(configs), std::move(files)}}};
}

} // namespace

TEST(ScopedEdit, OneFileOfTwoSharingAString) {
    SheetHarness h({Compiler({kShared}, {"Debug"},
                             {{"a.c", "C source file", {0}}, {"b.c", "C source file", {0}}})});
    h.Select(h.Node("GNU Compiler", "demo", "b.c"));
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    EXPECT_NE(h.observer.lastPreview.find("-flto"), std::string::npos);
    // a.c shows its own state, and both together show the mixed state.
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    EXPECT_EQ(h.State("LTO").value, Value{"0"});
    EXPECT_EQ(h.observer.lastPreview.find("-flto"), std::string::npos) << h.observer.lastPreview;
    h.Add(h.Node("GNU Compiler", "demo", "b.c"));
    EXPECT_TRUE(h.State("LTO").mixed);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(h.host.Output(0), (std::vector<std::string>{kShared, WithLto(kShared)}));
    EXPECT_EQ(h.host.File(0).slotB[0], 0);
    EXPECT_EQ(h.host.File(1).slotB[0], 1);
}

TEST(ScopedEdit, OneConfigurationOfTwo) {
    SheetHarness h(
        {Compiler({kShared}, {"Debug", "Release"},
                  {{"a.c", "C source file", {0, 0}}, {"b.c", "C source file", {0, 0}}})});
    ASSERT_EQ(h.sheet->ShowConfigurations({"Release"}), CommandResult::Done);
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    // Debug still shows the old value.
    ASSERT_EQ(h.sheet->ShowConfigurations({"Debug"}), CommandResult::Done);
    EXPECT_EQ(h.State("LTO").value, Value{"0"});
    ASSERT_EQ(h.sheet->ShowConfigurations({"All Configurations"}), CommandResult::Done);
    EXPECT_TRUE(h.State("LTO").mixed);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(h.host.NewString(0, 0, 0), kShared);
    EXPECT_EQ(h.host.NewString(0, 0, 1), WithLto(kShared));
    EXPECT_EQ(h.host.NewString(0, 1, 0), kShared);
    EXPECT_EQ(h.host.NewString(0, 1, 1), kShared);
}

TEST(ScopedEdit, AFileTypeLevelReachesEveryFileOfTheTypeOnly) {
    SheetHarness h({Compiler({kShared}, {"Debug", "Release"},
                             {{"a.c", "C source file", {0, 0}},
                              {"b.c", "C source file", {0, 0}},
                              {"r.cpp", "C++ source file", {0, 0}}})});
    h.Select(h.Node("GNU Compiler", "demo", "C source file"));
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    // Both C files in Debug share one new string; the C++ file and Release
    // keep the host's.
    EXPECT_EQ(h.host.Output(0), (std::vector<std::string>{kShared, WithLto(kShared)}));
    EXPECT_EQ(h.host.File(0).slotB[0], 1);
    EXPECT_EQ(h.host.File(1).slotB[0], 1);
    EXPECT_EQ(h.host.File(2).slotB[0], 0);
    for (size_t file = 0; file < 3; ++file) EXPECT_EQ(h.host.File(file).slotB[1], 0) << file;
}

TEST(ScopedEdit, SplitSetsMergeAgain) {
    SheetHarness h(
        {Compiler({kShared}, {"Debug", "Release"},
                  {{"a.c", "C source file", {0, 0}}, {"b.c", "C source file", {0, 0}}})});
    // Each file gets the same change on its own: one string for both.
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    h.Select(h.Node("GNU Compiler", "demo", "b.c"));
    EXPECT_EQ(h.State("LTO").value, Value{"0"});
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    WriteBackPlan plan =
        PlanWriteBack(h.sheet->Records(), h.sheet->Sets(), h.sheet->Tree().Leaves());
    EXPECT_TRUE(plan.changed);
    EXPECT_EQ(plan.merged, 1);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(h.host.Output(0), (std::vector<std::string>{kShared, WithLto(kShared)}));
    EXPECT_EQ(h.host.File(0).slotB[0], 1);
    EXPECT_EQ(h.host.File(1).slotB[0], 1);
    EXPECT_EQ(h.host.File(0).slotB[1], 0); // Release untouched
    EXPECT_EQ(h.host.File(1).slotB[1], 0);
}

TEST(ScopedEdit, AChangeUndoneIsNoChange) {
    // Equivalent bytes at two positions, one set; the confirmation box is on.
    const std::string first = kShared, second = "[V|VERSION|2]  [B|DEBUG|1]";
    SheetHarness h({Compiler({first, second}, {"Debug"},
                             {{"a.c", "C source file", {0}}, {"b.c", "C source file", {1}}})});
    h.Select(h.Node("GNU Compiler", "demo", "b.c"));
    ASSERT_EQ(h.sheet->ActivateTab("Toolchain Option"), CommandResult::Done);
    ASSERT_EQ(
        h.sheet->SetControl("A confirmation message is displayed for the modified option", {"1"}),
        CommandResult::Done);
    ASSERT_EQ(h.sheet->ActivateTab("C/C++"), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("LTO", {"0"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_TRUE(h.messages.shown.empty()) << h.messages.shown.front().text;
    EXPECT_EQ(h.host.Output(0), (std::vector<std::string>{first, second}));
    EXPECT_EQ(h.host.File(1).slotB[0], 1);
}

TEST(ScopedEdit, TheUnchangedFileKeepsItsBytesWhenTheOtherChanges) {
    // Two equivalent strings share one set; only b.c changes.
    const std::string first = kShared, second = "[V|VERSION|2]  [B|DEBUG|1]";
    SheetHarness h({Compiler({first, second}, {"Debug"},
                             {{"a.c", "C source file", {0}}, {"b.c", "C source file", {1}}})});
    ASSERT_EQ(h.sheet->Sets().AtPosition(0, 0), h.sheet->Sets().AtPosition(0, 1));
    h.Select(h.Node("GNU Compiler", "demo", "b.c"));
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    // b.c's place is taken by its new text; a.c's bytes stay.
    EXPECT_EQ(h.host.Output(0), (std::vector<std::string>{first, WithLto(first)}));
    EXPECT_EQ(h.host.File(0).slotB[0], 0);
    EXPECT_EQ(h.host.File(1).slotB[0], 1);
}

TEST(ScopedEdit, ListsAndSectionEditsAreScopedToo) {
    SheetHarness h({Compiler({kShared}, {"Debug"},
                             {{"a.c", "C source file", {0}}, {"led.c", "C source file", {0}}}),
                    {"OptLinker",
                     {""},
                     {{"p", {"Debug"}, {{"p", "", {0}}}}, {"q", {"Debug"}, {{"q", "", {0}}}}}}});
    h.Select(h.Node("GNU Compiler", "demo", "led.c"));
    ASSERT_EQ(h.sheet->EditList("DEFINES", "add", {"LED_FAST=1"}), CommandResult::Done);
    h.Select(h.Node("OptLinker", "q"));
    ASSERT_EQ(h.sheet->SectionCommand({"region", "add", "ram", "0x0", "0xFFFF"}),
              CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(h.host.NewString(0, 0, 0), kShared);
    EXPECT_NE(h.host.NewString(0, 1, 0).find("LED_FAST=1"), std::string::npos);
    EXPECT_EQ(h.host.NewString(1, 2, 0), "");
    models::LinkerModel q(h.host.NewString(1, 3, 0));
    EXPECT_EQ(q.layout_.regions.size(), 1u);
    EXPECT_EQ(h.sheet->Changes(),
              (std::vector<std::string>{"demo Debug Compiler led.c: Macro definitions: (none) -> "
                                        "LED_FAST=1",
                                        "q Debug Linker: Memory region ram: added (0x0-0xFFFF)"}));
}

TEST(ScriptContract, ControlsByAnyKeyTheyWriteAndPhasesByExportNames) {
    SheetHarness h({Compiler({kShared}, {"Debug"}, {{"a.c", "C source file", {0}}}),
                    {"GNU Linker", {""}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}}});
    // The phase names the exports take, and none other.
    auto compiler = h.sheet->Tree().Find("Compiler", "demo", "a.c", true);
    ASSERT_TRUE(compiler.has_value());
    EXPECT_EQ(*compiler, h.Node("GNU Compiler", "demo", "a.c"));
    auto linker = h.sheet->Tree().Find("Linker", "demo", "", false);
    ASSERT_TRUE(linker.has_value());
    EXPECT_EQ(linker->record, 1u);
    EXPECT_FALSE(h.sheet->Tree().Find("Assembler", "demo", "", false).has_value());
    EXPECT_FALSE(h.sheet->Tree().Find("Frobnicator", "demo", "a.c", true).has_value());
    // DEBUG is written by the control keyed DEBUGLV.
    h.Select(*compiler);
    ASSERT_EQ(h.sheet->SetControl("DEBUG", {"0"}), CommandResult::Done);
    EXPECT_EQ(h.sheet->SetControl("NOSUCHKEY", {"0"}), CommandResult::Unknown);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(models::CompilerModel::FromOptions(h.host.NewString(0, 0, 0)).debug_, 0);
}

TEST(ScriptContract, AScriptEditsOneConfigurationOfOneFile) {
    HostRecordsFixture host(
        {Compiler({kShared}, {"Debug", "Release"},
                  {{"a.c", "C source file", {0, 0}}, {"b.c", "C source file", {0, 0}}})});
    testing_support::TempDir workspaceDir("scoped_script_ws");
    ProjectInfoFixture info(kCorvo, workspaceDir.Path());
    ScriptRun run("scoped_script");
    ASSERT_EQ(run.Run(host, info.Get(),
                      "config\tRelease\n"
                      "select\tCompiler\tdemo\tb.c\n"
                      "set\tDEBUG\t0\n"
                      "ok\n"),
              0)
        << testing_support::ReadBytes(run.Dir() / "log.txt");
    auto model = models::CompilerModel::FromOptions(kShared);
    model.debug_ = 0;
    EXPECT_EQ(host.Output(0), (std::vector<std::string>{kShared, model.Write()}));
    EXPECT_EQ(host.NewString(0, 1, 1), model.Write());
    EXPECT_EQ(host.NewString(0, 1, 0), kShared);
    EXPECT_EQ(host.NewString(0, 0, 0), kShared);
    EXPECT_EQ(host.NewString(0, 0, 1), kShared);
}

TEST(ChangeList, OneLinePerChangedOptionOfEachChangedLeaf) {
    SheetHarness h(
        {Compiler({kShared}, {"Debug", "Release"},
                  {{"a.c", "C source file", {0, 0}}, {"b.c", "C source file", {0, 0}}})});
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->SetControl("OPTLV", {"2"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->EditList("DEFINES", "add", {"LED_FAST=1", "X"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("DEBUG", {"0"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    const std::string where = "demo Debug Compiler a.c: ";
    EXPECT_EQ(h.sheet->Changes(),
              (std::vector<std::string>{
                  where + "Macro definitions: (none) -> LED_FAST=1, X",
                  where + "Debug information: Level 3 (-g3) -> None",
                  where + "Optimization level: Speed and size (-O2) -> Size (-Os)",
                  where + "Link-time optimization (-flto): off -> on",
              }));
}

TEST(ChangeList, NothingWhenNothingChanged) {
    SheetHarness h({Compiler({kShared, "[V|VERSION|2]  [B|DEBUG|1]"}, {"Debug"},
                             {{"a.c", "C source file", {0}}, {"b.c", "C source file", {1}}})});
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("LTO", {"0"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_TRUE(h.sheet->Changes().empty()) << h.sheet->Changes().front();
}

TEST(ScopedEdit, ThroughEditOptionsSplitSetsMergeAgainAndATypeLevelReachesItsFilesOnly) {
    const std::vector<FileSpec> files = {{"a.c", "C source file", {0, 0}},
                                         {"b.c", "C source file", {0, 0}},
                                         {"r.cpp", "C++ source file", {0, 0}}};
    const std::vector<std::pair<std::string, size_t>> cases = {
        // Each C file on its own gets the same change in Debug.
        {"select\tCompiler\tdemo\ta.c\nset\tLTO\t1\n"
         "select\tCompiler\tdemo\tb.c\nset\tLTO\t1\nok\n",
         0},
        // The C file type in Release.
        {"config\tRelease\nselect\tCompiler\tdemo\tC source file\nset\tLTO\t1\nok\n", 1},
    };
    for (const auto& [script, config] : cases) {
        HostRecordsFixture host({Compiler({kShared}, {"Debug", "Release"}, files)});
        testing_support::TempDir workspaceDir("scoped_export_ws");
        ProjectInfoFixture info(kCorvo, workspaceDir.Path());
        ScriptRun run("scoped_export");
        ASSERT_EQ(run.Run(host, info.Get(), script), 0) << script;
        EXPECT_EQ(host.Output(0), (std::vector<std::string>{kShared, WithLto(kShared)})) << script;
        for (size_t file = 0; file < 3; ++file) {
            for (size_t c = 0; c < 2; ++c) {
                const bool changed = file < 2 && c == config;
                EXPECT_EQ(host.File(file).slotB[c], changed ? 1 : 0) << script << file << c;
            }
        }
    }
}
