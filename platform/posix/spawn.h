#pragma once

#include <string>
#include <vector>

#include "platform/platform.h"

namespace quorle::platform::posix {

// RunProcess on an argument vector that is already split.
ProcessResult RunArguments(std::vector<std::string> arguments, const ProcessOptions& options);

// The read end of the pipe that an interrupt makes readable (and keeps
// readable), or -1 before WatchInterrupts.
int InterruptFd();

} // namespace quorle::platform::posix
