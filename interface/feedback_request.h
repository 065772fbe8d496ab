// The feedback dialog a post phase asked for, and the page it may open.
#pragma once

#include "phases/feedback.h"

namespace quorle {

// Shows the request and acts on the answer: stores the "don't ask again"
// choice and, for "Provide feedback", opens an Internet shortcut.
void ShowFeedbackRequest(const phases::FeedbackRequest& request);

} // namespace quorle
