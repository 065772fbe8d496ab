// Showing a returned message in a message box.
#pragma once

#include <string>

#include "core/user_message.h"

namespace quorle {

// The message's words: its module string (empty when the table has none) or
// its text, with the arguments filled in.
std::string UserMessageText(const UserMessage& message);
// "ERROR" or "WARNING" with the matching icon and an OK button.
void ShowUserMessage(const UserMessage& message);
void ShowUserMessages(const UserMessages& messages);

} // namespace quorle
