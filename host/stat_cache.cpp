#include "host/stat_cache.h"

#include <algorithm>

namespace quorle::host {

StatCache::Known& StatCache::OfNumber(uint32_t id) {
    if (id >= byNumber_.size()) byNumber_.resize(static_cast<size_t>(id) + 1);
    Known& known = byNumber_[id];
    if (known.state == Known::Unknown)
        if (auto at = paths_.Find(numbered_[id])) known = known_[*at];
    return known;
}

StatCache::Known& StatCache::OfName(std::string_view path) {
    if (auto id = numbered_.Find(path)) return OfNumber(*id);
    uint32_t at = paths_.Intern(path);
    if (at >= known_.size()) known_.resize(static_cast<size_t>(at) + 1);
    return known_[at];
}

std::optional<int64_t> StatCache::Ask(Known& known, std::string_view path) {
    if (known.state == Known::Unknown) {
        ++lookups_;
        known.Set(lookup_(std::string(path)));
    }
    return known.Get();
}

std::optional<int64_t> StatCache::Time(std::string_view path) {
    return Ask(OfName(path), path);
}

std::optional<int64_t> StatCache::TimeOf(uint32_t id) {
    return Ask(OfNumber(id), numbered_[id]);
}

void StatCache::Seed(std::string_view path, std::optional<int64_t> time) {
    Known& known = OfName(path);
    if (known.state == Known::Unknown) known.Set(time);
}

void StatCache::SeedAll(const FoundTimes& found) {
    if (!found.NumberedBy(numbered_)) {
        found.ForEach(
            [&](std::string_view path, std::optional<int64_t> time) { Seed(path, time); });
        return;
    }
    const auto count = static_cast<uint32_t>(std::min(found.size(), numbered_.size()));
    if (byNumber_.size() < count) byNumber_.resize(count);
    for (uint32_t id = 0; id < count; ++id) {
        if (!found.Gives(id)) continue;
        Known& known = OfNumber(id);
        if (known.state == Known::Unknown) known.Set(found.TimeOf(id));
    }
}

void StatCache::Forget(std::string_view path) {
    if (auto id = numbered_.Find(path); id && *id < byNumber_.size()) byNumber_[*id] = {};
    if (auto at = paths_.Find(path)) known_[*at] = {};
}

} // namespace quorle::host
