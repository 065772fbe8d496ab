#include "host/path_table.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <stdexcept>
#include <utility>

namespace quorle::host {

namespace {

constexpr size_t kBlock = 64 * 1024;

size_t HashOf(std::string_view path) {
    return std::hash<std::string_view>{}(path);
}

} // namespace

uint64_t PathTable::Store(std::string_view path) {
    if (path.empty()) return 0;
    if (path.size() > UINT32_MAX) throw std::length_error("path too long");
    if (blockSize_ - blockUsed_ < path.size()) {
        if (blocks_.size() > 0xffff) throw std::length_error("too many paths");
        // A path longer than a block gets one of its own.
        blockSize_ = std::max(kBlock, path.size());
        blocks_.push_back(std::make_unique<char[]>(blockSize_));
        blockUsed_ = 0;
    }
    std::memcpy(blocks_.back().get() + blockUsed_, path.data(), path.size());
    uint64_t place = (static_cast<uint64_t>(blocks_.size() - 1) << 48) |
                     (static_cast<uint64_t>(blockUsed_) << 32) | path.size();
    blockUsed_ += path.size();
    return place;
}

// The slot that holds `path`, or the empty one where it would go.
size_t PathTable::SlotOf(std::string_view path, size_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t slot = hash & mask;; slot = (slot + 1) & mask) {
        uint32_t held = slots_[slot];
        if (held == 0 || Holds(held - 1, path)) return slot;
    }
}

void PathTable::Grow() {
    slots_.assign(std::max<size_t>(64, slots_.size() * 2), 0);
    const size_t mask = slots_.size() - 1;
    for (uint32_t id = 0; id < places_.size(); ++id) {
        size_t slot = HashOf((*this)[id]) & mask;
        while (slots_[slot] != 0) slot = (slot + 1) & mask;
        slots_[slot] = static_cast<uint32_t>(id + 1);
    }
}

uint32_t PathTable::Intern(std::string_view path) {
    if ((places_.size() + 1) * 2 > slots_.size()) Grow();
    size_t slot = SlotOf(path, HashOf(path));
    if (slots_[slot] != 0) return slots_[slot] - 1;
    // Numbers keep their top bit free for those who pack them.
    if (places_.size() >= 0x7fffffffu) throw std::length_error("too many paths");
    auto id = static_cast<uint32_t>(places_.size());
    places_.push_back(Store(path));
    slots_[slot] = id + 1;
    return id;
}

std::optional<uint32_t> PathTable::Find(std::string_view path) const {
    if (slots_.empty()) return std::nullopt;
    uint32_t held = slots_[SlotOf(path, HashOf(path))];
    if (held == 0) return std::nullopt;
    return held - 1;
}

PathTable& PathTable::operator=(PathTable&& other) noexcept {
    if (this == &other) return *this;
    blocks_ = std::move(other.blocks_);
    places_ = std::move(other.places_);
    slots_ = std::move(other.slots_);
    blockUsed_ = std::exchange(other.blockUsed_, 0);
    blockSize_ = std::exchange(other.blockSize_, 0);
    other.clear();
    return *this;
}

void PathTable::clear() {
    blocks_.clear();
    blockUsed_ = blockSize_ = 0;
    places_.clear();
    slots_.clear();
}

} // namespace quorle::host
