// The library generator options model: one object per Generator-phase option
// string (one per project and configuration).
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "models/cpu_options.h"
#include "models/model_base.h"

namespace quorle::models {

inline constexpr int kGenHeaderCount = 5;
inline constexpr int kGenFlagCount = 34;
inline constexpr int kGenModeAlways = 0;
inline constexpr int kGenModeWhenChanged = 1;

class CGeneratorModel : public CModelBase {
  public:
    CGeneratorModel();
    explicit CGeneratorModel(std::string_view optionString);

    bool operator==(const CGeneratorModel&) const = default;

    int m_nMode = kGenModeWhenChanged;
    int m_nBuild = 1;      // build the library
    int m_nOptLib = 0;     // 0 "newlib", 1 "optlib"
    int m_nNoPrebuilt = 0; // pre-built libraries disabled
    std::string m_strOutput = "$(CONFIGDIR)\\lib$(PROJECTNAME).a";
    std::array<bool, kGenHeaderCount> m_aHeaders{}; // ctype, math, stdio, stdlib, string
    int m_nOptimize = 1;
    int m_nOptType = 2; // 0 speed, 1 size, 2 both
    std::array<bool, kGenFlagCount> m_aFlags{};
    std::string m_strUserCompiler;
    std::string m_strUserAssembler;
    CpuOptions m_cpu;

  protected:
    void ResetFields() override;
    void BeforeRead(std::string_view optionString) override;
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;

  private:
    struct NoReset {};
    explicit CGeneratorModel(NoReset) : CModelBase(kPhaseGenerator) {}
};

namespace generator_keys {
using SV = std::string_view;
inline constexpr SV kModePrefix = "S|MODE|";
inline constexpr SV kMode[] = {"S|MODE|BUILD", "S|MODE|BUILD/CHANGED"};
inline constexpr SV kBuild[] = {"B|DOPROJBUILT|0", "B|DOPROJBUILT|1"};
inline constexpr SV kOptLib[] = {"B|DOOPTLIB|0", "B|DOOPTLIB|1"};
inline constexpr SV kNoPrebuilt[] = {"", "B|RXDISABLEPREBUILT|1"};
inline constexpr SV kOutputPath = "S|OUTPUTPATH|";
inline constexpr SV kHeaderKeys[] = {"B|CTYPE|1", "B|MATH|1", "B|STDIO|1", "B|STDLIB|1",
                                     "B|STRING|1"};
inline constexpr SV kHeaderNames[] = {"ctype", "math", "stdio", "stdlib", "string"};
inline constexpr SV kOptimize[] = {"B|OPTIMIZE|0", "B|OPTIMIZE|1"};
inline constexpr SV kOptType[] = {"I|OPTTYPE|0", "I|OPTTYPE|1", "I|OPTTYPE|2"};
inline constexpr SV kOptTypeFlags[] = {
    "-O3,-fno-function-cse,-funit-at-a-time,-funroll-loops,-fno-gcse",
    "-Os,-fdata-sections,-ffunction-sections,-falign-jumps,-fno-function-cse,-funit-at-a-time",
    "-O2"};
inline constexpr SV kFlagKeys[] = {
    "B|FCSAVES|1",  "B|FCONDMIS|1", "B|FFOLLJMP|1", "B|FSKPBLKS|1", "B|FDBRANCH|1",
    "B|FEXPOPTS|1", "B|FFMATH|1",   "B|FFSTORE|1",  "B|FFSECTS|1",  "B|FDATASECTS|1",
    "B|FILFUNCS|1", "B|FKFUNCS|1",  "B|FNDRPOP|1",  "B|FNFCSE|1",   "B|FNIN|1",
    "B|FNPHOLE|1",  "B|FOFPOINT|1", "B|FPROARCS|1", "B|FRRLOOP|1",  "B|FSINSNS|1",
    "B|FSINSNS2|1", "B|FSCHAR|1",   "B|FUSCHAR|1",  "B|FSREDUCE|1", "B|FTCOV|1",
    "B|FTJUMPS|1",  "B|FUSBIT|1",   "B|FUALOOPS|1", "B|FULOOPS|1",  "B|ANSI|1",
    "B|TRADCOMP|1", "B|TRADCPP|1",  "B|TRIGRPHS|1", "B|UNDEF|1",
};
inline constexpr SV kFlagArgs[] = {
    "-fcaller-saves",
    "-fcond-mismatch",
    "-fcse-follow-jumps",
    "-fcse-skip-blocks",
    "-fdelayed-branch",
    "-fexpensive-optimizations",
    "-ffast-math",
    "-ffloat-store",
    "-ffunction-sections",
    "-fdata-sections",
    "-finline-functions",
    "-fkeep-inline-functions",
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
    "-ansi",
    "-traditional",
    "-traditional-cpp",
    "-trigraphs",
    "-undef",
};
inline constexpr SV kAppTxtCmp = "S|APPTXTCMP|";
inline constexpr SV kAppTxtAsm = "S|APPTXTASM|";
// The host compiler's detailed-optimisation keys: accepted, no effect, not written.
inline constexpr SV kIgnoredKeys[] = {
    "B|GLOBAL_VOLATILE|1",
    "B|MAX_UNROLL|1",
    "B|DEL_VACANT_LOOP|1",
    "B|NOSCOPE|1",
    "B|INFINITE_LOOP|1",
    "B|STRUCT_ALLOC|0",
    "S|OPT_RANGE|ALL",
    "S|OPT_RANGE|NOLOOP",
    "S|OPT_RANGE|NOBLOCK",
    "S|CONST_LOAD|INLINE",
    "S|CONST_LOAD|LITERAL",
    "B|GLOBAL_ALLOC|0",
    "B|GLOBAL_ALLOC|1",
    "B|CONST_VAR_PROPAGATE|0",
    "B|CONST_VAR_PROPAGATE|1",
    "B|SCHEDULE|0",
    "B|SCHEDULE|1",
};
inline constexpr SV kIgnoredPrefixes[] = {"I|MAX_UNROLL|", "I|GV_LEVEL|"};
} // namespace generator_keys

} // namespace quorle::models
