#include "host/stat_cache.h"

namespace quorle::host {

std::optional<int64_t> StatCache::Time(const std::string& path) {
    auto it = times_.find(path);
    if (it != times_.end()) return it->second;
    ++lookups_;
    return times_[path] = lookup_(path);
}

} // namespace quorle::host
