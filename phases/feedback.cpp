#include "phases/feedback.h"

#include <cstdio>

#include "options/option_string.h"
#include "platform/platform.h"

namespace quorle::phases {

namespace {

constexpr char kScrambleKey[] = "plovinar";
constexpr size_t kScrambleKeyLength = sizeof kScrambleKey - 1;
constexpr uint32_t kLargestCount = 99999999; // keeps the stored text at eight digits

std::string RequestsKey(const std::string& buildTag) {
    return std::string(kFeedbackStoreKey) + "FeedbackRequests-" + buildTag;
}

std::string CounterKey(const std::string& buildTag) {
    return std::string(kFeedbackStoreKey) + buildTag;
}

bool IsUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '.' || c == '_' || c == '~';
}

// Toolchain names hold blanks and brackets, which a URL cannot carry as they are.
std::string PercentEncode(std::string_view text) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (IsUnreserved(c)) {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

} // namespace

std::string ScrambleCount(std::string_view text) {
    std::string out(text);
    for (size_t i = 0; i < out.size() && i < kScrambleKeyLength; ++i)
        out[i] = static_cast<char>(out[i] ^ kScrambleKey[i]);
    return out;
}

std::string EncodeCount(uint32_t count) {
    char digits[16];
    std::snprintf(digits, sizeof digits, "%.8lu", static_cast<unsigned long>(count));
    return ScrambleCount(digits);
}

uint32_t DecodeCount(std::string_view stored) {
    std::string digits = ScrambleCount(stored);
    return static_cast<uint32_t>(
        options::ParseDecimal(digits, 0, kLargestCount, 0, /*allowSign=*/false));
}

bool IsFeedbackThreshold(uint32_t count) {
    return count == 30 || count == 100 || (count != 0 && count % 500 == 0);
}

FeedbackAnswer ParseFeedbackAnswer(std::string_view word) {
    FeedbackAnswer answer;
    constexpr std::string_view kNoAsk = "+NOASK";
    if (word.size() >= kNoAsk.size() && word.substr(word.size() - kNoAsk.size()) == kNoAsk) {
        answer.dontAskAgain = true;
        word.remove_suffix(kNoAsk.size());
    }
    answer.provideFeedback = word == "FEEDBACK";
    return answer;
}

std::string FeedbackUrl(std::string_view buildTag, uint32_t count) {
    return std::string(kFeedbackAddress) + "?toolChainName=" + PercentEncode(buildTag) +
           "&count=" + std::to_string(count);
}

std::optional<uint32_t> CountLinkForFeedback(const std::string& buildTag) {
    auto allowed = platform::RegistryQueryValue(RequestsKey(buildTag));
    if (allowed && options::ParseDecimal(*allowed, INT32_MIN, INT32_MAX, 0) == 0)
        return std::nullopt;
    auto stored = platform::RegistryQueryValue(CounterKey(buildTag));
    if (!stored) {
        if (!platform::RegistrySetValue(CounterKey(buildTag), EncodeCount(1))) return std::nullopt;
        return 1;
    }
    uint32_t count = DecodeCount(*stored);
    if (count < kLargestCount) ++count;
    if (!platform::RegistrySetValue(CounterKey(buildTag), EncodeCount(count))) return std::nullopt;
    return count;
}

std::optional<FeedbackRequest> FeedbackRequestFor(const std::string& buildTag,
                                                  std::optional<uint32_t> count) {
    if (!count || !IsFeedbackThreshold(*count)) return std::nullopt;
    return FeedbackRequest{buildTag, *count};
}

std::string FeedbackRequestText(const FeedbackRequest& request) {
    return "You have now linked " + std::to_string(request.count) + " times with " +
           request.buildTag +
           ".\nWould you take a moment to tell us what you think of the Dravik GNU tools?";
}

void StoreFeedbackAnswer(const FeedbackRequest& request, const FeedbackAnswer& answer) {
    platform::RegistrySetValue(RequestsKey(request.buildTag), answer.dontAskAgain ? "0" : "1");
}

std::string FeedbackShortcutText(const FeedbackRequest& request) {
    return "[InternetShortcut]\nURL=" + FeedbackUrl(request.buildTag, request.count) + "\n";
}

} // namespace quorle::phases
