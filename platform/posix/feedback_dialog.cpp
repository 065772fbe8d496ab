#include "platform/platform.h"

namespace quorle::platform {

// Linux has no dialog: the answer comes from the queue, and a build with
// nothing queued declines without waiting for anyone.
std::string ShowFeedbackDialog(const std::string& caption, const std::string& text) {
    return AskQueued(caption, text, "NOTHANKS");
}

} // namespace quorle::platform
