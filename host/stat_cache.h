// Modification times for one build: each path is asked of the file system
// once, until a step that writes it finishes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/path_table.h"

namespace quorle::host {

// Modification time of a file in nanoseconds, or nullopt when it is missing.
using TimeLookup = std::optional<int64_t> (*)(const std::string& path);

class StatCache {
  public:
    explicit StatCache(TimeLookup lookup) : lookup_(lookup) {}
    std::optional<int64_t> Time(std::string_view path);
    // The same for a path the build state numbers: after the first look-up
    // by its number alone, with no hashing of the path. A no-op asks this
    // once per dependency of every step.
    std::optional<int64_t> TimeOf(uint32_t id, std::string_view path);
    // A time found by someone else in this build (a missing file: nullopt);
    // one known already stays.
    void Seed(std::string_view path, std::optional<int64_t> time);
    void Reserve(size_t paths) { known_.reserve(paths); }
    // Room for the numbers a build state gives, so the list is not grown
    // to twice what it needs.
    void ReserveNumbered(size_t ids) { numbered_.reserve(ids); }
    // The file was (re)written: ask again next time.
    void Forget(std::string_view path);
    size_t lookups() const { return lookups_; }

  private:
    // What is known of the path of the same number in `paths_`.
    struct Known {
        enum State : uint8_t { Unknown, Missing, Found } state = Unknown;
        int64_t time = 0;
    };
    std::optional<int64_t> TimeAt(uint32_t at);
    uint32_t Slot(std::string_view path);

    TimeLookup lookup_;
    PathTable paths_;
    std::vector<Known> known_;
    std::vector<uint32_t> numbered_; // the state's number -> our number + 1; 0: not yet
    size_t lookups_ = 0;
};

} // namespace quorle::host
