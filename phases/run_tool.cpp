#include "phases/run_tool.h"

#include "platform/platform.h"

namespace quorle::phases {

namespace {

// A message box holds a few lines, not megabytes.
constexpr size_t kShownOutputBytes = 4096;

// What the tool printed, after the step's message: it says what went wrong.
std::string WithToolOutput(const char* message, const std::string& output) {
    std::string text = message;
    size_t end = output.find_last_not_of(" \t\r\n");
    if (end == std::string::npos) return text;
    bool cut = end + 1 > kShownOutputBytes;
    text += '\n';
    for (char c : output.substr(0, cut ? kShownOutputBytes : end + 1))
        if (c != '\r') text += c;
    if (cut) text += "\n...";
    return text;
}

} // namespace

StepOutcome RunTool(const std::string& commandLine, const ToolMessages& messages,
                    uint32_t timeoutMs) {
    platform::ProcessOptions options;
    options.timeoutMs = timeoutMs;
    // Read while it runs, so the child never blocks on a full pipe.
    options.captureOutput = true;
    platform::ProcessResult result = platform::RunProcess(commandLine, options);
    if (!result.started) return {1, {}};
    const char* message = nullptr;
    if (result.timedOut)
        message = messages.timedOut;
    else if (result.exitCode != 0)
        message = messages.failed;
    if (message == nullptr) return {0, {}};
    return {1, {ErrorText(WithToolOutput(message, result.output))}};
}

} // namespace quorle::phases
