// Paths numbered in the order they were first seen, each held once. A large
// build's state names tens of thousands of files: the characters sit in a
// few large blocks, each path is a packed place in them, and the index is an
// open table of numbers, so a path costs little more than its own characters.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>
#include <utility>
#include <vector>

namespace quorle::host {

class PathTable {
  public:
    PathTable() = default;
    // The views point into the blocks, which a copy would not share.
    PathTable(const PathTable&) = delete;
    PathTable& operator=(const PathTable&) = delete;
    // A move takes the blocks along, so the views stay valid; the table
    // moved from is left empty.
    PathTable(PathTable&& other) noexcept { *this = std::move(other); }
    PathTable& operator=(PathTable&& other) noexcept;

    // The number of `path`, which is added when it is new.
    uint32_t Intern(std::string_view path);
    std::optional<uint32_t> Find(std::string_view path) const;
    // Valid as long as the table is: blocks never move.
    std::string_view operator[](uint32_t id) const {
        uint64_t place = places_[id];
        size_t length = LengthOf(place);
        if (length == 0) return {};
        return {blocks_[place >> 48].get() + ((place >> 32) & 0xffff), length};
    }
    size_t size() const { return places_.size(); }
    void clear();
    // Tells this table's paths from any other's, and stays theirs through
    // a move; null while no path has characters.
    const void* identity() const { return blocks_.empty() ? nullptr : blocks_.front().get(); }

  private:
    static size_t LengthOf(uint64_t place) { return static_cast<uint32_t>(place); }
    // Copies a new path into the blocks; gives its place, packed as
    // places_ holds it.
    uint64_t Store(std::string_view path);
    bool Holds(uint32_t id, std::string_view path) const {
        return LengthOf(places_[id]) == path.size() && (*this)[id] == path;
    }
    size_t SlotOf(std::string_view path, size_t hash) const;
    void Grow();

    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t blockUsed_ = 0, blockSize_ = 0;
    // Per path, its block (16 bits), its start there (16 bits) and its
    // length (32 bits): half of what a view would take. Blocks hold 64 KiB,
    // and a longer path has one of its own, starting at 0.
    std::vector<uint64_t> places_;
    // Number + 1 of the path hashed there; 0: empty. At most half full.
    std::vector<uint32_t> slots_;
};

} // namespace quorle::host
