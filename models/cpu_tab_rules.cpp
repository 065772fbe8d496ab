#include "models/cpu_tab_rules.h"

#include <limits>

#include "options/option_string.h"

namespace quorle::models {

namespace tc = quorle::toolchain;

namespace {

// The assembler keeps the same settings in fields of its own.
CpuOptions FromAssembler(const AssemblerModel& a) {
    CpuOptions cpu;
    cpu.cpuType_ = a.cpuType_;
    cpu.familyCode_ = a.familyCode_;
    cpu.endian_ = a.endian_;
    cpu.familyFlags_ = a.targetFlags_;
    cpu.intRegisters_ = a.intRegVal_;
    cpu.maxConstSize_ = a.maxConstVal_;
    cpu.smallDataEnabled_ = a.maxVarsFlag_ == 1;
    cpu.smallDataLimit_ = a.maxVarsVal_;
    return cpu;
}

void ToAssembler(const CpuOptions& cpu, AssemblerModel& a) {
    a.cpuType_ = cpu.cpuType_;
    a.familyCode_ = cpu.familyCode_;
    a.endian_ = cpu.endian_;
    a.targetFlags_ = cpu.familyFlags_;
    a.intRegVal_ = cpu.intRegisters_;
    a.maxConstVal_ = cpu.maxConstSize_;
    a.maxVarsFlag_ = cpu.smallDataEnabled_ ? 1 : 0;
    a.maxVarsVal_ = cpu.smallDataLimit_;
}

// Every selected model's CPU settings, with a way to store them back.
struct CpuSlot {
    CpuOptions cpu;
    std::function<void(const CpuOptions&)> store;
};

std::vector<CpuSlot> Slots(CpuTabModels& models) {
    std::vector<CpuSlot> slots;
    for (CompilerModel* m : models.compilers)
        slots.push_back({m->cpu_, [m](const CpuOptions& c) { m->cpu_ = c; }});
    for (AssemblerModel* m : models.assemblers)
        slots.push_back({FromAssembler(*m), [m](const CpuOptions& c) { ToAssembler(c, *m); }});
    for (CpuOptions* m : models.linkers)
        slots.push_back({*m, [m](const CpuOptions& c) { *m = c; }});
    for (GeneratorModel* m : models.generators)
        slots.push_back({m->cpu_, [m](const CpuOptions& c) { m->cpu_ = c; }});
    return slots;
}

// The value every element shares, or `mixed`.
template <class T, class Get> T Shared(const std::vector<CpuSlot>& slots, Get get, T mixed) {
    if (slots.empty()) return mixed;
    T first = get(slots.front().cpu);
    for (const CpuSlot& s : slots)
        if (get(s.cpu) != first) return mixed;
    return first;
}

CheckState StateOf(bool on) {
    return on ? CheckState::Checked : CheckState::Clear;
}

bool AllDigits(const std::string& text) {
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

} // namespace

CpuTabState InitialCpuTabState(int familyCode, const CpuTabModels& models) {
    std::vector<CpuSlot> slots = Slots(const_cast<CpuTabModels&>(models));
    CpuTabState state;
    int rows = tc::CpuRowCount(familyCode);
    state.cpuPos = Shared(
        slots,
        [familyCode](const CpuOptions& c) { return c.familyCode_ == familyCode ? c.cpuType_ : -1; },
        -1);
    if (state.cpuPos >= rows) state.cpuPos = -1;
    state.byteOrderPos = Shared(
        slots, [](const CpuOptions& c) { return c.endian_ <= 1 ? c.endian_ : -1; }, -1);
    for (size_t i = 0; i < state.checks.size(); ++i) {
        state.checks[i] = Shared(
            slots, [i](const CpuOptions& c) { return StateOf(c.familyFlags_[i]); },
            CheckState::Mixed);
    }
    if (familyCode == tc::kCodeZenta) {
        state.intRegPos = Shared(
            slots, [](const CpuOptions& c) { return c.intRegisters_; }, -1);
        if (state.intRegPos > tc::kInterruptRegisterDefault) state.intRegPos = -1;
        state.maxConstPos = Shared(
            slots, [](const CpuOptions& c) { return c.maxConstSize_; }, -1);
        if (state.maxConstPos > 3) state.maxConstPos = -1;
        state.smallDataBox = Shared(
            slots, [](const CpuOptions& c) { return StateOf(c.smallDataEnabled_); },
            CheckState::Mixed);
        int limit = Shared(
            slots, [](const CpuOptions& c) { return c.smallDataLimit_; }, -1);
        if (limit >= 0) state.smallDataText = std::to_string(limit);
    }
    return state;
}

CpuTabEnabled ApplyCpuChoiceRules(int familyCode, const std::vector<int>& rows,
                                  CpuTabState& state) {
    CpuTabEnabled enabled;
    bool anyChoice = false;
    for (int row : rows) anyChoice = anyChoice || tc::AllowsByteOrderChoice(familyCode, row);
    enabled.byteOrder = anyChoice;
    if (!anyChoice) {
        // Pelka is big, Tamsin little, Corvo by the row.
        int fixed = tc::FixedByteOrder(familyCode, rows.empty() ? -1 : rows.front());
        if (familyCode == tc::kCodePelka) fixed = tc::kBigEndian;
        state.byteOrderPos = fixed;
    }
    for (int pos = 0; pos < tc::kFamilyFlagCount; ++pos) {
        for (int row : rows) {
            switch (tc::OptionAvailability(familyCode, row, pos)) {
            case tc::Availability::DisabledCleared:
                enabled.checks[static_cast<size_t>(pos)] = false;
                state.checks[static_cast<size_t>(pos)] = CheckState::Clear;
                break;
            case tc::Availability::DisabledChecked:
                enabled.checks[static_cast<size_t>(pos)] = false;
                state.checks[static_cast<size_t>(pos)] = CheckState::Checked;
                break;
            case tc::Availability::Available:
                break;
            }
        }
    }
    if (familyCode == tc::kCodePelka) {
        if (enabled.checks[tc::kPelkaNormalPos])
            enabled = OnCpuCheckChanged(familyCode, tc::kPelkaNormalPos, state, enabled);
        if (enabled.checks[tc::kPelkaInt32Pos])
            enabled = OnCpuCheckChanged(familyCode, tc::kPelkaInt32Pos, state, enabled);
    }
    return enabled;
}

CpuTabEnabled OnCpuCheckChanged(int familyCode, int position, CpuTabState& state,
                                CpuTabEnabled enabled) {
    if (familyCode != tc::kCodePelka) return enabled;
    if (position != tc::kPelkaNormalPos && position != tc::kPelkaInt32Pos) return enabled;
    const size_t self = static_cast<size_t>(position);
    const size_t other = static_cast<size_t>(position == tc::kPelkaNormalPos ? tc::kPelkaInt32Pos
                                                                             : tc::kPelkaNormalPos);
    if (state.checks[self] == CheckState::Checked) {
        state.checks[other] = CheckState::Clear;
        enabled.checks[other] = false;
    } else if (enabled.checks[self]) {
        enabled.checks[other] = true;
    }
    return enabled;
}

CpuApplyResult ApplyCpuTab(int familyCode, const CpuTabState& state, CpuTabModels& models,
                           const ConfirmOkCancel& confirm) {
    CpuApplyResult result;
    const bool zenta = familyCode == tc::kCodeZenta;

    bool warn = false;
    for (const CompilerModel* m : models.compilers) {
        const CpuOptions& c = m->cpu_;
        if (state.cpuPos >= 0 && (state.cpuPos != c.cpuType_ || c.familyCode_ != familyCode))
            warn = true;
        if (familyCode == tc::kCodePelka &&
            state.checks[tc::kPelkaNormalPos] != CheckState::Mixed &&
            (state.checks[tc::kPelkaNormalPos] == CheckState::Checked) !=
                c.familyFlags_[tc::kPelkaNormalPos])
            warn = true;
    }
    if (warn) {
        result.messages.emplace_back(kCpuChangeWarning);
        if (!confirm(kCpuChangeWarning)) {
            result.outcome = CpuApplyOutcome::Cancelled;
            return result;
        }
    }

    if (zenta) {
        bool reserves = (state.intRegPos >= 1 && state.intRegPos <= 4) ||
                        state.smallDataBox == CheckState::Checked;
        bool changedBuild = false;
        for (GeneratorModel* g : models.generators) {
            if (reserves) {
                if (g->build_ != 1) changedBuild = true;
                g->noPrebuilt_ = 1;
                g->build_ = 1;
            } else {
                g->noPrebuilt_ = 0;
            }
        }
        if (changedBuild) result.messages.emplace_back(kFastInterruptNotice);
        if (!AllDigits(state.smallDataText)) {
            result.messages.emplace_back(kSmallDataDecimalMessage);
            result.outcome = CpuApplyOutcome::Stopped;
            return result;
        }
    }

    for (CpuSlot& slot : Slots(models)) {
        CpuOptions& c = slot.cpu;
        if (state.cpuPos >= 0) {
            c.familyCode_ = familyCode;
            c.cpuType_ = state.cpuPos;
        }
        if (state.byteOrderPos >= 0) c.endian_ = state.byteOrderPos;
        for (size_t i = 0; i < state.checks.size(); ++i)
            if (state.checks[i] != CheckState::Mixed)
                c.familyFlags_[i] = state.checks[i] == CheckState::Checked;
        if (zenta) {
            if (state.intRegPos >= 0) c.intRegisters_ = state.intRegPos;
            if (state.maxConstPos >= 0) c.maxConstSize_ = state.maxConstPos;
            if (state.smallDataBox != CheckState::Mixed) {
                c.smallDataEnabled_ = state.smallDataBox == CheckState::Checked;
                c.smallDataLimit_ = static_cast<int>(options::ParseDecimal(
                    state.smallDataText, 0, std::numeric_limits<int>::max(), 0, false));
            }
        }
        slot.store(c);
    }
    return result;
}

} // namespace quorle::models
