// Key tables of the assembler options model. A field's value is the
// position of its token in its table.
#pragma once

#include <span>
#include <string_view>

#include "models/flag_option.h"

namespace quorle::models::assembler_keys {

using SV = std::string_view;

inline constexpr SV kCpuType = "S|CPUTYPE|";
inline constexpr SV kEndian[] = {"S|ENDIAN|BIG", "S|ENDIAN|LITTLE"};
inline constexpr SV kRound[] = {"S|ROUND|ZERO", "S|ROUND|NEAREST"};
inline constexpr SV kDenormal[] = {"B|DENORMALIZE|0", "B|DENORMALIZE|1"};
inline constexpr SV kCpuSelect = "S|CPU|";
inline constexpr SV kMaxVarsFlag[] = {"", "B|RMMAXVARSVAL|1"};
inline constexpr SV kIntRegVal = "I|RMINTREGVAL|";
inline constexpr SV kMaxConstVal = "I|RMMAXCONSTVAL|";
inline constexpr SV kMaxVarsVal = "I|RMMAXVARSVAL|";
inline constexpr SV kIncDir = "S|INCDIR|";
inline constexpr SV kDefines = "S|DEFINES|";
inline constexpr SV kAssignA = "S|ASSIGNA|";
inline constexpr SV kAssignC = "S|ASSIGNC|";
inline constexpr SV kInCode[] = {"S|INCODE|EUC", "S|INCODE|SJIS", "S|INCODE|LATIN1"};
// The GNU and the host assembler spell the debug formats apart, so the rows
// hold no flag (assembler_command.cpp).
inline constexpr models::ChoiceOption kDebugLevelOptions[] = {
    {"I|DEBUGLV|0", "", "None"}, {"I|DEBUGLV|1", "", "stabs"}, {"I|DEBUGLV|2", "", "DWARF 2"}};
inline constexpr auto kDebugLevel = models::TokensOf(kDebugLevelOptions);
inline constexpr SV kGenObj[] = {"", "I|GENOBJ|1"};
inline constexpr SV kFoldSec[] = {"", "I|FOLDSEC|1"};
inline constexpr SV kObjPath = "S|OBJPATH|";
inline constexpr SV kOutCode[] = {"S|OUTCODE|SJIS", "S|OUTCODE|EUC"};
inline constexpr SV kDispSize[] = {"S|DISPSIZE|4", "S|DISPSIZE|12"};
inline constexpr SV kListing[] = {"", "B|LOUTLIST|1"};
using models::kListContentKeys;
using models::kListContentLetters;
inline constexpr SV kLFile = "S|LFILE|";
inline constexpr SV kSource[] = {"", "B|SOURCE|1", "B|SOURCE|0"};
// DSPSUPPORT (Corvo only) first.
// The page shows each label with its flag after it.
inline constexpr models::FlagOption kSwitchOptions[] = {
    {"B|DSPSUPPORT|1", "-dsp", "DSP instructions (Corvo)"},
    {"B|SWMESS|1", "-W", "Suppress warnings"},
    {"B|INCLAB|1", "-L", "Keep local labels in the symbol table"},
    {"B|WARNDIFF|1", "-k", "Warn when difference tables are altered"},
    {"B|FASTER|1", "-f", "Skip whitespace and comment preprocessing"},
    {"B|STATS|1", "--statistics", "Print statistics"},
};
inline constexpr auto kSwitchKeys = models::KeysOf(kSwitchOptions);
inline constexpr auto kSwitchArgs = models::FlagsOf(kSwitchOptions);
inline constexpr SV kAppTxt = "S|APPTXT|";
inline constexpr SV kErrorPath[] = {"", "B|ERRORPATH|1"};
inline constexpr SV kChgIncPath[] = {"", "B|CHGINCPATH|1"};
inline constexpr auto kProjectType = models::TokensOf(models::kProjectTypeOptions);

// Listing show settings of the makefile form: 1 show, 0 do not show.
inline constexpr SV kShowCond[] = {"", "B|SHOWCOND|1", "B|SHOWCOND|0"};
inline constexpr SV kShowDef[] = {"", "B|SHOWDEF|1", "B|SHOWDEF|0"};
inline constexpr SV kShowCall[] = {"", "B|SHOWCALL|1", "B|SHOWCALL|0"};
inline constexpr SV kShowExp[] = {"", "B|SHOWEXP|1", "B|SHOWEXP|0"};
inline constexpr SV kShowCode[] = {"", "B|SHOWCODE|1", "B|SHOWCODE|0"};
// One show setting: its tokens and its word after -show= / -noshow=.
struct ShowSetting {
    std::span<const SV> tokens;
    SV word;
};
inline constexpr ShowSetting kShowSettings[] = {
    {kShowCond, "conditionals"}, {kShowDef, "definitions"}, {kShowCall, "calls"},
    {kShowExp, "expansions"},    {kShowCode, "code"},
};
inline constexpr SV kShowTab[] = {"", "B|SHOWTAB|1"};
inline constexpr SV kCrossRef[] = {"", "B|CROSSREF|1", "B|CROSSREF|0"};
inline constexpr SV kListSection[] = {"", "B|LSECTION|1", "B|LSECTION|0"};

} // namespace quorle::models::assembler_keys
