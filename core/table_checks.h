// Compile-time checks of constant tables: lookups by binary search need the
// keys ascending, and a key written twice would shadow its second row.
#pragma once

#include <iterator>

namespace quorle {

// True when key(row) increases strictly from each row to the next.
template <class Range, class Key> constexpr bool IsStrictlyAscending(const Range& rows, Key key) {
    auto it = std::begin(rows);
    auto end = std::end(rows);
    if (it == end) return true;
    for (auto next = std::next(it); next != end; ++it, ++next)
        if (!(key(*it) < key(*next))) return false;
    return true;
}

// True when no two rows have equal keys. Quadratic: for short tables.
template <class Range, class Key> constexpr bool AllDistinct(const Range& rows, Key key) {
    for (auto a = std::begin(rows); a != std::end(rows); ++a)
        for (auto b = std::next(a); b != std::end(rows); ++b)
            if (key(*a) == key(*b)) return false;
    return true;
}

} // namespace quorle
