// The CPU tab over compiler, assembler, linker and library generator models.
#include <gtest/gtest.h>

#include "models/compiler_model.h"
#include "models/cpu_tab_rules.h"
#include "models/generator_model.h"
#include "models/linker_model.h"
#include "sheet/page_cpu.h"
#include "sheet_harness.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

std::vector<PhaseInput> Project(const std::string& compiler, const std::string& linker,
                                const std::string& generator) {
    return {{"Compiler",
             {compiler, "[V|VERSION|2] [S|CPUTYPE|CV1]"},
             {{"demo", {"Debug"}, {{"a.c", "C source file", {0}}, {"b.c", "C source file", {1}}}}}},
            {"OptLinker", {linker}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}},
            {"Generator", {generator}, {{"demo", {"Debug"}, {{"demo", "", {0}}}}}}};
}

models::ModelBase* ModelAt(SheetHarness& h, size_t record, int position) {
    return h.sheet->Sets().AtPosition(record, position)->model.get();
}

} // namespace

TEST(CpuPage, MixedTypesShowNoSelectionAndAnUntouchedTabWritesNothing) {
    SheetHarness h(Project("[V|VERSION|2] [S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]", "[V|VERSION|2]",
                           "[V|VERSION|2]"));
    h.Select(h.Node("Compiler", "demo"));
    ASSERT_EQ(h.sheet->ActivateTab("CPU"), CommandResult::Done);
    EXPECT_TRUE(h.State("CPUTYPE").mixed);
    EXPECT_EQ(h.State("CPUTYPE").value, Value{""});
    const std::string before = ModelAt(h, 0, 0)->Write();
    ASSERT_EQ(h.sheet->ActivateTab("C/C++"), CommandResult::Done);
    EXPECT_TRUE(h.messages.shown.empty());
    EXPECT_EQ(ModelAt(h, 0, 0)->Write(), before);
}

TEST(CpuPage, ChangingTheTypeAsksAndAppliesToTheLinkerToo) {
    SheetHarness h(Project("[V|VERSION|2] [S|CPUTYPE|CV2]", "[V|VERSION|2] [S|CPUTYPE|CV2]",
                           "[V|VERSION|2] [S|CPUTYPE|CV2]"));
    h.Select(h.Node("Compiler", "demo"));
    h.Add(h.Node("OptLinker", "demo"));
    h.Add(h.Node("Generator", "demo"));
    ASSERT_EQ(h.sheet->ActivateTab("CPU"), CommandResult::Done);
    EXPECT_EQ(h.sheet->ActivePage()->Controls()[CPageCpu::kCpuType].values.size(), 18u);
    // CV3 lets the user choose the byte order; CV1 does not.
    ASSERT_EQ(h.sheet->SetControl("CPUTYPE", {"CV1"}), CommandResult::Done);
    EXPECT_FALSE(h.State("ENDIAN").enabled);
    EXPECT_EQ(h.sheet->SetControl("ENDIAN", {"LITTLE"}), CommandResult::Disabled);
    ASSERT_EQ(h.sheet->SetControl("CPU type", {"CV3"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("Byte order", {"LITTLE"}), CommandResult::Done);
    // Cancel on the warning keeps the tab and every model.
    h.messages.answers.push_back(platform::MessageAnswer::Cancel);
    EXPECT_EQ(h.sheet->ActivateTab("C/C++"), CommandResult::Refused);
    EXPECT_EQ(h.messages.shown.back().text, models::kCpuChangeWarning);
    EXPECT_EQ(h.sheet->ActivePage()->ClassName(), "CTabCpu");
    auto* compiler = As<models::CompilerModel>(ModelAt(h, 0, 0));
    EXPECT_EQ(compiler->cpu_.cpuType_, 1);
    // OK applies it to the compilers, the linker and the generator.
    ASSERT_EQ(h.sheet->Ok(), 0);
    for (size_t file : {0u, 1u})
        EXPECT_NE(h.host.NewString(0, file, 0).find("[S|CPUTYPE|CV3]"), std::string::npos);
    std::string linker = h.host.NewString(1, 2, 0);
    EXPECT_NE(linker.find("[S|CPUTYPE|CV3]"), std::string::npos) << linker;
    EXPECT_NE(linker.find("[S|ENDIAN|LITTLE]"), std::string::npos) << linker;
    EXPECT_NE(h.host.NewString(2, 3, 0).find("[S|CPUTYPE|CV3]"), std::string::npos);
}

TEST(CpuPage, ZentaSmallDataLimitMustBeDecimal) {
    SheetHarness h(Project("[V|VERSION|2] [S|CPUTYPE|ZN200]", "[V|VERSION|2]",
                           "[V|VERSION|2] [S|CPUTYPE|ZN200]"),
                   "Dravik GNUZENTA [ELF]", "sheet_cpu_zenta");
    h.Select(h.Node("Compiler", "demo", "a.c"));
    h.Add(h.Node("Generator", "demo"));
    ASSERT_EQ(h.sheet->ActivateTab("CPU"), CommandResult::Done);
    // The second Zenta row checks -nofpu and keeps it so.
    EXPECT_FALSE(h.sheet->ActivePage()->States()[CPageCpu::kFirstFlag + 1].enabled);
    EXPECT_EQ(h.sheet->ActivePage()->States()[CPageCpu::kFirstFlag + 1].value, Value{"1"});
    EXPECT_TRUE(h.State("RMINTREGVAL").enabled);
    ASSERT_EQ(h.sheet->SetControl("Max variable size in small data area", {"1"}),
              CommandResult::Done);
    ASSERT_EQ(h.sheet->SetControl("RMMAXVARSVAL", {"0x10"}), CommandResult::Done);
    EXPECT_FALSE(h.sheet->Ok().has_value());
    EXPECT_EQ(h.messages.shown.back().text, models::kSmallDataDecimalMessage);
    ASSERT_EQ(h.sheet->SetControl("RMMAXVARSVAL", {"16"}), CommandResult::Done);
    ASSERT_EQ(h.sheet->Ok(), 0);
    std::string compiler = h.host.NewString(0, 0, 0);
    EXPECT_NE(compiler.find("[I|RMMAXVARSVAL|16]"), std::string::npos) << compiler;
    // Reserving the small data area asks for a library built by the generator.
    auto* generator = As<models::GeneratorModel>(h.sheet->Sets().AtPosition(2, 0)->model.get());
    EXPECT_EQ(generator->noPrebuilt_, 1);
}

TEST(CpuPage, NoFamilyGivesAnEmptyList) {
    SheetHarness h(Project("[V|VERSION|2]", "[V|VERSION|2]", "[V|VERSION|2]"), "Nobody's toolchain",
                   "sheet_cpu_none");
    h.Select(h.Node("Compiler", "demo"));
    ASSERT_EQ(h.sheet->ActivateTab("CPU"), CommandResult::Done);
    EXPECT_TRUE(h.sheet->ActivePage()->Controls()[CPageCpu::kCpuType].values.empty());
    EXPECT_FALSE(h.State("CPUTYPE").enabled);
    EXPECT_EQ(h.sheet->SetControl("CPUTYPE", {"CV1"}), CommandResult::Disabled);
}
