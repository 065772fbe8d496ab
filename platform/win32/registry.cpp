#include "platform/win32/windows_api.h"

#include "platform/platform.h"

namespace quorle::platform {

std::optional<std::string> RegistryQueryValue(const std::string& keyPath) {
    LONG size = 0;
    if (::RegQueryValueA(HKEY_CURRENT_USER, keyPath.c_str(), nullptr, &size) != ERROR_SUCCESS) {
        return std::nullopt;
    }
    std::string value(static_cast<size_t>(size) + 1, '\0');
    size = static_cast<LONG>(value.size());
    if (::RegQueryValueA(HKEY_CURRENT_USER, keyPath.c_str(), value.data(), &size) !=
        ERROR_SUCCESS) {
        return std::nullopt;
    }
    value.resize(strnlen(value.c_str(), value.size()));
    return value;
}

bool RegistrySetValue(const std::string& keyPath, const std::string& value) {
    HKEY key = nullptr;
    if (::RegCreateKeyA(HKEY_CURRENT_USER, keyPath.c_str(), &key) != ERROR_SUCCESS) return false;
    LONG result =
        ::RegSetValueA(key, nullptr, REG_SZ, value.c_str(), static_cast<DWORD>(value.size()));
    ::RegCloseKey(key);
    return result == ERROR_SUCCESS;
}

} // namespace quorle::platform
