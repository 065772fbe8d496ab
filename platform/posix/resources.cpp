#include "platform/platform.h"

namespace quorle::platform {

// Shared objects carry no string resources; the string table is compiled in.
std::optional<std::string> LoadResourceString(int /*id*/) {
    return std::nullopt;
}

} // namespace quorle::platform
