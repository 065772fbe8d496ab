#include "host/stat_cache.h"

namespace quorle::host {

uint32_t StatCache::Slot(std::string_view path) {
    uint32_t at = paths_.Intern(path);
    if (at >= known_.size()) known_.resize(static_cast<size_t>(at) + 1);
    return at;
}

std::optional<int64_t> StatCache::TimeAt(uint32_t at) {
    Known& known = known_[at];
    if (known.state == Known::Unknown) {
        ++lookups_;
        std::optional<int64_t> time = lookup_(std::string(paths_[at]));
        known = {time ? Known::Found : Known::Missing, time.value_or(0)};
    }
    return known.state == Known::Found ? std::optional<int64_t>(known.time) : std::nullopt;
}

std::optional<int64_t> StatCache::Time(std::string_view path) {
    return TimeAt(Slot(path));
}

std::optional<int64_t> StatCache::TimeOf(uint32_t id, std::string_view path) {
    if (id >= numbered_.size()) numbered_.resize(static_cast<size_t>(id) + 1, 0);
    if (numbered_[id] == 0) numbered_[id] = Slot(path) + 1;
    return TimeAt(numbered_[id] - 1);
}

void StatCache::Seed(std::string_view path, std::optional<int64_t> time) {
    Known& known = known_[Slot(path)];
    if (known.state == Known::Unknown)
        known = {time ? Known::Found : Known::Missing, time.value_or(0)};
}

void StatCache::Forget(std::string_view path) {
    if (auto at = paths_.Find(path)) known_[*at] = {};
}

} // namespace quorle::host
