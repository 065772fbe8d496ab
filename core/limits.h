// Sizes past which a call gives up rather than exhaust a 32-bit host's
// address space. Each caller fails cleanly past its limit (the export
// answers 1); the README's reliability section lists them.
#pragma once

#include <cstddef>

namespace quorle {

// Most bytes read from one file or one child's output, and the longest text
// one call builds from them.
inline constexpr size_t kMaxTextBytes = size_t{64} << 20;

} // namespace quorle
