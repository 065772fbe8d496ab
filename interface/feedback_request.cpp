#include "interface/feedback_request.h"

#include <string>

#include "platform/platform.h"

namespace quorle {

namespace {

void OpenFeedbackPage(const phases::FeedbackRequest& request) {
    auto placeholder = platform::CreateTempFile(platform::TempDirectory(), "URL");
    if (!placeholder) return;
    std::string shortcut = *placeholder + ".url";
    bool written =
        platform::WriteFile(shortcut, phases::FeedbackShortcutText(request), /*textMode=*/true);
    // The empty file only reserved the unique name.
    platform::DeleteFile(*placeholder);
    if (written) platform::ShellOpen(shortcut);
}

} // namespace

void ShowFeedbackRequest(const phases::FeedbackRequest& request) {
    phases::FeedbackAnswer answer = phases::ParseFeedbackAnswer(platform::ShowFeedbackDialog(
        std::string(phases::kFeedbackCaption), phases::FeedbackRequestText(request)));
    phases::StoreFeedbackAnswer(request, answer);
    if (answer.provideFeedback) OpenFeedbackPage(request);
}

} // namespace quorle
