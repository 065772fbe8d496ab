#include "platform/platform.h"

namespace quorle::platform {

// No common-controls library exists here; nothing to check.
std::optional<CommonControlsVersion> GetCommonControlsVersion() {
    return std::nullopt;
}

} // namespace quorle::platform
