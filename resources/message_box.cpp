#include "resources/message_box.h"

#include "platform/platform.h"
#include "resources/string_table.h"

namespace quorle {

std::string UserMessageText(const UserMessage& message) {
    std::string format =
        message.stringId != 0 ? LoadModuleString(message.stringId).value_or("") : message.text;
    return FormatMessageText(format, message.arguments);
}

void ShowUserMessage(const UserMessage& message) {
    bool warning = message.kind == MessageKind::Warning;
    platform::ShowMessage(warning ? "WARNING" : "ERROR", UserMessageText(message),
                          platform::MessageButtons::Ok,
                          warning ? platform::MessageIcon::Warning : platform::MessageIcon::Error);
}

void ShowUserMessages(const UserMessages& messages) {
    for (const UserMessage& message : messages) ShowUserMessage(message);
}

} // namespace quorle
