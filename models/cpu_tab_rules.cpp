#include "models/cpu_tab_rules.h"

#include <limits>

#include "options/option_string.h"

namespace quorle::models {

namespace tc = quorle::toolchain;

namespace {

// The assembler keeps the same settings in fields of its own.
CpuOptions FromAssembler(const CAssemblerModel& a) {
    CpuOptions cpu;
    cpu.m_nCpuType = a.m_nCpuType;
    cpu.m_nFamilyCode = a.m_nFamilyCode;
    cpu.m_nEndian = a.m_nEndian;
    cpu.m_aFamilyFlags = a.m_aTargetFlags;
    cpu.m_nIntRegisters = a.m_nIntRegVal;
    cpu.m_nMaxConstSize = a.m_nMaxConstVal;
    cpu.m_bSmallDataEnabled = a.m_nMaxVarsFlag == 1;
    cpu.m_nSmallDataLimit = a.m_nMaxVarsVal;
    return cpu;
}

void ToAssembler(const CpuOptions& cpu, CAssemblerModel& a) {
    a.m_nCpuType = cpu.m_nCpuType;
    a.m_nFamilyCode = cpu.m_nFamilyCode;
    a.m_nEndian = cpu.m_nEndian;
    a.m_aTargetFlags = cpu.m_aFamilyFlags;
    a.m_nIntRegVal = cpu.m_nIntRegisters;
    a.m_nMaxConstVal = cpu.m_nMaxConstSize;
    a.m_nMaxVarsFlag = cpu.m_bSmallDataEnabled ? 1 : 0;
    a.m_nMaxVarsVal = cpu.m_nSmallDataLimit;
}

// Every selected model's CPU settings, with a way to store them back.
struct CpuSlot {
    CpuOptions cpu;
    std::function<void(const CpuOptions&)> store;
};

std::vector<CpuSlot> Slots(CpuTabModels& models) {
    std::vector<CpuSlot> slots;
    for (CCompilerModel* m : models.compilers)
        slots.push_back({m->m_cpu, [m](const CpuOptions& c) { m->m_cpu = c; }});
    for (CAssemblerModel* m : models.assemblers)
        slots.push_back({FromAssembler(*m), [m](const CpuOptions& c) { ToAssembler(c, *m); }});
    for (CpuOptions* m : models.linkers)
        slots.push_back({*m, [m](const CpuOptions& c) { *m = c; }});
    for (CGeneratorModel* m : models.generators)
        slots.push_back({m->m_cpu, [m](const CpuOptions& c) { m->m_cpu = c; }});
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
        [familyCode](const CpuOptions& c) {
            return c.m_nFamilyCode == familyCode ? c.m_nCpuType : -1;
        },
        -1);
    if (state.cpuPos >= rows) state.cpuPos = -1;
    state.byteOrderPos = Shared(
        slots, [](const CpuOptions& c) { return c.m_nEndian <= 1 ? c.m_nEndian : -1; }, -1);
    for (size_t i = 0; i < state.checks.size(); ++i) {
        state.checks[i] = Shared(
            slots, [i](const CpuOptions& c) { return StateOf(c.m_aFamilyFlags[i]); },
            CheckState::Mixed);
    }
    if (familyCode == tc::kCodeZenta) {
        state.intRegPos = Shared(
            slots, [](const CpuOptions& c) { return c.m_nIntRegisters; }, -1);
        if (state.intRegPos > tc::kInterruptRegisterDefault) state.intRegPos = -1;
        state.maxConstPos = Shared(
            slots, [](const CpuOptions& c) { return c.m_nMaxConstSize; }, -1);
        if (state.maxConstPos > 3) state.maxConstPos = -1;
        state.smallDataBox = Shared(
            slots, [](const CpuOptions& c) { return StateOf(c.m_bSmallDataEnabled); },
            CheckState::Mixed);
        int limit = Shared(
            slots, [](const CpuOptions& c) { return c.m_nSmallDataLimit; }, -1);
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
    for (const CCompilerModel* m : models.compilers) {
        const CpuOptions& c = m->m_cpu;
        if (state.cpuPos >= 0 && (state.cpuPos != c.m_nCpuType || c.m_nFamilyCode != familyCode))
            warn = true;
        if (familyCode == tc::kCodePelka &&
            state.checks[tc::kPelkaNormalPos] != CheckState::Mixed &&
            (state.checks[tc::kPelkaNormalPos] == CheckState::Checked) !=
                c.m_aFamilyFlags[tc::kPelkaNormalPos])
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
        for (CGeneratorModel* g : models.generators) {
            if (reserves) {
                if (g->m_nBuild != 1) changedBuild = true;
                g->m_nNoPrebuilt = 1;
                g->m_nBuild = 1;
            } else {
                g->m_nNoPrebuilt = 0;
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
            c.m_nFamilyCode = familyCode;
            c.m_nCpuType = state.cpuPos;
        }
        if (state.byteOrderPos >= 0) c.m_nEndian = state.byteOrderPos;
        for (size_t i = 0; i < state.checks.size(); ++i)
            if (state.checks[i] != CheckState::Mixed)
                c.m_aFamilyFlags[i] = state.checks[i] == CheckState::Checked;
        if (zenta) {
            if (state.intRegPos >= 0) c.m_nIntRegisters = state.intRegPos;
            if (state.maxConstPos >= 0) c.m_nMaxConstSize = state.maxConstPos;
            if (state.smallDataBox != CheckState::Mixed) {
                c.m_bSmallDataEnabled = state.smallDataBox == CheckState::Checked;
                c.m_nSmallDataLimit = static_cast<int>(options::ParseDecimal(
                    state.smallDataText, 0, std::numeric_limits<int>::max(), 0, false));
            }
        }
        slot.store(c);
    }
    return result;
}

} // namespace quorle::models
