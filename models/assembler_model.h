// The assembler options model: one object per Assembler-phase option string.
#pragma once

#include <array>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

#include "models/assembler_keys.h"
#include "models/model_base.h"
#include "models/path_parts.h"
#include "toolchain/cpu_table.h"

namespace quorle::models {

inline constexpr int kAsmSwitchCount = static_cast<int>(std::size(assembler_keys::kSwitchOptions));
inline constexpr int kAsmListContentCount = static_cast<int>(std::size(kListContentOptions));
inline constexpr int kShowItemCount = static_cast<int>(std::size(assembler_keys::kShowSettings));

// Every field a reset restores, with its default.
struct AssemblerFields {
    int cpuType_ = 0;
    int endian_ = 2;   // 0 BIG, 1 LITTLE, 2 not set
    int round_ = 2;    // 0 ZERO, 1 NEAREST, 2 not set
    int denormal_ = 2; // 0, 1, 2 not set
    toolchain::FamilyFlags targetFlags_{};
    int maxVarsFlag_ = 0;
    int intRegVal_ = 0;
    int maxConstVal_ = 0;
    int maxVarsVal_ = 0;
    int familyCode_ = toolchain::kCodeNone; // set by the CPU type token
    // Family whose key set last set a target flag; decides the keys written
    // when the CPU type names no family with flags.
    int flagKeyFamily_ = toolchain::kCodeNone;
    std::vector<std::string> incDirs_;
    std::vector<std::string> defines_;
    std::vector<std::string> assigns_;
    int inCode_ = -1;
    int debugLevel_ = 2;
    int genObj_ = 0;
    int foldSec_ = 0;
    PathParts objPath_{"$(CONFIGDIR)", "$(FILELEAF)", "", '\\'};
    int outCode_ = -1;
    int dispSize_ = -1;
    int listing_ = 0;
    std::array<bool, kAsmListContentCount> listContents_{};
    PathParts listPath_{"$(CONFIGDIR)", "$(FILELEAF)", "", '\\'};
    int source_ = 0; // 0 not set, 1 "B|SOURCE|1", 2 "B|SOURCE|0"
    std::array<bool, kAsmSwitchCount> switches_{};
    std::string extra_;
    int errorPath_ = 0;
    int chgIncPath_ = 0;
    int projectType_ = -1;
    // Listing show settings: 0 not set, 1 show, 2 do not show, in the order
    // conditionals, definitions, calls, expansions, code.
    std::array<int, kShowItemCount> show_{};
    int showTab_ = 0;     // 1 adds "tab=4"
    int crossRef_ = 0;    // 0 not set, 1 on, 2 off
    int listSection_ = 0; // 0 not set, 1 on, 2 off

    bool operator==(const AssemblerFields&) const = default;
};

class AssemblerModel : public ModelBase, public AssemblerFields {
  public:
    // Every key table the reader recognises; a token whose key is not in
    // it is not read.
    static const KeyRegistry& ReadKeys();

    AssemblerModel();
    explicit AssemblerModel(std::string_view optionString);

    // Object directory and name joined with a backslash, ".o" added when the
    // name has no extension.
    std::string ObjectFile() const;
    // The same for the list file with ".lis".
    std::string ListFile() const;
    bool operator==(const AssemblerModel&) const = default;

  protected:
    void ResetFields() override;
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;
};

} // namespace quorle::models
