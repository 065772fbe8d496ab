// Key texts of the linker option string that both the reader and the writer
// of the linker options model use.
#pragma once

#include <array>
#include <span>
#include <string_view>

#include "models/flag_option.h"
#include "models/linker_model.h"

namespace quorle::models::linker_keys {

// Whole-token switches that map to one flag of the model.
struct FlagKey {
    std::string_view key;
    bool LinkerFields::*field;
};

inline constexpr FlagKey kInputFlags[] = {
    {"B|RSARCH|1", &LinkerFields::groupLibs_},
    {"B|FIXUPLIBS|1", &LinkerFields::fixupLibs_},
    {"B|ENTRY|1", &LinkerFields::entryOn_},
};

inline constexpr FlagKey kOutputFlags[] = {
    {"B|DORELOC|1", &LinkerFields::relocSplit_},
    {"B|DIVIDEOUTPUT|1", &LinkerFields::divideOutput_},
    {"B|MSG_UNUSED|1", &LinkerFields::warnUnused_},
    {"B|DATA_STUFF|1", &LinkerFields::dataStuff_},
    {"B|DATA_STUFF_SMAP|1", &LinkerFields::dataStuffMap_},
    {"B|MFILEGEN|1", &LinkerFields::mapFile_},
    {"B|USEGCCTOLINK|1", &LinkerFields::useGcc_},
    {"B|LTO|1", &LinkerFields::lto_},
    {"B|LINK_OBJS_VIA_CMDLINE|1", &LinkerFields::objsOnCmdLine_},
};

inline constexpr std::string_view kPrelink[] = {"", "S|PRELINK|SKIP", "S|PRELINK|RUN"};
// Position 2 has no token: no word selects it and the editor does not offer it.
inline constexpr models::ChoiceOption kOutputFormOptions[] = {
    {"S|OUTFORM|DEFAULT", "", "Absolute file"},
    {"S|OUTFORM|BOTH", "", "Absolute file and S-records"},
    {"", "", ""},
    {"S|FORM|LIBRARY|S", "", "Library, system"},
    {"S|FORM|LIBRARY|U", "", "Library, user"},
};
inline constexpr auto kOutputForm = models::TokensOf(kOutputFormOptions);
inline constexpr std::string_view kSRecord[] = {"", "S|RECORD|S1", "S|RECORD|S2", "S|RECORD|S3"};
inline constexpr std::string_view kHexRecord[] = {"", "S|RECORD|H16", "S|RECORD|H20",
                                                  "S|RECORD|H32"};
inline constexpr std::string_view kCpuCheck[] = {"", "I|CPUINFORMATIONCHECK|1",
                                                 "I|CPUINFORMATIONCHECK|2"};
inline constexpr std::string_view kSubcommandType[] = {"B|DOEXTF|1", "B|DOSEGF|1"};
// C and C++ applications only.
inline constexpr std::span<const models::ChoiceOption> kProjectTypeRows =
    std::span(models::kProjectTypeOptions).first<2>();
inline constexpr std::array<std::string_view, 2> kProjectType = {kProjectTypeRows[0].token,
                                                                 kProjectTypeRows[1].token};
inline constexpr std::string_view kOptLib[] = {"B|DOOPTLIB|0", "B|DOOPTLIB|1"};
inline constexpr std::string_view kProjectBuilt[] = {"B|DOPROJBUILT|0", "B|DOPROJBUILT|1"};

inline constexpr std::string_view kSubcommand = "B|SUBCOMMAND|1";

inline constexpr std::string_view kIncDir = "S|INCDIR|";
inline constexpr std::string_view kArchive = "S|ARCHIVE|";
inline constexpr std::string_view kInput = "S|INPUT|";
inline constexpr std::string_view kBinary = "S|BINARY|";
inline constexpr std::string_view kDefine = "S|DEFINE|";
inline constexpr std::string_view kEntry = "S|ENTRY|";
inline constexpr std::string_view kRelocCount = "I|SBYRELOC|";
inline constexpr std::string_view kRom = "S|ROM|";
inline constexpr std::string_view kMultiOutput = "S|MULTIOUTPUT|";
inline constexpr std::string_view kOutFile = "S|OUTFILE|";
// The output path as the default option strings name it.
inline constexpr std::string_view kOutputAlias = "S|OUTPUT|";
inline constexpr std::string_view kCrc = "S|CRC|";
inline constexpr std::string_view kMapFile = "S|PLMFILE|";
inline constexpr std::string_view kShow = "S|SHOW|";
inline constexpr std::string_view kGroups = "S|GROUPDET|";
inline constexpr std::string_view kRegions = "S|MEMDET|";
inline constexpr std::string_view kForced = "S|FSYMBOL|";
inline constexpr std::string_view kSuppressed = "S|;UNGENERATESYMBOL|";
inline constexpr std::string_view kCheckDevice = "S|;CHECKDEVICE|";
inline constexpr std::string_view kCpuInfoFile = "S|CPUxx|";
inline constexpr std::string_view kPsCheck = "S|PS_CHECK|";
inline constexpr std::string_view kAppText = "S|APPTXT|";
inline constexpr std::string_view kOtherVia = "S|OTHERVIA|";
inline constexpr std::string_view kExtFile = "S|EXTFILE|";
inline constexpr std::string_view kVersionPrefix = "V|VERSION|";

inline constexpr std::string_view kOptimiseOn = "B|OPTIMIZE|1";
inline constexpr std::string_view kOptimiseOff = "B|OPTIMIZE|0";

} // namespace quorle::models::linker_keys
