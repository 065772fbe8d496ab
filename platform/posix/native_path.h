// Helpers shared by the POSIX implementation files.
#pragma once

#include <string>
#include <vector>

#include "platform/platform.h" // NativePath: texts carry Windows separators, the file system wants "/"

namespace quorle::platform::posix {

// Extended attribute that keeps the hidden and archive flags, which a POSIX
// file system has no place for.
inline constexpr const char* kAttributeXattr = "user.quorle.attributes";

// Windows refuses to replace a read-only file, and to truncate a hidden one;
// root on Linux would not, so the writers check first.
bool MayWrite(const std::string& nativePath, bool truncate);

// A child's arguments as the tools here read them: the plug-in's Windows
// paths get "/" for every "\\", as paths do at every file call. Macro
// definitions ("-DNAME=value", or "-D" and the argument after it) are the
// user's own text and keep their bytes.
std::vector<std::string> NativeArguments(std::vector<std::string> arguments);

} // namespace quorle::platform::posix
