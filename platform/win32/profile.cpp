#include "platform/win32/windows_api.h"

#include <vector>

#include "platform/platform.h"

namespace quorle::platform {

std::string ProfileGetString(const std::string& file, const std::string& section,
                             const std::string& key, const std::string& defaultValue,
                             size_t bufferSize, size_t* copied) {
    std::vector<char> buffer(bufferSize == 0 ? 1 : bufferSize, '\0');
    DWORD n = bufferSize == 0
                  ? 0
                  : ::GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(),
                                               buffer.data(), static_cast<DWORD>(bufferSize),
                                               file.c_str());
    if (copied != nullptr) *copied = n;
    return std::string(buffer.data(), n);
}

bool ProfileWriteString(const std::string& file, const std::string& section, const std::string& key,
                        const std::string& value) {
    return ::WritePrivateProfileStringA(section.c_str(), key.c_str(), value.c_str(),
                                        file.c_str()) != 0;
}

} // namespace quorle::platform
