// The file system's answers for many paths at once. Each answer is a system
// call spent mostly in the kernel's walk of the path, so a large batch is
// spread over a few threads; a small one is asked on the calling thread,
// where starting a thread would cost more than it saves.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quorle::host {

// The answer for each path, in the order given. threads 0 picks one thread
// per core, up to a few.
std::vector<std::optional<platform::EntryStatus>>
StatEntries(std::span<const std::string* const> paths, unsigned threads = 0);

} // namespace quorle::host
