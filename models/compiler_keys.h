// Key tables of the compiler options model and the gcc flags that go with
// them. A field's value is the position of its token in its table.
#pragma once

#include <string_view>

namespace quorle::models::compiler_keys {

using SV = std::string_view;

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

inline constexpr SV kWarn1Keys[] = {
    "B|WNIMPORT|1", "B|WCSUB|1",    "B|WCOMMENT|1", "B|WFORMAT|1", "B|WIMPLICIT|1",
    "B|WPAREN|1",   "B|WRTYPE|1",   "B|WSWITCH|1",  "B|WTGRAPH|1", "B|WUNUSED|1",
    "B|WUINIT|1",   "B|WREORDER|1", "B|WSCOMP|1",
};
inline constexpr SV kWarn1Flags[] = {
    "-Wno-import",     "-Wchar-subscripts", "-Wcomment",      "-Wformat",    "-Wimplicit",
    "-Wparentheses",   "-Wreturn-type",     "-Wswitch",       "-Wtrigraphs", "-Wunused",
    "-Wuninitialized", "-Wreorder",         "-Wsign-compare",
};
inline constexpr SV kWarn2Keys[] = {
    "B|PEWARN|1", "B|WARETURN|1", "B|WBFCAST|1", "B|WCALIGN|1", "B|WCQUAL|1",   "B|WCON|1",
    "B|WERROR|1", "B|WINLINE|1",  "B|WMDEC|1",   "B|WMPROTO|1", "B|WNEXTERN|1", "B|WPARITH|1",
    "B|WRDECL|1", "B|WSHADOW|1",  "B|WSPROTO|1", "B|WSYNTH|1",  "B|WTRAD|1",    "B|WWSTR|1",
};
inline constexpr SV kWarn2Flags[] = {
    "-W",
    "-Waggregate-return",
    "-Wbad-function-cast",
    "-Wcast-align",
    "-Wcast-qual",
    "-Wconversion",
    "-Werror",
    "-Winline",
    "-Wmissing-declarations",
    "-Wmissing-prototypes",
    "-Wnested-externs",
    "-Wpointer-arith",
    "-Wredundant-decls",
    "-Wshadow",
    "-Wstrict-prototypes",
    "-Wsynth",
    "-Wtraditional",
    "-Wwrite-strings",
};

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
inline constexpr SV kListContentKeys[] = {"B|LINCASS|1", "B|LINCSYM|1", "B|LINCHLS|1",
                                          "B|LOMITDD|1", "B|LOMITFP|1"};
inline constexpr char kListContentLetters[] = {'l', 's', 'h', 'd', 'n'};

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

inline constexpr SV kOtherKeys[] = {
    "B|COMMENTS|1",   "B|NOSTDINC|1",       "B|PPNGLDIR|1",
    "B|GPINFO|1",     "B|SAVETMPS|1",       "B|TRADCPP|1",
    "B|TRIGRPHS|1",   "B|UNDEF|1",          "B|FBRPROB|1",
    "B|FCSAVES|1",    "B|FCONDMIS|1",       "B|FFOLLJMP|1",
    "B|FSKPBLKS|1",   "B|FDBRANCH|1",       "B|FEXPOPTS|1",
    "B|FFMATH|1",     "B|FFSTORE|1",        "B|FFMEM|1",
    "B|FFSECTS|1",    "B|FILFUNCS|1",       "B|FKFUNCS|1",
    "B|FNOASM|1",     "B|FNOB|1",           "B|FNDRPOP|1",
    "B|FNFCSE|1",     "B|FNIN|1",           "B|FNPHOLE|1",
    "B|FOFPOINT|1",   "B|FPROARCS|1",       "B|FRRLOOP|1",
    "B|FSINSNS|1",    "B|FSINSNS2|1",       "B|FSCHAR|1",
    "B|FUSCHAR|1",    "B|FSREDUCE|1",       "B|FTCOV|1",
    "B|FTJUMPS|1",    "B|FUSBIT|1",         "B|FUALOOPS|1",
    "B|FULOOPS|1",    "B|FWSTRING|1",       "B|ANSI|1",
    "B|TRADCOMP|1",   "B|FSONLY|1",         "B|PEDANTIC|1",
    "B|PERRORS|1",    "B|MBTABLE|1",        "B|COMPTOAS|1",
    "B|PSMCRODEFS|1", "B|OUTLSTMCRODEFS|1", "B|OUTLSTMCRODEFSUB|1",
    "B|RUNONLYCPP|1", "B|PRNTHDRFILNAME|1", "B|PRNTCMDVER|1",
    "B|FDATASECTS|1",
};
inline constexpr SV kOtherFlags[] = {
    "-C",
    "-nostdinc",
    "-P",
    "-pg",
    "-save-temps",
    "-traditional-cpp",
    "-trigraphs",
    "-undef",
    "-fbranch-probabilities",
    "-fcaller-saves",
    "-fcond-mismatch",
    "-fcse-follow-jumps",
    "-fcse-skip-blocks",
    "-fdelayed-branch",
    "-fexpensive-optimizations",
    "-ffast-math",
    "-ffloat-store",
    "-fforce-mem",
    "-ffunction-sections",
    "-finline-functions",
    "-fkeep-inline-functions",
    "-fno-asm",
    "-fno-builtin",
    "-fno-defer-pop",
    "-fno-function-cse",
    "-fno-inline",
    "-fno-peephole",
    "-fomit-frame-pointer",
    "-fprofile-arcs",
    "-frerun-cse-after-loop",
    "-fschedule-insns",
    "-fschedule-insns2",
    "-fsigned-char",
    "-funsigned-char",
    "-fstrength-reduce",
    "-ftest-coverage",
    "-fthread-jumps",
    "-funsigned-bitfields",
    "-funroll-all-loops",
    "-funroll-loops",
    "-fwritable-strings",
    "-ansi",
    "-traditional",
    "-fsyntax-only",
    "-pedantic",
    "-pedantic-errors",
    "-mbigtable",
    "-S",
    "-dD",
    "-dM",
    "-dN",
    "-E",
    "-H",
    "-v",
    "-fdata-sections",
};
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
