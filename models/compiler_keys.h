// Key tables of the compiler options model and the gcc flags that go with
// them; a switch row also holds the label the C/C++ pages show. A field's
// value is the position of its token in its table.
#pragma once

#include <string_view>

#include "models/flag_option.h"
#include "models/gcc_switches.h"

namespace quorle::models::compiler_keys {

using SV = std::string_view;

using models::ChoiceOption;
using models::FlagOption;
using models::FlagsOf;
using models::KeysOf;
using models::TokensOf;
namespace gcc = models::gcc_switches;

inline constexpr SV kLanguage[] = {"", "S|LANG|CPP", "S|LANG|PREPRO"};
inline constexpr auto kProjectType = TokensOf(models::kProjectTypeOptions);
inline constexpr SV kOptLib[] = {"B|DOOPTLIB|0", "B|DOOPTLIB|1"};
inline constexpr SV kChgIncPath[] = {"", "B|CHGINCPATH|1"};

inline constexpr SV kIncDir = "S|INCDIR|";
inline constexpr SV kPreInclude = "S|PREINCLUDE|";
inline constexpr SV kDefines = "S|DEFINES|";
inline constexpr SV kFileInlinePath = "S|FILE_INLINE_PATH|";
inline constexpr SV kWInhibit[] = {"", "B|WINHIBIT|1"};
inline constexpr SV kWAll = "B|WALL|1";

// The thirteen basic warnings, then the eighteen extra ones.
inline constexpr FlagOption kWarn1Options[] = {
    {"B|WNIMPORT|1", "-Wno-import", "Don't warn about #import"},
    {"B|WCSUB|1", "-Wchar-subscripts", "Array subscripts of type char"},
    {"B|WCOMMENT|1", "-Wcomment", "Nested comment openers"},
    {"B|WFORMAT|1", "-Wformat", "printf and scanf format mismatches"},
    {"B|WIMPLICIT|1", "-Wimplicit", "Implicit declarations"},
    {"B|WPAREN|1", "-Wparentheses", "Parentheses that may be missing"},
    {"B|WRTYPE|1", "-Wreturn-type", "Missing or wrong return types"},
    {"B|WSWITCH|1", "-Wswitch", "switch without a case for an enum value"},
    {"B|WTGRAPH|1", "-Wtrigraphs", "Trigraphs met in the source"},
    {"B|WUNUSED|1", "-Wunused", "Unused variables and functions"},
    {"B|WUINIT|1", "-Wuninitialized", "Variables used uninitialized"},
    {"B|WREORDER|1", "-Wreorder", "Member initializers out of order (C++)"},
    {"B|WSCOMP|1", "-Wsign-compare", "Signed and unsigned comparisons"},
};
inline constexpr auto kWarn1Keys = KeysOf(kWarn1Options);
inline constexpr auto kWarn1Flags = FlagsOf(kWarn1Options);
inline constexpr FlagOption kWarn2Options[] = {
    {"B|PEWARN|1", "-W", "Extra warnings"},
    {"B|WARETURN|1", "-Waggregate-return", "Functions returning structures or unions"},
    {"B|WBFCAST|1", "-Wbad-function-cast", "Casts of a call to a non-matching type"},
    {"B|WCALIGN|1", "-Wcast-align", "Casts that raise the alignment"},
    {"B|WCQUAL|1", "-Wcast-qual", "Casts that drop a qualifier"},
    {"B|WCON|1", "-Wconversion", "Conversions a prototype changes"},
    {"B|WERROR|1", "-Werror", "Treat warnings as errors"},
    {"B|WINLINE|1", "-Winline", "Functions not inlined as asked"},
    {"B|WMDEC|1", "-Wmissing-declarations", "Global functions without a declaration"},
    {"B|WMPROTO|1", "-Wmissing-prototypes", "Global functions without a prototype"},
    {"B|WNEXTERN|1", "-Wnested-externs", "extern declarations inside functions"},
    {"B|WPARITH|1", "-Wpointer-arith", "Arithmetic on void or function pointers"},
    {"B|WRDECL|1", "-Wredundant-decls", "Redundant declarations"},
    {"B|WSHADOW|1", "-Wshadow", "Locals that shadow other names"},
    {"B|WSPROTO|1", "-Wstrict-prototypes", "Functions declared without argument types"},
    {"B|WSYNTH|1", "-Wsynth", "Synthesized operators (C++)"},
    {"B|WTRAD|1", "-Wtraditional", "Constructs that differ in traditional C"},
    {"B|WWSTR|1", "-Wwrite-strings", "String constants as const char arrays"},
};
inline constexpr auto kWarn2Keys = KeysOf(kWarn2Options);
inline constexpr auto kWarn2Flags = FlagsOf(kWarn2Options);

inline constexpr SV kOutput[] = {"S|OUTPUT|OBJECT", "S|OUTPUT|ASMCODE", "S|OUTPUT|PREPROCESSOR",
                                 "S|OUTPUT|PREPROCESSORNOLINE"};
inline constexpr SV kObjPath = "S|OBJPATH|";
inline constexpr SV kDebug[] = {"B|DEBUG|0", "B|DEBUG|1"};
inline constexpr ChoiceOption kDebugLevelOptions[] = {
    {"I|DEBUGLV|1", "-g1", "Level 1 (-g1)"},
    {"I|DEBUGLV|2", "-g2", "Level 2 (-g2)"},
    {"I|DEBUGLV|3", "-g3", "Level 3 (-g3)"},
};
inline constexpr auto kDebugLevel = TokensOf(kDebugLevelOptions);
inline constexpr auto kDebugLevelFlags = FlagsOf(kDebugLevelOptions);
inline constexpr SV kDebugLevelOff = "I|DEBUGLV|0";
inline constexpr ChoiceOption kDebugFormatOptions[] = {
    {"S|DEBUGFT|Native", "-g", "Native (-g)"},
    {"S|DEBUGFT|COFF", "-gcoff", "COFF (-gcoff)"},
    {"S|DEBUGFT|DWARF", "-gdwarf-2", "DWARF 2 (-gdwarf-2)"},
    {"S|DEBUGFT|DWARF+", "-gdwarf+", "DWARF with extensions (-gdwarf+)"},
    {"S|DEBUGFT|stabs", "-gstabs", "stabs (-gstabs)"},
    {"S|DEBUGFT|stabs+", "-gstabs+", "stabs with extensions (-gstabs+)"},
    {"S|DEBUGFT|XCOFF", "-gxcoff", "XCOFF (-gxcoff)"},
    {"S|DEBUGFT|XCOFF+", "-gxcoff+", "XCOFF with extensions (-gxcoff+)"},
};
inline constexpr auto kDebugFormat = TokensOf(kDebugFormatOptions);
inline constexpr auto kDebugFormatFlags = FlagsOf(kDebugFormatOptions);

inline constexpr SV kListing[] = {"", "B|LOUTLIST|1"};
inline constexpr SV kLFile = "S|LFILE|";
using models::kListContentKeys;
using models::kListContentLetters;

inline constexpr SV kOptimize[] = {"B|OPTIMIZE|0", "B|OPTIMIZE|1"};
inline constexpr ChoiceOption kOptLevelOptions[] = {
    {"I|OPTLV|1", "-O3 -fno-function-cse -funit-at-a-time -funroll-loops -fno-gcse", "Speed (-O3)"},
    {"I|OPTLV|2",
     "-Os -fno-function-cse -funit-at-a-time -falign-jumps -fdata-sections -ffunction-sections",
     "Size (-Os)"},
    {"I|OPTLV|3", "-O2", "Speed and size (-O2)"},
};
inline constexpr auto kOptLevel = TokensOf(kOptLevelOptions);
inline constexpr auto kOptLevelFlags = FlagsOf(kOptLevelOptions);
inline constexpr SV kLto[] = {"B|LTO|0", "B|LTO|1"};
inline constexpr SV kMap[] = {"", "B|SMAP|1", "B|MAP|1"};
inline constexpr SV kMapPath = "S|MAPPATH|";
inline constexpr SV kOptimizeOld[] = {"B|OPTIMIZEOLD|0", "B|OPTIMIZEOLD|1", "B|OPTIMIZEOLD|2"};
inline constexpr SV kGOptimize[] = {"", "B|GOPTIMIZE|1"};

inline constexpr FlagOption kOtherOptions[] = {
    {"B|COMMENTS|1", "-C", "Keep comments in preprocessed output"},
    {"B|NOSTDINC|1", "-nostdinc", "Don't search the standard include directories"},
    {"B|PPNGLDIR|1", "-P", "No #line directives in preprocessed output"},
    {"B|GPINFO|1", "-pg", "Profile for gprof"},
    {"B|SAVETMPS|1", "-save-temps", "Keep intermediate files"},
    gcc::Row("B|TRADCPP|1"),
    gcc::Row("B|TRIGRPHS|1"),
    gcc::Row("B|UNDEF|1"),
    {"B|FBRPROB|1", "-fbranch-probabilities", "Use branch probabilities"},
    gcc::Row("B|FCSAVES|1"),
    gcc::Row("B|FCONDMIS|1"),
    gcc::Row("B|FFOLLJMP|1"),
    gcc::Row("B|FSKPBLKS|1"),
    gcc::Row("B|FDBRANCH|1"),
    gcc::Row("B|FEXPOPTS|1"),
    gcc::Row("B|FFMATH|1"),
    gcc::Row("B|FFSTORE|1"),
    {"B|FFMEM|1", "-fforce-mem", "Force memory operands into registers"},
    gcc::Row("B|FFSECTS|1"),
    gcc::Row("B|FILFUNCS|1"),
    gcc::Row("B|FKFUNCS|1"),
    {"B|FNOASM|1", "-fno-asm", "No asm, inline or typeof keywords"},
    {"B|FNOB|1", "-fno-builtin", "No built-in functions"},
    gcc::Row("B|FNDRPOP|1"),
    gcc::Row("B|FNFCSE|1"),
    gcc::Row("B|FNIN|1"),
    gcc::Row("B|FNPHOLE|1"),
    gcc::Row("B|FOFPOINT|1"),
    gcc::Row("B|FPROARCS|1"),
    gcc::Row("B|FRRLOOP|1"),
    gcc::Row("B|FSINSNS|1"),
    gcc::Row("B|FSINSNS2|1"),
    gcc::Row("B|FSCHAR|1"),
    gcc::Row("B|FUSCHAR|1"),
    gcc::Row("B|FSREDUCE|1"),
    gcc::Row("B|FTCOV|1"),
    gcc::Row("B|FTJUMPS|1"),
    gcc::Row("B|FUSBIT|1"),
    gcc::Row("B|FUALOOPS|1"),
    gcc::Row("B|FULOOPS|1"),
    {"B|FWSTRING|1", "-fwritable-strings", "Writable string constants"},
    gcc::Row("B|ANSI|1"),
    gcc::Row("B|TRADCOMP|1"),
    {"B|FSONLY|1", "-fsyntax-only", "Check syntax only"},
    {"B|PEDANTIC|1", "-pedantic", "Pedantic warnings"},
    {"B|PERRORS|1", "-pedantic-errors", "Pedantic errors"},
    {"B|MBTABLE|1", "-mbigtable", "32-bit offsets in switch tables"},
    {"B|COMPTOAS|1", "-S", "Compile to assembler only"},
    {"B|PSMCRODEFS|1", "-dD", "Keep macro definitions in the output"},
    {"B|OUTLSTMCRODEFS|1", "-dM", "List macro definitions only"},
    {"B|OUTLSTMCRODEFSUB|1", "-dN", "List macro names with the output"},
    {"B|RUNONLYCPP|1", "-E", "Preprocess only"},
    {"B|PRNTHDRFILNAME|1", "-H", "Print the header files used"},
    {"B|PRNTCMDVER|1", "-v", "Print the commands run (verbose)"},
    gcc::Row("B|FDATASECTS|1")};
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
inline constexpr ChoiceOption kTemplateOptions[] = {
    {"S|TEMPLATE|NONE", "-template=none", "None"},
    {"S|TEMPLATE|STATIC", "-template=static", "Static"},
    {"S|TEMPLATE|USED", "-template=used", "Used"},
    {"S|TEMPLATE|ALL", "-template=all", "All"},
};
inline constexpr auto kTemplate = TokensOf(kTemplateOptions);
inline constexpr auto kTemplateFlags = FlagsOf(kTemplateOptions);
inline constexpr SV kAssembly = "S|ASSEMBLY|";
// Address classes: the key prefix, the flag (the 32-bit class has none) and
// the bit count the options editor shows.
inline constexpr ChoiceOption kAbsClassOptions[] = {
    {"S|ABS16|", "-abs16=", "16"},
    {"S|ABS20|", "-abs20=", "20"},
    {"S|ABS28|", "-abs28=", "28"},
    {"S|ABS32|", "", "32"},
};
inline constexpr auto kAbsPrefixes = TokensOf(kAbsClassOptions);
inline constexpr auto kAbsFlags = FlagsOf(kAbsClassOptions);
// Section kinds: the word in the option string and in the flag.
inline constexpr ChoiceOption kSectionKindOptions[] = {
    {"PROGRAM", "program"}, {"CONST", "const"}, {"DATA", "data"}, {"BSS", "bss"}, {"RUN", "run"},
};
inline constexpr auto kSectionKinds = TokensOf(kSectionKindOptions);
inline constexpr auto kSectionKindsLower = FlagsOf(kSectionKindOptions);
inline constexpr SV kAllKinds = "ALL";
inline constexpr SV kDivision[] = {"S|DIVISION|CPUINLINE", "S|DIVISION|CPURUNTIME"};
inline constexpr SV kNoLine[] = {"", "B|NOLINE|1"};
inline constexpr SV kIFunc[] = {"", "B|IFUNC|1"};
inline constexpr ChoiceOption kAlignOptions[] = {
    {"I|ALIGN|4", "", "4 bytes"},
    {"I|ALIGN|16", "-align16", "16 bytes (-align16)"},
    {"I|ALIGN|32", "-align32", "32 bytes (-align32)"},
};
inline constexpr auto kAlign = TokensOf(kAlignOptions);
inline constexpr auto kAlignFlags = FlagsOf(kAlignOptions);
inline constexpr SV kAlign16Old = "B|ALIGN16|1";
inline constexpr ChoiceOption kAlign4ScopeOptions[] = {
    {"S|ALIGN4|ALL", "-align4=all", "All (-align4=all)"},
    {"S|ALIGN4|LOOP", "-align4=loop", "Loops (-align4=loop)"},
    {"S|ALIGN4|INMOSTLOOP", "-align4=inmostloop", "Innermost loops (-align4=inmostloop)"},
};
inline constexpr auto kAlign4Scope = TokensOf(kAlign4ScopeOptions);
inline constexpr auto kAlign4Flags = FlagsOf(kAlign4ScopeOptions);
inline constexpr SV kStuffSection = "S|STUFF_SECTION|";
// Stuffed sections: the word in the option string and after -stuff=.
inline constexpr ChoiceOption kStuffOptions[] = {
    {"CONST", "const"}, {"DATA", "data"}, {"BSS", "bss"}};
inline constexpr auto kStuffNames = TokensOf(kStuffOptions);
inline constexpr auto kStuffFlagNames = FlagsOf(kStuffOptions);
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
