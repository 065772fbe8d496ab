#include <gtest/gtest.h>

#include "models/cpu_tab_rules.h"

namespace quorle::models {
namespace {

using toolchain::kPelkaInt32Pos;
using toolchain::kPelkaNormalPos;
using toolchain::kZentaCpuSelectPos;
using toolchain::kZentaNoFpuPos;

struct Answers {
    bool ok = true;
    int asked = 0;
    ConfirmOkCancel Fn() {
        return [this](const std::string&) {
            ++asked;
            return ok;
        };
    }
};

TEST(CpuTabRules, DifferentCpuTypesShowNoSelectionAndApplyingChangesNothing) {
    CCompilerModel a("C source file", "[S|CPUTYPE|CV2] [B|MRELAX|1]");
    CCompilerModel b("C source file", "[S|CPUTYPE|CV3] [B|MRELAX|1]");
    CpuTabModels models{{&a, &b}, {}, {}, {}};
    CpuTabState state = InitialCpuTabState(100, models);
    EXPECT_EQ(state.cpuPos, -1);
    EXPECT_EQ(state.checks[1], CheckState::Checked);
    EXPECT_EQ(state.checks[0], CheckState::Clear);

    Answers answers;
    CpuApplyResult r = ApplyCpuTab(100, state, models, answers.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Applied);
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(answers.asked, 0);
    EXPECT_EQ(a.m_cpu.m_nCpuType, 1);
    EXPECT_EQ(b.m_cpu.m_nCpuType, 7);
}

TEST(CpuTabRules, ChangingTheCpuAsksAndCancelLeavesEveryModel) {
    CCompilerModel c("C source file", "[S|CPUTYPE|CV2]");
    CAssemblerModel a("[S|CPUTYPE|CV2]");
    CGeneratorModel g("[S|CPUTYPE|CV2]");
    CpuOptions linker;
    CpuTabModels models{{&c}, {&a}, {&linker}, {&g}};
    CpuTabState state = InitialCpuTabState(100, models);
    state.cpuPos = 9;
    state.byteOrderPos = 1;
    state.checks[4] = CheckState::Checked;

    const CCompilerModel c0 = c;
    const CAssemblerModel a0 = a;
    const CGeneratorModel g0 = g;
    Answers cancel{false};
    CpuApplyResult r = ApplyCpuTab(100, state, models, cancel.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Cancelled);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], kCpuChangeWarning);
    EXPECT_EQ(c, c0);
    EXPECT_EQ(a, a0);
    EXPECT_EQ(g, g0);

    Answers ok;
    r = ApplyCpuTab(100, state, models, ok.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Applied);
    for (const CpuOptions* cpu : {&c.m_cpu, &g.m_cpu, &linker}) {
        EXPECT_EQ(cpu->m_nFamilyCode, 100);
        EXPECT_EQ(cpu->m_nCpuType, 9);
        EXPECT_EQ(cpu->m_nEndian, 1);
        EXPECT_TRUE(cpu->m_aFamilyFlags[4]);
    }
    EXPECT_EQ(a.m_nCpuType, 9);
    EXPECT_EQ(a.m_nEndian, 1);
    EXPECT_TRUE(a.m_aTargetFlags[4]);
    EXPECT_NE(c.Write().find("[S|CPUTYPE|CV4] [S|ENDIAN|LITTLE] [B|MIEEE|1]"), std::string::npos);
}

TEST(CpuTabRules, ZentaSecondRowChecksNoFpuAndClearsTheAdditionalCpu) {
    CpuTabState state;
    state.checks[kZentaCpuSelectPos] = CheckState::Checked;
    state.checks[kZentaNoFpuPos] = CheckState::Clear;
    CpuTabEnabled enabled = ApplyCpuChoiceRules(104, {1}, state);
    EXPECT_EQ(state.checks[kZentaNoFpuPos], CheckState::Checked);
    EXPECT_FALSE(enabled.checks[kZentaNoFpuPos]);
    EXPECT_EQ(state.checks[kZentaCpuSelectPos], CheckState::Clear);
    EXPECT_FALSE(enabled.checks[kZentaCpuSelectPos]);
    EXPECT_TRUE(enabled.byteOrder);
    EXPECT_TRUE(enabled.checks[3]);
}

TEST(CpuTabRules, PelkaNormalModeAndInt32ExcludeEachOther) {
    CpuTabState state;
    state.checks[kPelkaInt32Pos] = CheckState::Checked;
    state.checks[kPelkaNormalPos] = CheckState::Clear;
    CpuTabEnabled enabled = ApplyCpuChoiceRules(101, {2}, state);
    EXPECT_FALSE(enabled.checks[kPelkaNormalPos]);
    EXPECT_TRUE(enabled.checks[kPelkaInt32Pos]);
    EXPECT_FALSE(enabled.byteOrder);
    EXPECT_EQ(state.byteOrderPos, 0);

    state.checks[kPelkaInt32Pos] = CheckState::Clear;
    enabled = OnCpuCheckChanged(101, kPelkaInt32Pos, state, enabled);
    EXPECT_TRUE(enabled.checks[kPelkaNormalPos]);

    // The first row clears and disables both.
    state.checks[kPelkaNormalPos] = CheckState::Checked;
    enabled = ApplyCpuChoiceRules(101, {0}, state);
    EXPECT_EQ(state.checks[kPelkaNormalPos], CheckState::Clear);
    EXPECT_EQ(state.checks[kPelkaInt32Pos], CheckState::Clear);
    EXPECT_FALSE(enabled.checks[kPelkaNormalPos]);
    EXPECT_FALSE(enabled.checks[kPelkaInt32Pos]);
}

TEST(CpuTabRules, ByteOrderFixedUnlessSomeRowAllowsAChoice) {
    CpuTabState state;
    EXPECT_FALSE(ApplyCpuChoiceRules(102, {0}, state).byteOrder);
    EXPECT_EQ(state.byteOrderPos, 1);
    state.byteOrderPos = -1;
    EXPECT_TRUE(ApplyCpuChoiceRules(100, {0, 1}, state).byteOrder);
    EXPECT_EQ(state.byteOrderPos, -1);
    EXPECT_FALSE(ApplyCpuChoiceRules(100, {0, 2}, state).byteOrder);
    EXPECT_EQ(state.byteOrderPos, 0);
}

TEST(CpuTabRules, PelkaNormalModeChangeWarns) {
    CCompilerModel c("C source file", "[S|CPUTYPE|PK2]");
    CpuTabModels models{{&c}, {}, {}, {}};
    CpuTabState state = InitialCpuTabState(101, models);
    EXPECT_EQ(state.cpuPos, 1);
    Answers ok;
    EXPECT_TRUE(ApplyCpuTab(101, state, models, ok.Fn()).messages.empty());
    state.checks[kPelkaNormalPos] = CheckState::Checked;
    CpuApplyResult r = ApplyCpuTab(101, state, models, ok.Fn());
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(c.m_cpu.m_aFamilyFlags[kPelkaNormalPos]);
}

TEST(CpuTabRules, ZentaFastInterruptForcesLibraryBuild) {
    CCompilerModel c("C source file", "[S|CPUTYPE|ZN600]");
    CGeneratorModel off("[B|DOPROJBUILT|0]");
    CGeneratorModel on("");
    CpuTabModels models{{&c}, {}, {}, {&off, &on}};
    CpuTabState state = InitialCpuTabState(104, models);
    state.intRegPos = 2;
    Answers ok;
    CpuApplyResult r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Applied);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], kFastInterruptNotice);
    for (const CGeneratorModel* g : {&off, &on}) {
        EXPECT_EQ(g->m_nBuild, 1);
        EXPECT_EQ(g->m_nNoPrebuilt, 1);
    }
    EXPECT_EQ(c.m_cpu.m_nIntRegisters, 2);

    // Without reserved registers the flag is cleared again, silently.
    state.intRegPos = 5;
    r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(on.m_nNoPrebuilt, 0);
}

TEST(CpuTabRules, ZentaSmallDataTextMustBeDecimal) {
    CCompilerModel c("C source file", "[S|CPUTYPE|ZN600]");
    CpuTabModels models{{&c}, {}, {}, {}};
    CpuTabState state = InitialCpuTabState(104, models);
    state.smallDataBox = CheckState::Checked;
    state.smallDataText = "0x10";
    Answers ok;
    CpuApplyResult r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Stopped);
    EXPECT_EQ(r.messages.back(), kSmallDataDecimalMessage);
    EXPECT_FALSE(c.m_cpu.m_bSmallDataEnabled);

    state.smallDataText = "16";
    r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Applied);
    EXPECT_TRUE(c.m_cpu.m_bSmallDataEnabled);
    EXPECT_EQ(c.m_cpu.m_nSmallDataLimit, 16);
}

} // namespace
} // namespace quorle::models
