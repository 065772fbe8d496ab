// What went wrong, as a value. Deep code returns these; the export or phase
// handler at the top decides whether and where to show them, so the same
// code can later report into the options editor's own windows.
#pragma once

#include <string>
#include <utility>
#include <vector>

namespace quorle {

// Chooses the box's caption and icon: "ERROR" with the error icon, or
// "WARNING" with the warning icon.
enum class MessageKind { Error, Warning };

struct UserMessage {
    MessageKind kind = MessageKind::Error;
    // A numbered module string (see resources/string_ids.h), or 0 when the
    // message's words are in `text`.
    int stringId = 0;
    std::string text;
    // Values for the "%s"/"%d" fields of the string or text, in order.
    std::vector<std::string> arguments;

    bool operator==(const UserMessage&) const = default;
};

// Messages in the order they are to be shown.
using UserMessages = std::vector<UserMessage>;

inline UserMessage ErrorText(std::string text) {
    return {MessageKind::Error, 0, std::move(text), {}};
}
inline UserMessage WarningText(std::string text) {
    return {MessageKind::Warning, 0, std::move(text), {}};
}
inline UserMessage ErrorString(int stringId, std::vector<std::string> arguments = {}) {
    return {MessageKind::Error, stringId, {}, std::move(arguments)};
}
inline UserMessage WarningString(int stringId, std::vector<std::string> arguments = {}) {
    return {MessageKind::Warning, stringId, {}, std::move(arguments)};
}

// Replaces each "%s" or "%d" in `format` with the next argument; a field with
// no argument left, and every other '%', is kept as written.
std::string FormatMessageText(const std::string& format, const std::vector<std::string>& arguments);

} // namespace quorle
