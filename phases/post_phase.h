// After the host ran a tool: the build report, the discarding of output,
// the archive and S-record steps and the feedback counter.
#pragma once

#include "core/phase.h"
#include <string_view>

struct QuorleProjectInfo;

namespace quorle::phases {

// The record has been checked. Returns 0 or 1: the result of the last step
// that ran (report, then archive or S-record conversion).
int RunPostPhase(PhaseIndex phaseIndex, std::string_view options, std::string_view command,
                 bool discardOutput, const QuorleProjectInfo& info);

} // namespace quorle::phases
