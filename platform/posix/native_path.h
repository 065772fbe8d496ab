// Helpers shared by the POSIX implementation files.
#pragma once

#include <string>

#include "platform/platform.h" // NativePath: texts carry Windows separators, the file system wants "/"

namespace quorle::platform::posix {

// Extended attribute that keeps the hidden and archive flags, which a POSIX
// file system has no place for.
inline constexpr const char* kAttributeXattr = "user.quorle.attributes";

// Windows refuses to replace a read-only file, and to truncate a hidden one;
// root on Linux would not, so the writers check first.
bool MayWrite(const std::string& nativePath, bool truncate);

} // namespace quorle::platform::posix
