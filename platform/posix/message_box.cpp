#include "platform/message_log.h"
#include "platform/platform.h"
#include "platform/posix/native_path.h"
#include "platform/posix/spawn.h"

namespace quorle::platform {

// Linux has no modal box: the answer comes from the queue and the box is
// logged, so that a build never waits for a keyboard.
MessageAnswer ShowMessage(const std::string& caption, const std::string& text,
                          MessageButtons buttons, MessageIcon /*icon*/) {
    MessageAnswer answer = ChooseAnswer(buttons, NextQueuedAnswer());
    EmitMessageLine(FormatMessageLine(caption, text, AnswerWord(answer)));
    return answer;
}

bool ShellOpen(const std::string& path) {
    if (MessagesRedirected()) {
        LogMessageLine("OPEN\t" + path);
        return true;
    }
    // The viewer is started in the background so that the call returns at
    // once even when xdg-open waits for the browser.
    ProcessOptions options;
    options.timeoutMs = 5000;
    options.captureOutput = false;
    options.endGroup = false; // the viewer runs on after the shell
    ProcessResult result = posix::RunArguments(
        {"/bin/sh", "-c",
         "command -v xdg-open >/dev/null || exit 1; xdg-open \"$1\" >/dev/null 2>&1 &", "sh",
         NativePath(path)},
        options);
    return result.started && !result.timedOut && result.exitCode == 0;
}

} // namespace quorle::platform
