#include "depend/scan_guards.h"

#include "platform/platform.h"

namespace quorle::depend {

CurrentDirectoryGuard::CurrentDirectoryGuard() : saved_(platform::GetCurrentDirectory()) {}

CurrentDirectoryGuard::~CurrentDirectoryGuard() {
    if (changed_) platform::SetCurrentDirectory(saved_);
}

bool CurrentDirectoryGuard::Enter(const std::string& dir) {
    if (!platform::SetCurrentDirectory(dir)) return false;
    changed_ = true;
    return true;
}

EnvironmentGuard::EnvironmentGuard(std::string name)
    : name_(std::move(name)), saved_(platform::GetEnv(name_)) {}

EnvironmentGuard::~EnvironmentGuard() {
    if (!changed_) return;
    if (saved_) {
        platform::SetEnv(name_, *saved_);
    } else {
        platform::UnsetEnv(name_);
    }
}

void EnvironmentGuard::Set(const std::string& value) {
    changed_ = true;
    platform::SetEnv(name_, value);
}

} // namespace quorle::depend
