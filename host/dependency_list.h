// The files a step read, each with the modification time it had then. A
// large build's state holds hundreds of thousands, nearly all with the time
// their file has in every other record: so a dependency is held as its
// path's number alone, and its time follows only where it is not that
// path's usual time, as the state file itself writes them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>
#include <vector>

namespace quorle::host {

// A time held as two 4-byte halves, so that it packs beside 4-byte numbers.
// Read and written as the number it is; no reference to an unaligned 8-byte
// value is ever made.
class PackedTime {
  public:
    PackedTime(int64_t time = 0) // implicit both ways: it stands for the number
        : low_(static_cast<uint32_t>(static_cast<uint64_t>(time))),
          high_(static_cast<uint32_t>(static_cast<uint64_t>(time) >> 32)) {}
    PackedTime(uint32_t low, uint32_t high) : low_(low), high_(high) {}
    operator int64_t() const {
        return static_cast<int64_t>((static_cast<uint64_t>(high_) << 32) | low_);
    }
    uint32_t low() const { return low_; }
    uint32_t high() const { return high_; }

  private:
    uint32_t low_;
    uint32_t high_;
};

struct Dependency {
    uint32_t path = 0; // index into the state's path table
    PackedTime time{}; // modification time when the step was built
};

// Each path's usual time: the first one noted for it, which never changes.
class UsualTimes {
  public:
    std::optional<int64_t> Of(uint32_t path) const {
        if (path >= known_.size() || !known_[path]) return std::nullopt;
        return times_[path];
    }
    void Note(uint32_t path, int64_t time) {
        if (path >= known_.size())
            known_.resize(static_cast<size_t>(path) + 1), times_.resize(known_.size());
        if (!known_[path]) known_[path] = true, times_[path] = time;
    }
    void clear() { known_.clear(), times_.clear(); }

  private:
    std::vector<PackedTime> times_;
    std::vector<bool> known_;
};

// Read in order. The usual times must outlive the list; a list without them
// holds every time itself.
class DependencyList {
  public:
    DependencyList() = default;
    explicit DependencyList(const UsualTimes* usual) : usual_(usual) {}

    void push_back(Dependency dep);
    void reserve(size_t count) { words_.reserve(count); }
    void clear() { words_.clear(), size_ = 0; }
    size_t size() const { return size_; }
    bool empty() const { return size_ == 0; }
    // Walks from the front: for short lists and checks, not for loops.
    Dependency operator[](size_t index) const;

    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = Dependency;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = Dependency;
        Dependency operator*() const;
        const_iterator& operator++() {
            at_ += (list_->words_[at_] & kTimed) != 0 ? 3 : 1;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }
        bool operator!=(const const_iterator& other) const { return at_ != other.at_; }

      private:
        friend class DependencyList;
        const_iterator(const DependencyList* list, size_t at) : list_(list), at_(at) {}
        const DependencyList* list_;
        size_t at_;
    };
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, words_.size()}; }

  private:
    // A path number with this bit is followed by the two halves of its time.
    static constexpr uint32_t kTimed = 0x80000000u;
    const UsualTimes* usual_ = nullptr;
    std::vector<uint32_t> words_;
    size_t size_ = 0;
};

} // namespace quorle::host
