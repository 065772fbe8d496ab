// Paths numbered in the order they were first seen, each held once. A large
// build's state names tens of thousands of files: the characters sit in a
// few large blocks, each path is a view into them, and the index is an open
// table of numbers, so a path costs little more than its own characters.
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
    std::string_view operator[](uint32_t id) const { return views_[id]; }
    size_t size() const { return views_.size(); }
    void clear();

  private:
    std::string_view Store(std::string_view path);
    size_t SlotOf(std::string_view path, size_t hash) const;
    void Grow();

    std::vector<std::unique_ptr<char[]>> blocks_;
    size_t blockUsed_ = 0, blockSize_ = 0;
    std::vector<std::string_view> views_;
    // Number + 1 of the path hashed there; 0: empty. At most half full.
    std::vector<uint32_t> slots_;
};

} // namespace quorle::host
