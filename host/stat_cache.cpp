#include "host/stat_cache.h"

namespace quorle::host {

std::optional<int64_t> StatCache::Time(const std::string& path) {
    auto it = times_.find(path);
    if (it != times_.end()) return it->second;
    ++lookups_;
    return times_[path] = lookup_(path);
}

std::optional<int64_t> StatCache::TimeOf(uint32_t id, std::string_view path) {
    if (id >= numbered_.size()) numbered_.resize(static_cast<size_t>(id) + 1);
    NumberedTime& known = numbered_[id];
    if (known.generation == generation_)
        return known.missing ? std::nullopt : std::optional<int64_t>(known.time);
    std::optional<int64_t> time = Time(std::string(path));
    known = {generation_, !time.has_value(), time.value_or(0)};
    return time;
}

} // namespace quorle::host
