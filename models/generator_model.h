// The library generator options model: one object per Generator-phase option
// string (one per project and configuration).
#pragma once

#include <array>
#include <iterator>
#include <string>
#include <string_view>

#include "models/compiler_keys.h"
#include "models/cpu_options.h"
#include "models/flag_option.h"
#include "models/gcc_switches.h"
#include "models/model_base.h"

namespace quorle::models {

namespace generator_keys {
using SV = std::string_view;
inline constexpr SV kModePrefix = "S|MODE|";
inline constexpr SV kMode[] = {"S|MODE|BUILD", "S|MODE|BUILD/CHANGED"};
inline constexpr SV kBuild[] = {"B|DOPROJBUILT|0", "B|DOPROJBUILT|1"};
inline constexpr SV kOptLib[] = {"B|DOOPTLIB|0", "B|DOOPTLIB|1"};
inline constexpr SV kNoPrebuilt[] = {"", "B|RXDISABLEPREBUILT|1"};
inline constexpr SV kOutputPath = "S|OUTPUTPATH|";
// Each header switch names the header the generated library includes.
inline constexpr models::FlagOption kHeaderOptions[] = {
    {"B|CTYPE|1", "ctype"},   {"B|MATH|1", "math"},     {"B|STDIO|1", "stdio"},
    {"B|STDLIB|1", "stdlib"}, {"B|STRING|1", "string"},
};
inline constexpr auto kHeaderKeys = models::KeysOf(kHeaderOptions);
inline constexpr auto kHeaderNames = models::FlagsOf(kHeaderOptions);
inline constexpr SV kOptimize[] = {"B|OPTIMIZE|0", "B|OPTIMIZE|1"};
// The compiler's optimisation levels under the generator's tokens and flags.
inline constexpr models::ChoiceOption kOptTypeOptions[] = {
    {"I|OPTTYPE|0", "-O3,-fno-function-cse,-funit-at-a-time,-funroll-loops,-fno-gcse",
     compiler_keys::kOptLevelOptions[0].label},
    {"I|OPTTYPE|1",
     "-Os,-fdata-sections,-ffunction-sections,-falign-jumps,-fno-function-cse,-funit-at-a-time",
     compiler_keys::kOptLevelOptions[1].label},
    {"I|OPTTYPE|2", "-O2", compiler_keys::kOptLevelOptions[2].label},
};
inline constexpr auto kOptType = models::TokensOf(kOptTypeOptions);
inline constexpr auto kOptTypeFlags = models::FlagsOf(kOptTypeOptions);
namespace gcc = models::gcc_switches;
// The shared gcc switches in the order --compiler-options= gives them.
inline constexpr models::FlagOption kFlagOptions[] = {
    gcc::Row("B|FCSAVES|1"),    gcc::Row("B|FCONDMIS|1"), gcc::Row("B|FFOLLJMP|1"),
    gcc::Row("B|FSKPBLKS|1"),   gcc::Row("B|FDBRANCH|1"), gcc::Row("B|FEXPOPTS|1"),
    gcc::Row("B|FFMATH|1"),     gcc::Row("B|FFSTORE|1"),  gcc::Row("B|FFSECTS|1"),
    gcc::Row("B|FDATASECTS|1"), gcc::Row("B|FILFUNCS|1"), gcc::Row("B|FKFUNCS|1"),
    gcc::Row("B|FNDRPOP|1"),    gcc::Row("B|FNFCSE|1"),   gcc::Row("B|FNIN|1"),
    gcc::Row("B|FNPHOLE|1"),    gcc::Row("B|FOFPOINT|1"), gcc::Row("B|FPROARCS|1"),
    gcc::Row("B|FRRLOOP|1"),    gcc::Row("B|FSINSNS|1"),  gcc::Row("B|FSINSNS2|1"),
    gcc::Row("B|FSCHAR|1"),     gcc::Row("B|FUSCHAR|1"),  gcc::Row("B|FSREDUCE|1"),
    gcc::Row("B|FTCOV|1"),      gcc::Row("B|FTJUMPS|1"),  gcc::Row("B|FUSBIT|1"),
    gcc::Row("B|FUALOOPS|1"),   gcc::Row("B|FULOOPS|1"),  gcc::Row("B|ANSI|1"),
    gcc::Row("B|TRADCOMP|1"),   gcc::Row("B|TRADCPP|1"),  gcc::Row("B|TRIGRPHS|1"),
    gcc::Row("B|UNDEF|1")};
inline constexpr auto kFlagKeys = models::KeysOf(kFlagOptions);
inline constexpr auto kFlagArgs = models::FlagsOf(kFlagOptions);
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

inline constexpr int kGenHeaderCount = static_cast<int>(std::size(generator_keys::kHeaderOptions));
inline constexpr int kGenFlagCount = static_cast<int>(std::size(generator_keys::kFlagOptions));
inline constexpr int kGenModeAlways = 0;
inline constexpr int kGenModeWhenChanged = 1;

// Every field a reset restores, with its default.
struct GeneratorFields {
    int mode_ = kGenModeWhenChanged;
    int build_ = 1;      // build the library
    int optLib_ = 0;     // 0 "newlib", 1 "optlib"
    int noPrebuilt_ = 0; // pre-built libraries disabled
    std::string output_ = "$(CONFIGDIR)\\lib$(PROJECTNAME).a";
    std::array<bool, kGenHeaderCount> headers_{}; // ctype, math, stdio, stdlib, string
    int optimize_ = 1;
    int optType_ = 2; // 0 speed, 1 size, 2 both
    std::array<bool, kGenFlagCount> flags_{};
    std::string userCompiler_;
    std::string userAssembler_;
    CpuOptions cpu_;

    bool operator==(const GeneratorFields&) const = default;
};

class GeneratorModel : public ModelBase, public GeneratorFields {
  public:
    // Every key table the reader recognises; a token whose key is not in
    // it is not read.
    static const KeyRegistry& ReadKeys();

    GeneratorModel();
    explicit GeneratorModel(std::string_view optionString);

    bool operator==(const GeneratorModel&) const = default;

  protected:
    void ResetFields() override;
    void BeforeRead(std::string_view optionString) override;
    void AfterRead() override { cpu_.KeepZentaLimitsForZentaOnly(); }
    bool ReadToken(std::string_view body) override;
    void WriteTokens(std::string& out) const override;
};

} // namespace quorle::models
