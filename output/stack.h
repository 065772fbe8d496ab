// The stack information query: the GNU tools produce no stack information
// file, so the answer is always the empty text.
#pragma once

#include <string>
#include <string_view>

#include "core/user_message.h"

namespace quorle::output {

// The file's name, with what the user is to be told about the options.
struct StackFile {
    std::string path;
    UserMessages messages;
};
StackFile StackInformationFile(std::string_view options);

} // namespace quorle::output
