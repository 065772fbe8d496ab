// The files a step made, as one text: each path ends in a NUL, which no
// path holds. A large build's state keeps one list per step, and a vector
// of strings would cost it three allocations a record for two short paths.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace quorle::host {

class MadeList {
  public:
    MadeList() = default;
    MadeList(std::initializer_list<std::string_view> paths) {
        for (std::string_view path : paths) push_back(path);
    }
    explicit MadeList(const std::vector<std::string>& paths) {
        for (const std::string& path : paths) push_back(path);
    }
    // A path with a NUL in it names no file, and is not kept.
    void push_back(std::string_view path) {
        if (path.find('\0') != std::string_view::npos) return;
        text_.append(path);
        text_.push_back('\0');
    }
    // Room for `bytes` of paths and their ends, so a list read whole takes
    // one allocation of its own size.
    void reserve(size_t bytes) { text_.reserve(bytes); }
    size_t size() const {
        return static_cast<size_t>(std::count(text_.begin(), text_.end(), '\0'));
    }
    bool empty() const { return text_.empty(); }
    std::vector<std::string> ToVector() const { return {begin(), end()}; }
    bool operator==(const MadeList& other) const = default;

    class const_iterator {
      public:
        using iterator_category = std::forward_iterator_tag;
        using value_type = std::string_view;
        using difference_type = std::ptrdiff_t;
        using pointer = void;
        using reference = std::string_view;
        std::string_view operator*() const { return {text_ + at_}; }
        const_iterator& operator++() {
            at_ += std::char_traits<char>::length(text_ + at_) + 1;
            return *this;
        }
        bool operator==(const const_iterator& other) const { return at_ == other.at_; }
        bool operator!=(const const_iterator& other) const { return at_ != other.at_; }

      private:
        friend class MadeList;
        const_iterator(const char* text, size_t at) : text_(text), at_(at) {}
        const char* text_;
        size_t at_;
    };
    const_iterator begin() const { return {text_.data(), 0}; }
    const_iterator end() const { return {text_.data(), text_.size()}; }

  private:
    std::string text_;
};

} // namespace quorle::host
