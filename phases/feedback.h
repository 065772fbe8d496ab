// The feedback request: links are counted per toolchain build in the current
// user's registry, and at a few counts the user is asked for feedback.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorle::phases {

// The registry key under which the counters live (with a trailing backslash).
inline constexpr std::string_view kFeedbackStoreKey = "Software\\Dravikon\\GNU Support\\";
// Where "Provide feedback" leads; the path and the query keys are fixed.
inline constexpr std::string_view kFeedbackAddress = "https://support.dravikon.com/feedback.php";

// Each character combined by exclusive or with the same position of the
// scramble key; applying it twice gives the text back.
std::string ScrambleCount(std::string_view text);
// "%.8lu" of the count, scrambled.
std::string EncodeCount(uint32_t count);
// The count a stored value holds (0 when it holds no number).
uint32_t DecodeCount(std::string_view stored);

// 30, 100 and every multiple of 500.
bool IsFeedbackThreshold(uint32_t count);

struct FeedbackAnswer {
    bool provideFeedback = false;
    bool dontAskAgain = false;
};
// Reads the dialog's answer word: FEEDBACK, NOTHANKS, each optionally with
// "+NOASK". Anything else is "No thanks".
FeedbackAnswer ParseFeedbackAnswer(std::string_view word);

// The feedback page for a toolchain build and link count.
std::string FeedbackUrl(std::string_view buildTag, uint32_t count);

// Counts one link with this toolchain build. Registry failures end it
// silently. Returns the new count, or nothing when counting is switched off
// or failed.
std::optional<uint32_t> CountLinkForFeedback(const std::string& buildTag);

// The feedback dialog a link count asks for; the export shows it, since it
// may open the feedback page.
struct FeedbackRequest {
    std::string buildTag;
    uint32_t count = 0;
    bool operator==(const FeedbackRequest&) const = default;
};
// A request when the count is a threshold.
std::optional<FeedbackRequest> FeedbackRequestFor(const std::string& buildTag,
                                                  std::optional<uint32_t> count);

// The dialog's caption and words.
inline constexpr std::string_view kFeedbackCaption = "Request for Feedback";
std::string FeedbackRequestText(const FeedbackRequest& request);
// Stores the "don't ask again" choice for the request's build.
void StoreFeedbackAnswer(const FeedbackRequest& request, const FeedbackAnswer& answer);
// The Internet shortcut that leads to the feedback page.
std::string FeedbackShortcutText(const FeedbackRequest& request);

} // namespace quorle::phases
