#include "platform/posix/native_path.h"

#include <algorithm>

#include "platform/platform.h"

namespace quorle::platform {

std::string NativePath(const std::string& path) {
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
}

} // namespace quorle::platform

namespace quorle::platform::posix {

bool MayWrite(const std::string& nativePath, bool truncate) {
    auto attributes = GetFileAttributes(nativePath);
    if (!attributes) return true; // a new file
    if (*attributes & (kAttrReadOnly | kAttrDirectory)) return false;
    return !(truncate && (*attributes & kAttrHidden));
}

std::vector<std::string> NativeArguments(std::vector<std::string> arguments) {
    bool macroValue = false;
    for (std::string& arg : arguments) {
        bool macro = macroValue || arg.rfind("-D", 0) == 0;
        macroValue = arg == "-D";
        if (!macro) std::replace(arg.begin(), arg.end(), '\\', '/');
    }
    return arguments;
}

} // namespace quorle::platform::posix
