// The CPU tab's rules without its window: the state the tab shows for a
// selection of option models, the byte-order and availability rules on a
// CPU change, and applying the tab to the models (returning the messages
// to show).
#pragma once

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/cpu_options.h"
#include "models/generator_model.h"

namespace quorle::models {

enum class CheckState { Clear, Checked, Mixed };

// What the tab's controls hold. A list position of -1 is "no selection".
struct CpuTabState {
    int cpuPos = -1;
    int byteOrderPos = -1;
    std::array<CheckState, toolchain::kFamilyFlagCount> checks{
        CheckState::Mixed, CheckState::Mixed, CheckState::Mixed, CheckState::Mixed,
        CheckState::Mixed, CheckState::Mixed, CheckState::Mixed, CheckState::Mixed};
    // Zenta group.
    int intRegPos = -1;
    int maxConstPos = -1;
    CheckState smallDataBox = CheckState::Mixed;
    std::string smallDataText;
};

// Which controls can be used after the rules for the selected CPU types.
struct CpuTabEnabled {
    bool byteOrder = true;
    std::array<bool, toolchain::kFamilyFlagCount> checks{true, true, true, true,
                                                         true, true, true, true};
};

// The selected models of all phases; the linker models take part through
// their CPU keys.
struct CpuTabModels {
    std::vector<CompilerModel*> compilers;
    std::vector<AssemblerModel*> assemblers;
    std::vector<CpuOptions*> linkers;
    std::vector<GeneratorModel*> generators;
};

// The state the selected models share; where they differ a check shows the
// mixed state and a list no selection.
CpuTabState InitialCpuTabState(int familyCode, const CpuTabModels& models);

// Byte-order and availability rules for the CPU types of the selection (the
// rows each selected file will have). Disabled items are cleared or checked
// in `state` as the rules say; a byte order nobody may choose is set to the
// fixed order.
CpuTabEnabled ApplyCpuChoiceRules(int familyCode, const std::vector<int>& rows, CpuTabState& state);

// Pelka: "-mn" and "-mint32" exclude each other. Call after a check item
// changed; returns the availability of the items.
CpuTabEnabled OnCpuCheckChanged(int familyCode, int position, CpuTabState& state,
                                CpuTabEnabled enabled);

enum class CpuApplyOutcome { Applied, Cancelled, Stopped };

struct CpuApplyResult {
    CpuApplyOutcome outcome = CpuApplyOutcome::Applied;
    std::vector<std::string> messages; // shown in this order
};

// Asks the user with OK and Cancel; true for OK.
using ConfirmOkCancel = std::function<bool(const std::string& message)>;

inline constexpr const char* kCpuChangeWarning =
    "Please note that the changes you have made\nwill probably also require changes to\n"
    "the linker sections and/or startup code\n";
inline constexpr const char* kFastInterruptNotice =
    "Please note that reserving registers for use\nby the fast interrupt is incompatible with\n"
    "pre-built system libraries.\n\nYour library settings have been changed\nfor you "
    "accordingly.\n";
inline constexpr const char* kSmallDataDecimalMessage =
    "Please note that the option -msmall-data-limit=n takes a decimal value\n";

// Applies the tab to every selected model (leaving the tab or OK).
CpuApplyResult ApplyCpuTab(int familyCode, const CpuTabState& state, CpuTabModels& models,
                           const ConfirmOkCancel& confirm);

} // namespace quorle::models
