#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace quorle::platform::posix {

// RunProcess on an argument vector that is already split.
ProcessResult RunArguments(std::vector<std::string> arguments, const ProcessOptions& options);

} // namespace quorle::platform::posix
