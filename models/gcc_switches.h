// The gcc switches that both the compiler's Other page and the library
// generator's compiler options offer, one row each. Each model picks the rows
// it takes by key, in its own order (compiler_keys.h, generator_model.h).
#pragma once

#include <string_view>

#include "models/flag_option.h"

namespace quorle::models::gcc_switches {

inline constexpr FlagOption kRows[] = {
    {"B|TRADCPP|1", "-traditional-cpp", "Traditional preprocessor"},
    {"B|TRIGRPHS|1", "-trigraphs", "Process trigraphs"},
    {"B|UNDEF|1", "-undef", "No predefined macros"},
    {"B|FCSAVES|1", "-fcaller-saves", "Keep values in call-clobbered registers"},
    {"B|FCONDMIS|1", "-fcond-mismatch", "Allow mismatched conditional arms"},
    {"B|FFOLLJMP|1", "-fcse-follow-jumps", "Follow jumps in common subexpressions"},
    {"B|FSKPBLKS|1", "-fcse-skip-blocks", "Skip blocks in common subexpressions"},
    {"B|FDBRANCH|1", "-fdelayed-branch", "Fill delay slots"},
    {"B|FEXPOPTS|1", "-fexpensive-optimizations", "Expensive optimizations"},
    {"B|FFMATH|1", "-ffast-math", "Fast, non-IEEE math"},
    {"B|FFSTORE|1", "-ffloat-store", "Keep floats out of registers"},
    {"B|FFSECTS|1", "-ffunction-sections", "Each function in its own section"},
    {"B|FILFUNCS|1", "-finline-functions", "Inline simple functions"},
    {"B|FKFUNCS|1", "-fkeep-inline-functions", "Keep inline functions as well"},
    {"B|FNDRPOP|1", "-fno-defer-pop", "Pop arguments after every call"},
    {"B|FNFCSE|1", "-fno-function-cse", "No function address in registers"},
    {"B|FNIN|1", "-fno-inline", "Ignore inline"},
    {"B|FNPHOLE|1", "-fno-peephole", "No peephole optimization"},
    {"B|FOFPOINT|1", "-fomit-frame-pointer", "Omit the frame pointer"},
    {"B|FPROARCS|1", "-fprofile-arcs", "Profile arcs"},
    {"B|FRRLOOP|1", "-frerun-cse-after-loop", "Rerun common subexpressions after loops"},
    {"B|FSINSNS|1", "-fschedule-insns", "Schedule instructions"},
    {"B|FSINSNS2|1", "-fschedule-insns2", "Schedule instructions after allocation"},
    {"B|FSCHAR|1", "-fsigned-char", "char is signed"},
    {"B|FUSCHAR|1", "-funsigned-char", "char is unsigned"},
    {"B|FSREDUCE|1", "-fstrength-reduce", "Strength reduction"},
    {"B|FTCOV|1", "-ftest-coverage", "Coverage data for gcov"},
    {"B|FTJUMPS|1", "-fthread-jumps", "Thread jumps"},
    {"B|FUSBIT|1", "-funsigned-bitfields", "Bit-fields are unsigned"},
    {"B|FUALOOPS|1", "-funroll-all-loops", "Unroll all loops"},
    {"B|FULOOPS|1", "-funroll-loops", "Unroll loops with a known count"},
    {"B|ANSI|1", "-ansi", "ANSI C"},
    {"B|TRADCOMP|1", "-traditional", "Traditional C"},
    {"B|FDATASECTS|1", "-fdata-sections", "Each data item in its own section"},
};

// The shared row with `key`; a key no row has fails to compile.
constexpr FlagOption Row(std::string_view key) {
    return kRows[RowOf(kRows, key)];
}

} // namespace quorle::models::gcc_switches
