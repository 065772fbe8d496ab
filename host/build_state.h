// What the host remembers between builds, per configuration directory: for
// each step, the option string and inputs that built its outputs. A step is
// up to date when its outputs exist, are newer than everything it reads, and
// were built from the same option string and inputs.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace quorle::host {

struct StepRecord {
    std::string options;
    std::string inputs;
};

class BuildState {
  public:
    // The state file of a configuration directory.
    static std::string FileIn(const std::string& configDir);

    bool Load(const std::string& path); // a missing file is an empty state
    bool Save(const std::string& path) const;

    const StepRecord* Find(const std::string& key) const;
    void Set(const std::string& key, StepRecord record) { records_[key] = std::move(record); }
    void Erase(const std::string& key) { records_.erase(key); }
    size_t size() const { return records_.size(); }

  private:
    std::map<std::string, StepRecord> records_;
};

// Modification time of a file in nanoseconds, or nullopt when it is missing.
using TimeLookup = std::optional<int64_t> (*)(const std::string& path);

struct UpToDateQuery {
    std::vector<std::string> outputs;
    std::vector<std::string> reads; // the source, its dependencies, linker inputs
    StepRecord current;
    const StepRecord* stored = nullptr;
};

// Why a step must run, or an empty text when it is up to date.
std::string OutOfDateReason(const UpToDateQuery& query, TimeLookup time);

} // namespace quorle::host
