// Texts the host shows while it builds: progress texts per event and the
// readable form of a tool invocation.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "core/user_message.h"

namespace quorle {

// The progress text of an event in list form, or nothing for an unknown
// event (or a string that cannot be loaded).
std::optional<std::string> DisplayEventText(std::string_view phaseDisplayName,
                                            std::string_view eventKey);

// The command text followed by the lines of the sub-command file it names
// (and of any temporary linker script that file names), indented. A script
// that cannot be read is left out with a message. Empty when the file cannot
// be read or the text would pass kMaxTextBytes.
struct DisplayText {
    std::string text;
    UserMessages messages;
};
DisplayText CommandLineDisplayText(std::string_view command);

} // namespace quorle
