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
    CompilerModel a("C source file", "[S|CPUTYPE|CV2] [B|MRELAX|1]");
    CompilerModel b("C source file", "[S|CPUTYPE|CV3] [B|MRELAX|1]");
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
    EXPECT_EQ(a.cpu_.cpuType_, 1);
    EXPECT_EQ(b.cpu_.cpuType_, 7);
}

TEST(CpuTabRules, ChangingTheCpuAsksAndCancelLeavesEveryModel) {
    CompilerModel c("C source file", "[S|CPUTYPE|CV2]");
    AssemblerModel a("[S|CPUTYPE|CV2]");
    GeneratorModel g("[S|CPUTYPE|CV2]");
    CpuOptions linker;
    CpuTabModels models{{&c}, {&a}, {&linker}, {&g}};
    CpuTabState state = InitialCpuTabState(100, models);
    state.cpuPos = 9;
    state.byteOrderPos = 1;
    state.checks[4] = CheckState::Checked;

    const CompilerModel c0 = c;
    const AssemblerModel a0 = a;
    const GeneratorModel g0 = g;
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
    for (const CpuOptions* cpu : {&c.cpu_, &g.cpu_, &linker}) {
        EXPECT_EQ(cpu->familyCode_, 100);
        EXPECT_EQ(cpu->cpuType_, 9);
        EXPECT_EQ(cpu->endian_, 1);
        EXPECT_TRUE(cpu->familyFlags_[4]);
    }
    EXPECT_EQ(a.cpuType_, 9);
    EXPECT_EQ(a.endian_, 1);
    EXPECT_TRUE(a.targetFlags_[4]);
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
    CompilerModel c("C source file", "[S|CPUTYPE|PK2]");
    CpuTabModels models{{&c}, {}, {}, {}};
    CpuTabState state = InitialCpuTabState(101, models);
    EXPECT_EQ(state.cpuPos, 1);
    Answers ok;
    EXPECT_TRUE(ApplyCpuTab(101, state, models, ok.Fn()).messages.empty());
    state.checks[kPelkaNormalPos] = CheckState::Checked;
    CpuApplyResult r = ApplyCpuTab(101, state, models, ok.Fn());
    EXPECT_EQ(r.messages.size(), 1u);
    EXPECT_TRUE(c.cpu_.familyFlags_[kPelkaNormalPos]);
}

TEST(CpuTabRules, ZentaFastInterruptForcesLibraryBuild) {
    CompilerModel c("C source file", "[S|CPUTYPE|ZN600]");
    GeneratorModel off("[B|DOPROJBUILT|0]");
    GeneratorModel on("");
    CpuTabModels models{{&c}, {}, {}, {&off, &on}};
    CpuTabState state = InitialCpuTabState(104, models);
    state.intRegPos = 2;
    Answers ok;
    CpuApplyResult r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Applied);
    ASSERT_EQ(r.messages.size(), 1u);
    EXPECT_EQ(r.messages[0], kFastInterruptNotice);
    for (const GeneratorModel* g : {&off, &on}) {
        EXPECT_EQ(g->build_, 1);
        EXPECT_EQ(g->noPrebuilt_, 1);
    }
    EXPECT_EQ(c.cpu_.intRegisters_, 2);

    // Without reserved registers the flag is cleared again, silently.
    state.intRegPos = 5;
    r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_TRUE(r.messages.empty());
    EXPECT_EQ(on.noPrebuilt_, 0);
}

TEST(CpuTabRules, ZentaSmallDataTextMustBeDecimal) {
    CompilerModel c("C source file", "[S|CPUTYPE|ZN600]");
    CpuTabModels models{{&c}, {}, {}, {}};
    CpuTabState state = InitialCpuTabState(104, models);
    state.smallDataBox = CheckState::Checked;
    state.smallDataText = "0x10";
    Answers ok;
    CpuApplyResult r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Stopped);
    EXPECT_EQ(r.messages.back(), kSmallDataDecimalMessage);
    EXPECT_FALSE(c.cpu_.smallDataEnabled_);

    state.smallDataText = "16";
    r = ApplyCpuTab(104, state, models, ok.Fn());
    EXPECT_EQ(r.outcome, CpuApplyOutcome::Applied);
    EXPECT_TRUE(c.cpu_.smallDataEnabled_);
    EXPECT_EQ(c.cpu_.smallDataLimit_, 16);
}

} // namespace
} // namespace quorle::models
