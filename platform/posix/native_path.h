// Helpers shared by the POSIX implementation files.
#pragma once

#include <string>

namespace quorle::platform::posix {

// Texts carry Windows separators; the file system wants "/".
std::string NativePath(const std::string& path);

// Extended attribute that keeps the hidden and archive flags, which a POSIX
// file system has no place for.
inline constexpr const char* kAttributeXattr = "user.quorle.attributes";

// Windows refuses to replace a read-only file, and to truncate a hidden one;
// root on Linux would not, so the writers check first.
bool MayWrite(const std::string& nativePath, bool truncate);

} // namespace quorle::platform::posix
