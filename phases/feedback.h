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

// Counts one link with this toolchain build; at a threshold shows the
// feedback dialog. Registry failures end it silently. Returns the new count,
// or nothing when counting is switched off or failed.
std::optional<uint32_t> CountLinkForFeedback(const std::string& buildTag);

// Shows the request and acts on the answer: stores the "don't ask again"
// choice and, for "Provide feedback", opens an Internet shortcut.
void ShowFeedbackDialog(const std::string& buildTag, uint32_t count);

} // namespace quorle::phases
