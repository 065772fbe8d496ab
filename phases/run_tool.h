// Running ar and objcopy for the post-phase steps.
#pragma once

#include <cstdint>
#include <string>

namespace quorle::phases {

struct ToolMessages {
    const char* timedOut;
    const char* failed;
};

inline constexpr uint32_t kToolTimeoutMs = 90000;

// Starts the command line without a window and waits for it. A tool that
// cannot start gives 1 silently; a tool still running after the time-out is
// terminated, and a tool that ends with a non-zero exit code counts as failed:
// both show their message and give 1.
int RunTool(const std::string& commandLine, const ToolMessages& messages,
            uint32_t timeoutMs = kToolTimeoutMs);

} // namespace quorle::phases
