// Process-wide settings a scan changes for its duration, put back on every
// way out of the scan.
#pragma once

#include <optional>
#include <string>

namespace quorle::depend {

class CurrentDirectoryGuard {
  public:
    CurrentDirectoryGuard();
    ~CurrentDirectoryGuard();
    CurrentDirectoryGuard(const CurrentDirectoryGuard&) = delete;
    CurrentDirectoryGuard& operator=(const CurrentDirectoryGuard&) = delete;
    // False when the current directory could not be read.
    bool Saved() const { return !saved_.empty(); }
    // Makes `dir` current; false when that fails.
    bool Enter(const std::string& dir);

  private:
    std::string saved_;
    bool changed_ = false;
};

class EnvironmentGuard {
  public:
    explicit EnvironmentGuard(std::string name);
    ~EnvironmentGuard();
    EnvironmentGuard(const EnvironmentGuard&) = delete;
    EnvironmentGuard& operator=(const EnvironmentGuard&) = delete;
    void Set(const std::string& value);

  private:
    std::string name_;
    std::optional<std::string> saved_;
    bool changed_ = false;
};

} // namespace quorle::depend
