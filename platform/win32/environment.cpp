#include "platform/win32/windows_api.h"

#include "platform/platform.h"

namespace quorle::platform {

std::optional<std::string> GetEnv(const std::string& name) {
    ::SetLastError(ERROR_SUCCESS);
    DWORD size = ::GetEnvironmentVariableA(name.c_str(), nullptr, 0);
    if (size == 0) {
        if (::GetLastError() == ERROR_ENVVAR_NOT_FOUND) return std::nullopt;
        return std::string();
    }
    std::string value(size, '\0');
    DWORD n = ::GetEnvironmentVariableA(name.c_str(), value.data(), size);
    if (n >= size) return std::nullopt; // changed between the calls
    value.resize(n);
    return value;
}

bool SetEnv(const std::string& name, const std::string& value) {
    return ::SetEnvironmentVariableA(name.c_str(), value.c_str()) != 0;
}

bool UnsetEnv(const std::string& name) {
    return ::SetEnvironmentVariableA(name.c_str(), nullptr) != 0;
}

std::vector<std::string> EnvironmentStrings() {
    std::vector<std::string> entries;
    char* block = ::GetEnvironmentStringsA();
    if (block == nullptr) return entries;
    for (const char* entry = block; *entry != '\0'; entry += strlen(entry) + 1) {
        entries.emplace_back(entry);
    }
    ::FreeEnvironmentStringsA(block);
    return entries;
}

} // namespace quorle::platform
