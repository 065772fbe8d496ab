// Running ar and objcopy for the post-phase steps.
#pragma once

#include <cstdint>
#include <string>

#include "core/user_message.h"

namespace quorle::phases {

struct ToolMessages {
    const char* timedOut;
    const char* failed;
};

// A step's status (0 done, 1 failed; before a tool also 2, nothing to do)
// and what the user is to be told, in order.
struct StepOutcome {
    int status = 0;
    UserMessages messages;
};

inline constexpr uint32_t kToolTimeoutMs = 90000;

// Starts the command line without a window and waits for it. A tool that
// cannot start gives 1 silently; a tool still running after the time-out is
// terminated, and a tool that ends with a non-zero exit code counts as failed:
// both give 1 and their message, followed on its own lines by what the tool
// printed.
StepOutcome RunTool(const std::string& commandLine, const ToolMessages& messages,
                    uint32_t timeoutMs = kToolTimeoutMs);

} // namespace quorle::phases
