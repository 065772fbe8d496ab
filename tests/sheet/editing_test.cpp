// The page engine, the pages built on it, the preview and OK, on the core.
#include <gtest/gtest.h>

#include "models/compiler_model.h"
#include "models/linker_model.h"
#include "sheet/preview.h"
#include "sheet/write_back.h"
#include "sheet_harness.h"
#include "toolchain/family.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

const std::string kPlain = "[V|VERSION|2]";

std::vector<PhaseInput> Compiler(std::vector<std::string> inputs, std::vector<FileSpec> files) {
    return {
        {"GNU Compiler", std::move(inputs), {{"demo", {"Debug", "Release"}, std::move(files)}}}};
}

std::vector<PhaseInput> ThreeFiles(const std::string& a, const std::string& b) {
    return Compiler({a, b}, {{"a.c", "C source file", {0, 0}},
                             {"b.c", "C source file", {1, 1}},
                             {"c.c", "C source file", {1, 0}}});
}

// The text a compiler string has after `edit`.
template <class Edit> std::string CompilerAfter(const std::string& input, Edit edit) {
    auto model = models::CompilerModel::FromOptions(input);
    edit(model);
    return model.Write();
}

std::string Compiled(const std::string& input) {
    return CompilerAfter(input, [](models::CompilerModel&) {});
}

template <class Edit> std::string LinkerAfter(const std::string& input, Edit edit) {
    models::LinkerModel model(input);
    edit(model);
    return model.Write();
}

} // namespace

TEST(PageEngine, MixedStateAndOnlyTouchedControlsWritten) {
    // a.c optimises at level 1, b.c at level 3; both have LTO off.
    SheetHarness h(ThreeFiles("[V|VERSION|2] [I|OPTLV|1]", "[V|VERSION|2] [I|OPTLV|3]"));
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    h.Add(h.Node("GNU Compiler", "demo", "b.c"));
    ASSERT_EQ(h.sheet->ShowCategory("Optimize"), CommandResult::Done);
    EXPECT_TRUE(h.State("OPTLV").mixed);
    EXPECT_FALSE(h.State("OPTIMIZE").mixed);
    EXPECT_EQ(h.State("OPTIMIZE").value, Value{"1"});
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    // Both got LTO and kept their own levels.
    auto lto = [](models::CompilerModel& m) { m.lto_ = 1; };
    EXPECT_EQ(h.host.NewString(0, 0, 0), CompilerAfter("[V|VERSION|2] [I|OPTLV|1]", lto));
    EXPECT_EQ(h.host.NewString(0, 1, 0), CompilerAfter("[V|VERSION|2] [I|OPTLV|3]", lto));
    EXPECT_NE(h.host.NewString(0, 0, 0), h.host.NewString(0, 1, 0));
}

TEST(PageEngine, EnablingRulesAndValueChecks) {
    SheetHarness h(ThreeFiles("[V|VERSION|2] [B|OPTIMIZE|0]", kPlain));
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->ShowCategory("Optimize"), CommandResult::Done);
    EXPECT_FALSE(h.State("LTO").enabled);
    EXPECT_EQ(h.sheet->SetControl("Link-time optimization", {"1"}), CommandResult::Disabled);
    EXPECT_EQ(h.sheet->SetControl("OPTIMIZE", {"yes"}), CommandResult::BadValue);
    EXPECT_EQ(h.sheet->SetControl("NOSUCHKEY", {"1"}), CommandResult::Unknown);
    ASSERT_EQ(h.sheet->SetControl("Optimization level", {"1"}), CommandResult::Disabled);
    ASSERT_EQ(h.sheet->SetControl("OPTIMIZE", {"1"}), CommandResult::Done);
    EXPECT_TRUE(h.State("LTO").enabled);
    EXPECT_EQ(h.sheet->SetControl("OPTLV", {"7"}), CommandResult::BadValue);
    EXPECT_EQ(h.sheet->SetControl("OPTLV", {"1", "2"}), CommandResult::BadValue);
    EXPECT_EQ(h.sheet->SetControl("OPTLV", {"1"}), CommandResult::Done);
    // Untouched models of the phase are not written: b.c keeps its string.
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(h.host.NewString(0, 0, 0), CompilerAfter(kPlain, [](models::CompilerModel& m) {
                  m.optimize_ = 1;
                  m.optLevel_ = 0;
              }));
    EXPECT_EQ(h.host.NewString(0, 1, 0), kPlain); // untouched: the host's own bytes
}

TEST(PageEngine, NumberFieldsRefuseWithTheTableMessages) {
    SheetHarness h(
        {{"OptLinker", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}},
         {"Compiler", {kPlain}, {{"demo", {"Debug"}, {{"a.c", "C source file", {0}}}}}}});
    h.Select(h.Node("OptLinker", "demo", "demo"));
    EXPECT_EQ(h.sheet->SetControl("SBYRELOC", {"12"}), CommandResult::Disabled);
    ASSERT_EQ(h.sheet->SetControl("DORELOC", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("SBYRELOC", {"twelve"}), CommandResult::Done);
    // Leaving the selection asks the page to save; it refuses and stays.
    EXPECT_EQ(h.Select(h.Node("Compiler", "demo", "a.c")), CommandResult::Refused);
    EXPECT_EQ(h.Tabs(), "Link/Library|Toolchain Option");
    ASSERT_FALSE(h.messages.shown.empty());
    EXPECT_EQ(h.messages.shown.back().text, "Please enter an integer.");
    EXPECT_EQ(h.messages.shown.back().caption, "WARNING");
    ASSERT_EQ(h.sheet->SetControl("SBYRELOC", {"70000"}), CommandResult::Done);
    EXPECT_FALSE(h.sheet->Ok().has_value());
    EXPECT_EQ(h.messages.shown.back().text, "Please enter an integer between 0 and 65535.");
    EXPECT_FALSE(h.host.HasOutput(0));
    ASSERT_EQ(h.sheet->SetControl("SBYRELOC", {"12"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(h.host.NewString(0, 0, 0), LinkerAfter(kPlain, [](models::LinkerModel& m) {
                  m.relocSplit_ = true;
                  m.relocCount_ = "12";
              }));
    EXPECT_NE(h.host.NewString(0, 0, 0).find("[I|SBYRELOC|12]"), std::string::npos);
}

TEST(ToolchainOption, ThreeStateBoxesAndTheSettingsValue) {
    SheetHarness h(
        {{"Compiler",
          {kPlain, "[V|VERSION|2] [B|SKIPDEPENDENCY|1]"},
          {{"demo", {"Debug"}, {{"a.c", "C source file", {0}}, {"b.c", "C source file", {1}}}}}},
         {"OptLinker", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}}});
    h.Select(h.Node("Compiler", "demo"));
    h.Add(h.Node("OptLinker", "demo"));
    ASSERT_EQ(h.sheet->ActivateTab("Toolchain Option"), CommandResult::Done);
    EXPECT_TRUE(h.State("SKIPDEPENDENCY").mixed);
    EXPECT_EQ(h.State("SKIPDEPENDENCY").value, Value{"2"});
    EXPECT_TRUE(h.State("DEPENDSCAN").enabled);
    // The hidden boxes are not reachable.
    EXPECT_EQ(h.sheet->SetControl("Options on the CPU tab are set in a project unit", {"1"}),
              CommandResult::Unknown);
    // Third state: nothing written, although the box was touched.
    ASSERT_EQ(h.sheet->SetControl("DEPENDSCAN", {"2"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("SKIPDEPENDENCY", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("Display placeholder as expanding", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    // The set that already skipped is unchanged: its bytes survive the merge.
    const std::string skipping = "[V|VERSION|2] [B|SKIPDEPENDENCY|1]";
    EXPECT_EQ(h.host.NewString(0, 0, 0), skipping);
    EXPECT_EQ(h.host.NewString(0, 1, 0), skipping);
    EXPECT_EQ(h.host.Output(0).size(), 1u); // the two sets merged
    EXPECT_EQ(h.host.NewString(1, 2, 0),
              LinkerAfter(kPlain, [](models::LinkerModel& m) { m.skipDependency_ = true; }));
    EXPECT_EQ(toolchain::ReadToolchainSettings(*h.info.Get()), 2u);
}

TEST(ToolchainOption, DependScanNeedsACompilerModel) {
    SheetHarness h({{"OptLinker", {kPlain}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}}});
    h.Select(h.Node("OptLinker", "demo"));
    ASSERT_EQ(h.sheet->ActivateTab("Toolchain Option"), CommandResult::Done);
    EXPECT_FALSE(h.State("DEPENDSCAN").enabled);
    EXPECT_EQ(h.State("DEPENDSCAN").value, Value{"0"});
    EXPECT_EQ(h.sheet->SetControl("DEPENDSCAN", {"1"}), CommandResult::Disabled);
}

TEST(Preview, CommonTokensOfSetsThatDifferInOneDefine) {
    SheetHarness h(ThreeFiles("[V|VERSION|2] [S|DEFINES|\"ALPHA\"] [B|DEBUG|0]",
                              "[V|VERSION|2] [S|DEFINES|\"BETA\"] [B|DEBUG|0]"));
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    std::string one = h.observer.lastPreview;
    EXPECT_NE(one.find("-D ALPHA"), std::string::npos);
    h.Add(h.Node("GNU Compiler", "demo", "b.c"));
    std::string both = h.observer.lastPreview;
    EXPECT_EQ(both.find("ALPHA"), std::string::npos);
    EXPECT_EQ(both.find("BETA"), std::string::npos);
    // Every other token of the single preview is still there, in order.
    std::vector<std::string> expected;
    for (const std::string& t : CommandTokens(PreviewCommandLine(*h.sheet->SelectedSets()[0], "")))
        if (t.find("ALPHA") == std::string::npos) expected.push_back(t);
    std::string joined;
    for (const auto& t : expected) joined += (joined.empty() ? "" : " ") + t;
    EXPECT_EQ(both, joined);
    EXPECT_FALSE(both.empty());
    EXPECT_EQ(h.sheet->ActivePage()->CommandLine(), both);
}

TEST(Preview, ViewsSeeTheCookedFormOfAnEnabledPhaseOnly) {
    SheetHarness h(ThreeFiles("[V|VERSION|2] [B|DEBUG|0]", kPlain));
    h.sheet->SetCooker([](const std::string& raw) {
        std::string cooked = raw;
        for (size_t at = cooked.find("$("); at != std::string::npos; at = cooked.find("$("))
            cooked.replace(at, 2, "<");
        return cooked;
    });
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    const std::string raw = h.sheet->ActivePage()->CommandLine();
    ASSERT_NE(raw.find("$(CONFIGDIR)"), std::string::npos);
    EXPECT_EQ(h.sheet->DisplayedCommandLine(), raw);
    h.sheet->SetPhaseEnabled(0, true);
    std::string shown = h.sheet->DisplayedCommandLine();
    EXPECT_EQ(shown.find("$("), std::string::npos);
    EXPECT_NE(shown.find("<CONFIGDIR)"), std::string::npos);
    EXPECT_EQ(h.observer.lastPreview, raw); // the transcript keeps the raw text
}

TEST(Preview, TokensKeepQuotedTextTogether) {
    EXPECT_EQ(CommandTokens("-o\n\"a\nb\"\n\n-c\n"),
              (std::vector<std::string>{"-o", "\"a\nb\"", "-c"}));
    EXPECT_EQ(CommonTokens({{"-a", "-b", "-c"}, {"-c", "-a"}, {"-a", "-c", "-d"}}), "-a -c");
    EXPECT_EQ(CommonTokens({}), "");
}

TEST(Preview, LinkerWithAUserSubcommandFile) {
    COptionSet set;
    set.phase = 2;
    auto linker = std::make_unique<models::LinkerModel>();
    linker->subcommand_ = true;
    linker->subcommandFile_ = "$(PROJDIR)\\link.sub";
    set.model = std::move(linker);
    EXPECT_EQ(PreviewCommandLine(set, ""), "@$(PROJDIR)\\link.sub");
}

TEST(WriteBack, AnEditThroughOneLeafLeavesTheOthersOfItsSet) {
    SheetHarness h(ThreeFiles(kPlain, "[V|VERSION|2] [B|DEBUG|0]"));
    // a.c (both configurations) and c.c (Release) share input 0; a.c is
    // edited in Debug, the configuration shown.
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->SetControl("OPTIMIZE", {"0"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    const std::string edited =
        CompilerAfter(kPlain, [](models::CompilerModel& m) { m.optimize_ = 0; });
    EXPECT_EQ(h.host.NewString(0, 0, 0), edited);
    EXPECT_EQ(h.host.NewString(0, 0, 1), kPlain);
    EXPECT_EQ(h.host.NewString(0, 2, 1), kPlain);
    EXPECT_EQ(h.host.Output(0),
              (std::vector<std::string>{kPlain, "[V|VERSION|2] [B|DEBUG|0]", edited}));
    // Slot A holds the same index as slot B.
    EXPECT_EQ(h.host.File(0).slotA[0], h.host.File(0).slotB[0]);
    EXPECT_EQ(h.host.File(2).slotA[1], h.host.File(2).slotB[1]);
}

TEST(WriteBack, MergingFreesPositionsThatChangedSetsFill) {
    auto lto = [](models::ModelBase& m) { As<models::CompilerModel>(&m)->lto_ = 1; };
    const std::string a = Compiled("[V|VERSION|2] [B|LTO|1]"), b = Compiled(kPlain),
                      c = Compiled("[V|VERSION|2] [I|OPTLV|1]");
    SheetHarness h(Compiler({a, b, c, a}, {{"a.c", "C source file", {0, 3}},
                                           {"b.c", "C source file", {1, 1}},
                                           {"c.c", "C source file", {2, 2}}}));
    // In both configurations b.c becomes equal to a.c and merges into it;
    // c.c changes and takes the lowest freed place (b's), and c's old place
    // closes up.
    ASSERT_EQ(h.sheet->ShowConfigurations({"All Configurations"}), CommandResult::Done);
    h.Select(h.Node("GNU Compiler", "demo", "b.c"));
    h.Add(h.Node("GNU Compiler", "demo", "c.c"));
    ASSERT_EQ(h.sheet->SetControl("LTO", {"1"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    models::CompilerModel cModel = models::CompilerModel::FromOptions(c);
    lto(cModel);
    EXPECT_EQ(h.host.Output(0), (std::vector<std::string>{a, cModel.Write(), a}));
    EXPECT_EQ(h.host.File(1).slotB[0], 0); // merged into a.c's set, at its home
    EXPECT_EQ(h.host.File(2).slotB[0], 1);
    // The duplicate input of a.c keeps its own place.
    EXPECT_EQ(h.host.File(0).slotB[0], 0);
    EXPECT_EQ(h.host.File(0).slotB[1], 2);
}

TEST(WriteBack, EquivalentStringsOfOneSetComeBackAsTheyWere) {
    // Two texts that read to one model: one set, yet each file keeps its bytes.
    const std::string first = "[V|VERSION|2] [B|DEBUG|1]", second = "[V|VERSION|2]  [B|DEBUG|1]";
    SheetHarness h(Compiler({first, second}, {{"a.c", "C source file", {0, 1}}}));
    EXPECT_EQ(h.sheet->Sets().AtPosition(0, 0), h.sheet->Sets().AtPosition(0, 1));
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_EQ(h.host.NewString(0, 0, 0), first);
    EXPECT_EQ(h.host.NewString(0, 0, 1), second);
}

TEST(WriteBack, PlanCountsChangesAndMerges) {
    SheetHarness h(ThreeFiles("[V|VERSION|2]  [B|DEBUG|0]", "[V|VERSION|2] [B|DEBUG|1]"));
    // Re-serialising alone (the double blank) is no change, and the host's
    // strings come back as they were.
    WriteBackPlan untouched =
        PlanWriteBack(h.sheet->Records(), h.sheet->Sets(), h.sheet->Tree().Leaves());
    EXPECT_FALSE(untouched.changed);
    EXPECT_EQ(untouched.outputs[0], (std::vector<std::string>{"[V|VERSION|2]  [B|DEBUG|0]",
                                                              "[V|VERSION|2] [B|DEBUG|1]"}));
    // Making one set equal to the other merges them.
    auto* model = As<models::CompilerModel>(h.sheet->Sets().AtPosition(0, 1)->model.get());
    model->debug_ = 0;
    WriteBackPlan merged =
        PlanWriteBack(h.sheet->Records(), h.sheet->Sets(), h.sheet->Tree().Leaves());
    EXPECT_TRUE(merged.changed);
    EXPECT_EQ(merged.merged, 1);
    // The unchanged set survives with the host's bytes.
    EXPECT_EQ(merged.outputs[0], (std::vector<std::string>{"[V|VERSION|2]  [B|DEBUG|0]"}));
    for (const CLeaf& leaf : h.sheet->Tree().Leaves())
        EXPECT_EQ(leaf.set, h.sheet->Sets().AtPosition(0, 0));
}

TEST(WriteBack, ConfirmationAnsweredNoWritesNothing) {
    SheetHarness h(ThreeFiles(kPlain, "[V|VERSION|2] [B|DEBUG|0]"));
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->ActivateTab("Toolchain Option"), CommandResult::Done);
    ASSERT_EQ(
        h.sheet->SetControl("A confirmation message is displayed for the modified option", {"1"}),
        CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("SKIPDEPENDENCY", {"1"}), CommandResult::Done);
    h.messages.answers.push_back(platform::MessageAnswer::No);
    ASSERT_EQ(h.sheet->Ok(), 0);
    ASSERT_EQ(h.messages.shown.size(), 1u);
    EXPECT_EQ(h.messages.shown[0].caption, "Message");
    EXPECT_EQ(h.messages.shown[0].text, "An option was modified.  \nIs modification enabled?");
    EXPECT_FALSE(h.host.HasOutput(0));
    EXPECT_EQ(h.host.File(0).slotB[0], -7);
    // The settings value is still written back.
    EXPECT_EQ(toolchain::ReadToolchainSettings(*h.info.Get()), 1u);
}

TEST(WriteBack, NoQuestionWithoutAChange) {
    SheetHarness h(ThreeFiles(kPlain, "[V|VERSION|2] [B|DEBUG|0]"));
    h.Select(h.Node("GNU Compiler", "demo", "a.c"));
    ASSERT_EQ(h.sheet->ActivateTab("Toolchain Option"), CommandResult::Done);
    ASSERT_EQ(
        h.sheet->SetControl("A confirmation message is displayed for the modified option", {"1"}),
        CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(h.host.Output(0), (std::vector<std::string>{kPlain, "[V|VERSION|2] [B|DEBUG|0]"}));
}
