// After the host ran a tool: the build report, the discarding of output,
// the archive and S-record steps and the feedback counter.
#pragma once

#include <optional>
#include <string_view>

#include "core/phase.h"
#include "core/user_message.h"
#include "phases/feedback.h"
#include "phases/run_tool.h"

struct QuorleProjectInfo;

namespace quorle::phases {

// The post phase runs in three parts, so that the export shows each part's
// messages before the next part deletes a file or runs a tool. The record
// has been checked and the phase is implemented.

// The build report: 0, or 1 when the report cannot be made, with what the
// user is to be told and, after a link, the feedback dialog to show.
struct PostReport {
    int status = 0;
    UserMessages messages;
    std::optional<FeedbackRequest> feedback;
};
PostReport RunPostReport(PhaseIndex phaseIndex, std::string_view options, std::string_view command,
                         const QuorleProjectInfo& info);

// Deletes the step's main output for a build that discards it. A discarded
// output is neither archived nor converted: the tools would only fail on the
// missing file.
struct OutputDiscard {
    bool discarded = false;
    UserMessages messages;
};
OutputDiscard DiscardPostOutput(PhaseIndex phaseIndex, std::string_view options,
                                const QuorleProjectInfo& info);

// The archive or S-record step the options ask for. Its outcome, or
// `reportStatus` with no messages when no step runs.
StepOutcome RunPostSteps(PhaseIndex phaseIndex, std::string_view options,
                         const QuorleProjectInfo& info, int reportStatus);

} // namespace quorle::phases
