// Every key table a model's reader recognises, as one list. A reader offers
// a token to its tables only when the list knows the token's key, and the
// options editor's coverage check walks the same list, so a table left out
// of it is neither read nor checked.
//
// An entry ending in a bar ("S|INCDIR|", type letter, bar, key, bar) is a key
// that carries a value; any other entry is a whole token. Empty entries (the
// "off" position of an index field) are kept in their table but never match.
#pragma once

#include <deque>
#include <initializer_list>
#include <span>
#include <string_view>
#include <unordered_set>
#include <vector>

#include "models/model_base.h"

namespace quorle::models {

class KeyRegistry {
  public:
    KeyRegistry() = default;
    KeyRegistry(std::initializer_list<KeyList> tables) {
        for (KeyList table : tables) Add(table);
    }
    // Tables point into the registry's own list of single keys: a copy would
    // point into the original, a move keeps the list where it is.
    KeyRegistry(const KeyRegistry&) = delete;
    KeyRegistry& operator=(const KeyRegistry&) = delete;
    KeyRegistry(KeyRegistry&&) = default;
    KeyRegistry& operator=(KeyRegistry&&) = default;

    // A table whose entries live as long as the registry.
    void Add(KeyList table) {
        tables_.push_back(table);
        for (std::string_view entry : table) Index(entry);
    }
    // One key; the registry keeps the text's view itself.
    void Add(std::string_view key) {
        singles_.push_back(key);
        Add(KeyList(&singles_.back(), 1));
    }

    static bool IsValueKey(std::string_view entry) { return !entry.empty() && entry.back() == '|'; }

    // True when the body is a registered whole token or carries a value
    // under a registered key.
    bool Knows(std::string_view body) const {
        size_t split = PrefixLength(body);
        if (split != 0 && valueKeys_.count(body.substr(0, split)) != 0) return true;
        return tokens_.count(body) != 0;
    }

    // The tables in the order they were added; duplicates are kept, so a
    // check can find them.
    std::span<const KeyList> Tables() const { return tables_; }

  private:
    // Length of "T|KEY|", or 0 when the text has fewer than two bars.
    static size_t PrefixLength(std::string_view text) {
        int bars = 0;
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '|' && ++bars == 2) return i + 1;
        return 0;
    }

    void Index(std::string_view entry) {
        if (entry.empty()) return;
        (IsValueKey(entry) ? valueKeys_ : tokens_).insert(entry);
    }

    std::vector<KeyList> tables_;
    std::deque<std::string_view> singles_; // stable under push_back
    std::unordered_set<std::string_view> tokens_;
    std::unordered_set<std::string_view> valueKeys_;
};

} // namespace quorle::models
