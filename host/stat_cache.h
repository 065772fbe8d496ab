// Modification times for one build: each path is asked of the file system
// once, until a step that writes it finishes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "host/path_identity.h"
#include "host/path_table.h"

namespace quorle::host {

// Modification time of a file in nanoseconds, or nullopt when it is missing.
using TimeLookup = std::optional<int64_t> (*)(const std::string& path);

class StatCache {
  public:
    // `numbered`: the build state's paths, which the cache shares rather
    // than holding them again; it must outlive the cache.
    StatCache(TimeLookup lookup, const PathTable& numbered)
        : lookup_(lookup), numbered_(numbered) {}
    std::optional<int64_t> Time(std::string_view path);
    // The same for a path of the shared table, by its number alone, with no
    // hashing of the path. A no-op asks this once per dependency of every
    // step.
    std::optional<int64_t> TimeOf(uint32_t id);
    // A time found by someone else in this build (a missing file: nullopt);
    // one known already stays.
    void Seed(std::string_view path, std::optional<int64_t> time);
    // The same for all the times a plan found. When the shared table took
    // their paths over (BuildState::Load), by number, with no hashing;
    // otherwise one by one, by name.
    void SeedAll(const FoundTimes& found);
    // Room for the numbers of the shared table, so the list is not grown to
    // twice what it needs.
    void ReserveNumbered(size_t ids) { byNumber_.reserve(ids); }
    // The file was (re)written: ask again next time.
    void Forget(std::string_view path);
    size_t lookups() const { return lookups_; }

  private:
    struct Known {
        enum State : uint8_t { Unknown, Missing, Found } state = Unknown;
        int64_t time = 0;
        void Set(std::optional<int64_t> found) {
            *this = {found ? Found : Missing, found.value_or(0)};
        }
        std::optional<int64_t> Get() const {
            return state == Found ? std::optional<int64_t>(time) : std::nullopt;
        }
    };
    // What is known of a path, found by its number or by its name; a path
    // seen by name before the shared table had it is not asked again.
    Known& OfNumber(uint32_t id);
    Known& OfName(std::string_view path);
    std::optional<int64_t> Ask(Known& known, std::string_view path);

    TimeLookup lookup_;
    const PathTable& numbered_;
    std::vector<Known> byNumber_;
    PathTable paths_;          // the paths the shared table does not have
    std::vector<Known> known_; // by the numbers of `paths_`
    size_t lookups_ = 0;
};

} // namespace quorle::host
