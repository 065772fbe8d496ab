#include <cstdio>

#include "platform/message_log.h"
#include "platform/platform.h"

namespace quorle::platform {

namespace {

// The request's lines joined into one, so a build log stays readable.
std::string OneLine(const std::string& text) {
    std::string line;
    bool blank = false;
    for (char c : text) {
        bool space = c == '\n' || c == '\r' || c == '\t' || c == ' ';
        if (space) {
            blank = !line.empty();
            continue;
        }
        if (blank) line += ' ';
        blank = false;
        line += c;
    }
    return line;
}

} // namespace

// Linux has no dialog: the answer comes from the queue, and a build with
// nothing queued declines without waiting for anyone. Where boxes are not
// logged to a file, the request is one readable line on standard error.
std::string ShowFeedbackDialog(const std::string& caption, const std::string& text) {
    if (MessagesRedirected()) return AskQueued(caption, text, "NOTHANKS");
    auto queued = NextQueuedAnswer();
    std::string answer = queued && !queued->empty() ? *queued : "NOTHANKS";
    std::fprintf(stderr, "%s: %s [%s]\n", caption.c_str(), OneLine(text).c_str(),
                 answer.c_str());
    std::fflush(stderr);
    return answer;
}

} // namespace quorle::platform
