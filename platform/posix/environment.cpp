#include <cstdlib>

#include "platform/platform.h"

extern char** environ;

namespace quorle::platform {

std::optional<std::string> GetEnv(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value == nullptr) return std::nullopt;
    return std::string(value);
}

bool SetEnv(const std::string& name, const std::string& value) {
    return setenv(name.c_str(), value.c_str(), 1) == 0;
}

bool UnsetEnv(const std::string& name) {
    return unsetenv(name.c_str()) == 0;
}

std::vector<std::string> EnvironmentStrings() {
    std::vector<std::string> entries;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) entries.emplace_back(*e);
    return entries;
}

} // namespace quorle::platform
