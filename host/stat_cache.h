// Modification times for one build: each path is asked of the file system
// once, until a step that writes it finishes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace quorle::host {

// Modification time of a file in nanoseconds, or nullopt when it is missing.
using TimeLookup = std::optional<int64_t> (*)(const std::string& path);

class StatCache {
  public:
    explicit StatCache(TimeLookup lookup) : lookup_(lookup) {}
    std::optional<int64_t> Time(const std::string& path);
    // The same for a path the build state numbers: after the first look-up
    // by its number alone, with no hashing of the path, until a file is
    // forgotten. A no-op asks this once per dependency of every step.
    std::optional<int64_t> TimeOf(uint32_t id, std::string_view path);
    // A time found by someone else in this build (a missing file: nullopt).
    void Seed(std::string path, std::optional<int64_t> time) {
        times_.emplace(std::move(path), time);
    }
    void Reserve(size_t paths) { times_.reserve(paths); }
    // Room for the numbers a build state gives, so the list is not grown
    // to twice what it needs.
    void ReserveNumbered(size_t ids) { numbered_.reserve(ids); }
    // The file was (re)written: ask again next time.
    void Forget(const std::string& path) {
        times_.erase(path);
        // Each number is asked by its path again.
        if (++generation_ == 0) numbered_.clear(), generation_ = 1;
    }
    size_t lookups() const { return lookups_; }

  private:
    struct NumberedTime {
        uint32_t generation = 0; // 0: never asked
        bool missing = false;
        int64_t time = 0;
    };
    TimeLookup lookup_;
    std::unordered_map<std::string, std::optional<int64_t>> times_;
    std::vector<NumberedTime> numbered_;
    uint32_t generation_ = 1;
    size_t lookups_ = 0;
};

} // namespace quorle::host
