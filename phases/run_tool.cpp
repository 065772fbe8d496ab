#include "phases/run_tool.h"

#include "platform/platform.h"

namespace quorle::phases {

StepOutcome RunTool(const std::string& commandLine, const ToolMessages& messages,
                    uint32_t timeoutMs) {
    platform::ProcessOptions options;
    options.timeoutMs = timeoutMs;
    // The output is read (so the child never blocks on a full pipe) but not shown.
    options.captureOutput = true;
    platform::ProcessResult result = platform::RunProcess(commandLine, options);
    if (!result.started) return {1, {}};
    const char* message = nullptr;
    if (result.timedOut)
        message = messages.timedOut;
    else if (result.exitCode != 0)
        message = messages.failed;
    if (message == nullptr) return {0, {}};
    return {1, {ErrorText(message)}};
}

} // namespace quorle::phases
