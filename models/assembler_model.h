// The assembler options model: one object per Assembler-phase option string.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "models/model_base.h"
#include "models/path_parts.h"
#include "toolchain/cpu_table.h"

namespace quorle::models {

inline constexpr int kAsmSwitchCount = 6; // DSPSUPPORT (Corvo only) first
inline constexpr int kAsmListContentCount = 5;
inline constexpr int kShowItemCount = 5;

class CAssemblerModel : public CModelBase {
  public:
    CAssemblerModel();
    explicit CAssemblerModel(std::string_view optionString);

    // Object directory and name joined with a backslash, ".o" added when the
    // name has no extension.
    std::string ObjectFile() const;
    // The same for the list file with ".lis".
    std::string ListFile() const;
    bool operator==(const CAssemblerModel&) const = default;

    int m_nCpuType = 0;
    int m_nEndian = 2;   // 0 BIG, 1 LITTLE, 2 not set
    int m_nRound = 2;    // 0 ZERO, 1 NEAREST, 2 not set
    int m_nDenormal = 2; // 0, 1, 2 not set
    toolchain::FamilyFlags m_aTargetFlags{};
    int m_nMaxVarsFlag = 0;
    int m_nIntRegVal = 0;
    int m_nMaxConstVal = 0;
    int m_nMaxVarsVal = 0;
    int m_nFamilyCode = toolchain::kCodeNone; // set by the CPU type token
    // Family whose key set last set a target flag; decides the keys written
    // when the CPU type names no family with flags.
    int m_nFlagKeyFamily = toolchain::kCodeNone;
    std::vector<std::string> m_lstIncDirs;
    std::vector<std::string> m_lstDefines;
    std::vector<std::string> m_lstAssigns;
    int m_nInCode = -1;
    int m_nDebugLevel = 2;
    int m_nGenObj = 0;
    int m_nFoldSec = 0;
    PathParts m_objPath{"$(CONFIGDIR)", "$(FILELEAF)", "", '\\'};
    int m_nOutCode = -1;
    int m_nDispSize = -1;
    int m_nListing = 0;
    std::array<bool, kAsmListContentCount> m_aListContents{};
    PathParts m_listPath{"$(CONFIGDIR)", "$(FILELEAF)", "", '\\'};
    int m_nSource = 0; // 0 not set, 1 "B|SOURCE|1", 2 "B|SOURCE|0"
    std::array<bool, kAsmSwitchCount> m_aSwitches{};
    std::string m_strExtra;
    int m_nErrorPath = 0;
    int m_nChgIncPath = 0;
    int m_nProjectType = -1;
    // Listing show settings: 0 not set, 1 show, 2 do not show, in the order
    // conditionals, definitions, calls, expansions, code.
    std::array<int, kShowItemCount> m_aShow{};
    int m_nShowTab = 0;     // 1 adds "tab=4"
    int m_nCrossRef = 0;    // 0 not set, 1 on, 2 off
    int m_nListSection = 0; // 0 not set, 1 on, 2 off

  protected:
    void ResetFields() override;
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;

  private:
    struct NoReset {};
    explicit CAssemblerModel(NoReset) : CModelBase(kPhaseAssembler) {}
};

} // namespace quorle::models
