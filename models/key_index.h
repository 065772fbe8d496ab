// A hashed index over a model's keys, built once from the same key tables the
// writer uses, so that reading a token costs one lookup instead of a walk
// over every table.
//
// Use: build a function-local static index with AddChoice (index fields),
// AddFlags (switch groups), AddEffect (whole tokens with an effect of their
// own) and AddPrefix (keys that carry a value, such as "S|INCDIR|"); call
// Apply from ReadToken. Tokens are looked up by their prefix (type letter,
// bar, key, bar); a whole-token entry wins over a value reader of the same
// prefix. Keys must be distinct; a duplicate keeps the first.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "models/key_registry.h"
#include "models/model_base.h"

namespace quorle::models {

template <class Model> class KeyIndex {
  public:
    using FlagsOf = std::span<bool> (*)(Model&);
    using Effect = void (*)(Model&, int arg);
    using ValueReader = void (*)(Model&, std::string_view value, int arg);

    // Each non-empty entry sets `field` to its position.
    void AddChoice(KeyList table, int Model::*field) {
        registry_.Add(table);
        for (size_t i = 0; i < table.size(); ++i)
            Add(table[i], Action{field, nullptr, nullptr, static_cast<int>(i)});
    }
    // Each entry sets its flag of the group `flags` returns.
    void AddFlags(KeyList keys, FlagsOf flags) {
        registry_.Add(keys);
        for (size_t i = 0; i < keys.size(); ++i)
            Add(keys[i], Action{nullptr, flags, nullptr, static_cast<int>(i)});
    }
    void AddEffect(std::string_view key, Effect fn, int arg = 0) {
        registry_.Add(key);
        Add(key, Action{nullptr, nullptr, fn, arg});
    }
    // A key that carries a value: `prefix` is type letter, bar, key, bar.
    void AddPrefix(std::string_view prefix, ValueReader fn, int arg = 0) {
        registry_.Add(prefix);
        Slot& slot = SlotFor(prefix);
        if (slot.reader == nullptr) {
            slot.reader = fn;
            slot.readerArg = arg;
        }
    }

    // Applies the token when the index knows it.
    bool Apply(Model& model, std::string_view body) const {
        // Find the prefix and hash it in one pass.
        uint64_t h = kHashSeed;
        size_t split = 0;
        for (size_t i = 0, bars = 0; i < body.size(); ++i) {
            h = (h ^ static_cast<unsigned char>(body[i])) * kHashPrime;
            if (body[i] == '|' && ++bars == 2) {
                split = i + 1;
                break;
            }
        }
        if (split == 0) return false;
        const Slot* found = Find(body.substr(0, split), Mix(h));
        if (found == nullptr) return false;
        const Slot& slot = *found;
        std::string_view value = body.substr(split);
        for (const auto& [text, action] : slot.exact) {
            if (text != value) continue;
            Run(model, action);
            return true;
        }
        if (slot.reader == nullptr) return false;
        slot.reader(model, value, slot.readerArg);
        return true;
    }

    const KeyRegistry& Registry() const { return registry_; }

  private:
    struct Action {
        int Model::*choice;
        FlagsOf flags;
        Effect effect;
        int arg;
    };
    struct Slot {
        std::string_view prefix;
        std::vector<std::pair<std::string_view, Action>> exact;
        ValueReader reader = nullptr;
        int readerArg = 0;
    };

    // Length of "T|KEY|", or 0 when the text has fewer than two bars.
    static size_t PrefixLength(std::string_view text) {
        int bars = 0;
        for (size_t i = 0; i < text.size(); ++i)
            if (text[i] == '|' && ++bars == 2) return i + 1;
        return 0;
    }

    static void Run(Model& model, const Action& a) {
        if (a.choice != nullptr) {
            model.*a.choice = a.arg;
        } else if (a.flags != nullptr) {
            std::span<bool> flags = a.flags(model);
            if (static_cast<size_t>(a.arg) < flags.size()) flags[static_cast<size_t>(a.arg)] = true;
        } else {
            a.effect(model, a.arg);
        }
    }

    void Add(std::string_view key, Action action) {
        size_t split = PrefixLength(key);
        if (split == 0) return;
        Slot& slot = SlotFor(key.substr(0, split));
        std::string_view value = key.substr(split);
        for (const auto& entry : slot.exact)
            if (entry.first == value) return;
        slot.exact.emplace_back(value, action);
    }

    // FNV-1a; the table size is a power of two, so no division is needed.
    static constexpr uint64_t kHashSeed = 1469598103934665603ULL;
    static constexpr uint64_t kHashPrime = 1099511628211ULL;
    static uint64_t Mix(uint64_t h) { return h ^ (h >> 29); }
    static uint64_t Hash(std::string_view text) {
        uint64_t h = kHashSeed;
        for (char c : text) h = (h ^ static_cast<unsigned char>(c)) * kHashPrime;
        return Mix(h);
    }

    const Slot* Find(std::string_view prefix) const { return Find(prefix, Hash(prefix)); }
    const Slot* Find(std::string_view prefix, uint64_t hash) const {
        if (table_.empty()) return nullptr;
        const size_t mask = table_.size() - 1;
        for (size_t i = hash & mask;; i = (i + 1) & mask) {
            int index = table_[i];
            if (index < 0) return nullptr;
            if (slots_[static_cast<size_t>(index)].prefix == prefix)
                return &slots_[static_cast<size_t>(index)];
        }
    }

    Slot& SlotFor(std::string_view prefix) {
        if (const Slot* slot = Find(prefix)) return const_cast<Slot&>(*slot);
        slots_.push_back(Slot{prefix, {}, nullptr, 0});
        // Keep the table at most a quarter full; rebuilding happens only
        // while the index is built.
        size_t size = 16;
        while (size < slots_.size() * 4) size *= 2;
        table_.assign(size, -1);
        for (size_t n = 0; n < slots_.size(); ++n) {
            size_t i = Hash(slots_[n].prefix) & (size - 1);
            while (table_[i] >= 0) i = (i + 1) & (size - 1);
            table_[i] = static_cast<int>(n);
        }
        return slots_.back();
    }

    std::vector<Slot> slots_;
    std::vector<int> table_; // slot index or -1
    KeyRegistry registry_;
};

} // namespace quorle::models
