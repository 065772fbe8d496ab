// Key tables of the compiler options model and the gcc flags that go with
// them. A field's value is the position of its token in its table.
#pragma once

#include <string_view>

#include "models/flag_option.h"

namespace quorle::models::compiler_keys {

using SV = std::string_view;

using models::FlagOption;
using models::FlagsOf;
using models::KeysOf;

inline constexpr SV kLanguage[] = {"", "S|LANG|CPP", "S|LANG|PREPRO"};
inline constexpr SV kProjectType[] = {"S|PROJECTTYPE|CAPPPROJECT", "S|PROJECTTYPE|CPPAPPPROJECT",
                                      "S|PROJECTTYPE|LIBPROJECT"};
inline constexpr SV kOptLib[] = {"B|DOOPTLIB|0", "B|DOOPTLIB|1"};
inline constexpr SV kChgIncPath[] = {"", "B|CHGINCPATH|1"};

inline constexpr SV kIncDir = "S|INCDIR|";
inline constexpr SV kPreInclude = "S|PREINCLUDE|";
inline constexpr SV kDefines = "S|DEFINES|";
inline constexpr SV kFileInlinePath = "S|FILE_INLINE_PATH|";
inline constexpr SV kWInhibit[] = {"", "B|WINHIBIT|1"};
inline constexpr SV kWAll = "B|WALL|1";

inline constexpr FlagOption kWarn1Options[] = {
    {"B|WNIMPORT|1", "-Wno-import"},   {"B|WCSUB|1", "-Wchar-subscripts"},
    {"B|WCOMMENT|1", "-Wcomment"},     {"B|WFORMAT|1", "-Wformat"},
    {"B|WIMPLICIT|1", "-Wimplicit"},   {"B|WPAREN|1", "-Wparentheses"},
    {"B|WRTYPE|1", "-Wreturn-type"},   {"B|WSWITCH|1", "-Wswitch"},
    {"B|WTGRAPH|1", "-Wtrigraphs"},    {"B|WUNUSED|1", "-Wunused"},
    {"B|WUINIT|1", "-Wuninitialized"}, {"B|WREORDER|1", "-Wreorder"},
    {"B|WSCOMP|1", "-Wsign-compare"},
};
inline constexpr auto kWarn1Keys = KeysOf(kWarn1Options);
inline constexpr auto kWarn1Flags = FlagsOf(kWarn1Options);
inline constexpr FlagOption kWarn2Options[] = {
    {"B|PEWARN|1", "-W"},
    {"B|WARETURN|1", "-Waggregate-return"},
    {"B|WBFCAST|1", "-Wbad-function-cast"},
    {"B|WCALIGN|1", "-Wcast-align"},
    {"B|WCQUAL|1", "-Wcast-qual"},
    {"B|WCON|1", "-Wconversion"},
    {"B|WERROR|1", "-Werror"},
    {"B|WINLINE|1", "-Winline"},
    {"B|WMDEC|1", "-Wmissing-declarations"},
    {"B|WMPROTO|1", "-Wmissing-prototypes"},
    {"B|WNEXTERN|1", "-Wnested-externs"},
    {"B|WPARITH|1", "-Wpointer-arith"},
    {"B|WRDECL|1", "-Wredundant-decls"},
    {"B|WSHADOW|1", "-Wshadow"},
    {"B|WSPROTO|1", "-Wstrict-prototypes"},
    {"B|WSYNTH|1", "-Wsynth"},
    {"B|WTRAD|1", "-Wtraditional"},
    {"B|WWSTR|1", "-Wwrite-strings"},
};
inline constexpr auto kWarn2Keys = KeysOf(kWarn2Options);
inline constexpr auto kWarn2Flags = FlagsOf(kWarn2Options);

inline constexpr SV kOutput[] = {"S|OUTPUT|OBJECT", "S|OUTPUT|ASMCODE", "S|OUTPUT|PREPROCESSOR",
                                 "S|OUTPUT|PREPROCESSORNOLINE"};
inline constexpr SV kObjPath = "S|OBJPATH|";
inline constexpr SV kDebug[] = {"B|DEBUG|0", "B|DEBUG|1"};
inline constexpr SV kDebugLevel[] = {"I|DEBUGLV|1", "I|DEBUGLV|2", "I|DEBUGLV|3"};
inline constexpr SV kDebugLevelOff = "I|DEBUGLV|0";
inline constexpr SV kDebugFormat[] = {"S|DEBUGFT|Native", "S|DEBUGFT|COFF",  "S|DEBUGFT|DWARF",
                                      "S|DEBUGFT|DWARF+", "S|DEBUGFT|stabs", "S|DEBUGFT|stabs+",
                                      "S|DEBUGFT|XCOFF",  "S|DEBUGFT|XCOFF+"};
inline constexpr SV kDebugFormatFlags[] = {"-g",      "-gcoff",   "-gdwarf-2", "-gdwarf+",
                                           "-gstabs", "-gstabs+", "-gxcoff",   "-gxcoff+"};
inline constexpr SV kDebugLevelFlags[] = {"-g1", "-g2", "-g3"};

inline constexpr SV kListing[] = {"", "B|LOUTLIST|1"};
inline constexpr SV kLFile = "S|LFILE|";
using models::kListContentKeys;
using models::kListContentLetters;

inline constexpr SV kOptimize[] = {"B|OPTIMIZE|0", "B|OPTIMIZE|1"};
inline constexpr SV kOptLevel[] = {"I|OPTLV|1", "I|OPTLV|2", "I|OPTLV|3"};
inline constexpr SV kOptLevelFlags[] = {
    "-O3 -fno-function-cse -funit-at-a-time -funroll-loops -fno-gcse",
    "-Os -fno-function-cse -funit-at-a-time -falign-jumps -fdata-sections -ffunction-sections",
    "-O2"};
inline constexpr SV kLto[] = {"B|LTO|0", "B|LTO|1"};
inline constexpr SV kMap[] = {"", "B|SMAP|1", "B|MAP|1"};
inline constexpr SV kMapPath = "S|MAPPATH|";
inline constexpr SV kOptimizeOld[] = {"B|OPTIMIZEOLD|0", "B|OPTIMIZEOLD|1", "B|OPTIMIZEOLD|2"};
inline constexpr SV kGOptimize[] = {"", "B|GOPTIMIZE|1"};

inline constexpr FlagOption kOtherOptions[] = {
    {"B|COMMENTS|1", "-C"},
    {"B|NOSTDINC|1", "-nostdinc"},
    {"B|PPNGLDIR|1", "-P"},
    {"B|GPINFO|1", "-pg"},
    {"B|SAVETMPS|1", "-save-temps"},
    {"B|TRADCPP|1", "-traditional-cpp"},
    {"B|TRIGRPHS|1", "-trigraphs"},
    {"B|UNDEF|1", "-undef"},
    {"B|FBRPROB|1", "-fbranch-probabilities"},
    {"B|FCSAVES|1", "-fcaller-saves"},
    {"B|FCONDMIS|1", "-fcond-mismatch"},
    {"B|FFOLLJMP|1", "-fcse-follow-jumps"},
    {"B|FSKPBLKS|1", "-fcse-skip-blocks"},
    {"B|FDBRANCH|1", "-fdelayed-branch"},
    {"B|FEXPOPTS|1", "-fexpensive-optimizations"},
    {"B|FFMATH|1", "-ffast-math"},
    {"B|FFSTORE|1", "-ffloat-store"},
    {"B|FFMEM|1", "-fforce-mem"},
    {"B|FFSECTS|1", "-ffunction-sections"},
    {"B|FILFUNCS|1", "-finline-functions"},
    {"B|FKFUNCS|1", "-fkeep-inline-functions"},
    {"B|FNOASM|1", "-fno-asm"},
    {"B|FNOB|1", "-fno-builtin"},
    {"B|FNDRPOP|1", "-fno-defer-pop"},
    {"B|FNFCSE|1", "-fno-function-cse"},
    {"B|FNIN|1", "-fno-inline"},
    {"B|FNPHOLE|1", "-fno-peephole"},
    {"B|FOFPOINT|1", "-fomit-frame-pointer"},
    {"B|FPROARCS|1", "-fprofile-arcs"},
    {"B|FRRLOOP|1", "-frerun-cse-after-loop"},
    {"B|FSINSNS|1", "-fschedule-insns"},
    {"B|FSINSNS2|1", "-fschedule-insns2"},
    {"B|FSCHAR|1", "-fsigned-char"},
    {"B|FUSCHAR|1", "-funsigned-char"},
    {"B|FSREDUCE|1", "-fstrength-reduce"},
    {"B|FTCOV|1", "-ftest-coverage"},
    {"B|FTJUMPS|1", "-fthread-jumps"},
    {"B|FUSBIT|1", "-funsigned-bitfields"},
    {"B|FUALOOPS|1", "-funroll-all-loops"},
    {"B|FULOOPS|1", "-funroll-loops"},
    {"B|FWSTRING|1", "-fwritable-strings"},
    {"B|ANSI|1", "-ansi"},
    {"B|TRADCOMP|1", "-traditional"},
    {"B|FSONLY|1", "-fsyntax-only"},
    {"B|PEDANTIC|1", "-pedantic"},
    {"B|PERRORS|1", "-pedantic-errors"},
    {"B|MBTABLE|1", "-mbigtable"},
    {"B|COMPTOAS|1", "-S"},
    {"B|PSMCRODEFS|1", "-dD"},
    {"B|OUTLSTMCRODEFS|1", "-dM"},
    {"B|OUTLSTMCRODEFSUB|1", "-dN"},
    {"B|RUNONLYCPP|1", "-E"},
    {"B|PRNTHDRFILNAME|1", "-H"},
    {"B|PRNTCMDVER|1", "-v"},
    {"B|FDATASECTS|1", "-fdata-sections"},
};
inline constexpr auto kOtherKeys = KeysOf(kOtherOptions);
inline constexpr auto kOtherFlags = FlagsOf(kOtherOptions);
// Recognised, holds no field, never written.
inline constexpr SV kFuncSectsAlias = "B|FFUNCSECTS|1";
inline constexpr SV kAppTxt = "S|APPTXT|";

// Host-compiler keys.
inline constexpr SV kSection = "S|SECTION|";
inline constexpr char kSectionLetters[] = {'P', 'C', 'D', 'B'};
inline constexpr SV kSectionDefaults[] = {"P", "C", "D", "B"};
inline constexpr SV kSectionFlagNames[] = {"program=", "const=", "data=", "bss="};
inline constexpr SV kStringData[] = {"", "S|STRING|DATA"};
inline constexpr SV kTemplate[] = {"S|TEMPLATE|NONE", "S|TEMPLATE|STATIC", "S|TEMPLATE|USED",
                                   "S|TEMPLATE|ALL"};
inline constexpr SV kTemplateFlags[] = {"-template=none", "-template=static", "-template=used",
                                        "-template=all"};
inline constexpr SV kAssembly = "S|ASSEMBLY|";
inline constexpr SV kAbsPrefixes[] = {"S|ABS16|", "S|ABS20|", "S|ABS28|", "S|ABS32|"};
inline constexpr SV kAbsFlags[] = {"-abs16=", "-abs20=", "-abs28="};
inline constexpr SV kSectionKinds[] = {"PROGRAM", "CONST", "DATA", "BSS", "RUN"};
inline constexpr SV kSectionKindsLower[] = {"program", "const", "data", "bss", "run"};
inline constexpr SV kAllKinds = "ALL";
inline constexpr SV kDivision[] = {"S|DIVISION|CPUINLINE", "S|DIVISION|CPURUNTIME"};
inline constexpr SV kNoLine[] = {"", "B|NOLINE|1"};
inline constexpr SV kIFunc[] = {"", "B|IFUNC|1"};
inline constexpr SV kAlign[] = {"I|ALIGN|4", "I|ALIGN|16", "I|ALIGN|32"};
inline constexpr SV kAlign16Old = "B|ALIGN16|1";
inline constexpr SV kAlignFlags[] = {"", "-align16", "-align32"};
inline constexpr SV kAlign4Scope[] = {"S|ALIGN4|ALL", "S|ALIGN4|LOOP", "S|ALIGN4|INMOSTLOOP"};
inline constexpr SV kAlign4Flags[] = {"-align4=all", "-align4=loop", "-align4=inmostloop"};
inline constexpr SV kStuffSection = "S|STUFF_SECTION|";
inline constexpr SV kStuffNames[] = {"CONST", "DATA", "BSS"};
inline constexpr SV kStuffFlagNames[] = {"const", "data", "bss"};
inline constexpr SV kStuffGbr[] = {"", "B|STUFF_GBR|1"};
inline constexpr SV kCpuDivision[] = {"S|DIVISION|PERIPHERAL", "S|DIVISION|NOMASK"};
inline constexpr SV kFpu[] = {"S|FPU|SINGLE", "S|FPU|DOUBLE"};
inline constexpr SV kRound[] = {"S|ROUND|NEAREST"};
inline constexpr SV kCppNoInline[] = {"", "B|CPP_NOINLINE|1"};
inline constexpr SV kCase[] = {"S|CASE|IFTHEN", "S|CASE|TABLE"};
inline constexpr SV kShift[] = {"S|SHIFT|INLINE", "S|SHIFT|RUNTIME"};
inline constexpr SV kBlockCopy[] = {"S|BLOCKCOPY|INLINE", "S|BLOCKCOPY|RUNTIME"};
inline constexpr SV kUnaligned[] = {"S|UNALIGNED|INLINE", "S|UNALIGNED|RUNTIME"};
inline constexpr SV kSoftPipe[] = {"", "B|SOFTPIPE|1"};
inline constexpr SV kFileInline = "S|FILE_INLINE|";

} // namespace quorle::models::compiler_keys
