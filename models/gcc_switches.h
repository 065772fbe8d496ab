// The gcc switches that both the compiler's Other page and the library
// generator's compiler options offer, one row each. Each model lists the rows
// it takes, in its own order (compiler_keys.h, generator_model.h).
#pragma once

#include "models/flag_option.h"

namespace quorle::models::gcc_switches {

inline constexpr FlagOption kTraditionalCpp{"B|TRADCPP|1", "-traditional-cpp",
                                            "Traditional preprocessor"};
inline constexpr FlagOption kTrigraphs{"B|TRIGRPHS|1", "-trigraphs", "Process trigraphs"};
inline constexpr FlagOption kUndef{"B|UNDEF|1", "-undef", "No predefined macros"};
inline constexpr FlagOption kCallerSaves{"B|FCSAVES|1", "-fcaller-saves",
                                         "Keep values in call-clobbered registers"};
inline constexpr FlagOption kCondMismatch{"B|FCONDMIS|1", "-fcond-mismatch",
                                          "Allow mismatched conditional arms"};
inline constexpr FlagOption kCseFollowJumps{"B|FFOLLJMP|1", "-fcse-follow-jumps",
                                            "Follow jumps in common subexpressions"};
inline constexpr FlagOption kCseSkipBlocks{"B|FSKPBLKS|1", "-fcse-skip-blocks",
                                           "Skip blocks in common subexpressions"};
inline constexpr FlagOption kDelayedBranch{"B|FDBRANCH|1", "-fdelayed-branch", "Fill delay slots"};
inline constexpr FlagOption kExpensiveOptimizations{"B|FEXPOPTS|1", "-fexpensive-optimizations",
                                                    "Expensive optimizations"};
inline constexpr FlagOption kFastMath{"B|FFMATH|1", "-ffast-math", "Fast, non-IEEE math"};
inline constexpr FlagOption kFloatStore{"B|FFSTORE|1", "-ffloat-store",
                                        "Keep floats out of registers"};
inline constexpr FlagOption kFunctionSections{"B|FFSECTS|1", "-ffunction-sections",
                                              "Each function in its own section"};
inline constexpr FlagOption kInlineFunctions{"B|FILFUNCS|1", "-finline-functions",
                                             "Inline simple functions"};
inline constexpr FlagOption kKeepInlineFunctions{"B|FKFUNCS|1", "-fkeep-inline-functions",
                                                 "Keep inline functions as well"};
inline constexpr FlagOption kNoDeferPop{"B|FNDRPOP|1", "-fno-defer-pop",
                                        "Pop arguments after every call"};
inline constexpr FlagOption kNoFunctionCse{"B|FNFCSE|1", "-fno-function-cse",
                                           "No function address in registers"};
inline constexpr FlagOption kNoInline{"B|FNIN|1", "-fno-inline", "Ignore inline"};
inline constexpr FlagOption kNoPeephole{"B|FNPHOLE|1", "-fno-peephole", "No peephole optimization"};
inline constexpr FlagOption kOmitFramePointer{"B|FOFPOINT|1", "-fomit-frame-pointer",
                                              "Omit the frame pointer"};
inline constexpr FlagOption kProfileArcs{"B|FPROARCS|1", "-fprofile-arcs", "Profile arcs"};
inline constexpr FlagOption kRerunCseAfterLoop{"B|FRRLOOP|1", "-frerun-cse-after-loop",
                                               "Rerun common subexpressions after loops"};
inline constexpr FlagOption kScheduleInsns{"B|FSINSNS|1", "-fschedule-insns",
                                           "Schedule instructions"};
inline constexpr FlagOption kScheduleInsns2{"B|FSINSNS2|1", "-fschedule-insns2",
                                            "Schedule instructions after allocation"};
inline constexpr FlagOption kSignedChar{"B|FSCHAR|1", "-fsigned-char", "char is signed"};
inline constexpr FlagOption kUnsignedChar{"B|FUSCHAR|1", "-funsigned-char", "char is unsigned"};
inline constexpr FlagOption kStrengthReduce{"B|FSREDUCE|1", "-fstrength-reduce",
                                            "Strength reduction"};
inline constexpr FlagOption kTestCoverage{"B|FTCOV|1", "-ftest-coverage", "Coverage data for gcov"};
inline constexpr FlagOption kThreadJumps{"B|FTJUMPS|1", "-fthread-jumps", "Thread jumps"};
inline constexpr FlagOption kUnsignedBitfields{"B|FUSBIT|1", "-funsigned-bitfields",
                                               "Bit-fields are unsigned"};
inline constexpr FlagOption kUnrollAllLoops{"B|FUALOOPS|1", "-funroll-all-loops",
                                            "Unroll all loops"};
inline constexpr FlagOption kUnrollLoops{"B|FULOOPS|1", "-funroll-loops",
                                         "Unroll loops with a known count"};
inline constexpr FlagOption kAnsi{"B|ANSI|1", "-ansi", "ANSI C"};
inline constexpr FlagOption kTraditional{"B|TRADCOMP|1", "-traditional", "Traditional C"};
inline constexpr FlagOption kDataSections{"B|FDATASECTS|1", "-fdata-sections",
                                          "Each data item in its own section"};

} // namespace quorle::models::gcc_switches
