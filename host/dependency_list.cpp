#include "host/dependency_list.h"

#include <stdexcept>

namespace quorle::host {

void DependencyList::push_back(Dependency dep) {
    // Numbers come from a path table, which stops short of this bit.
    if ((dep.path & kTimed) != 0) throw std::length_error("path number out of range");
    std::optional<int64_t> usual = usual_ != nullptr ? usual_->Of(dep.path) : std::nullopt;
    if (usual && *usual == int64_t{dep.time}) {
        words_.push_back(dep.path);
    } else {
        words_.push_back(dep.path | kTimed);
        words_.push_back(dep.time.low());
        words_.push_back(dep.time.high());
    }
    ++size_;
}

Dependency DependencyList::const_iterator::operator*() const {
    uint32_t word = list_->words_[at_];
    uint32_t path = word & ~kTimed;
    if ((word & kTimed) != 0)
        return {path, PackedTime(list_->words_[at_ + 1], list_->words_[at_ + 2])};
    // Held without its time only when the usual time was there to use.
    return {path, *list_->usual_->Of(path)};
}

Dependency DependencyList::operator[](size_t index) const {
    auto it = begin();
    while (index-- > 0) ++it;
    return *it;
}

} // namespace quorle::host
