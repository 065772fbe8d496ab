// Paths compared as the file system resolves them: ".", ".." and symbolic
// links followed, so that two spellings of one file compare equal. The
// directories are resolved once each; a path costs one look at its last
// component, and asking again costs nothing.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "host/path_table.h"
#include "platform/platform.h"

namespace quorle::host {

// What a path turned out to be. The views stay valid as long as the
// resolver, or the FoundTimes taken from it, does.
struct ResolvedPath {
    std::string_view path;    // absolute, generic separators
    bool throughLink = false; // its last component is a symbolic link
    bool directory = false;   // it names an existing directory
    bool exists = false;      // the last component names an entry
    int64_t modified = 0;     // that entry's time, ns since epoch, when it is no link
};

// What was found of each path asked, by the number of the path as asked.
struct FoundEntry {
    int64_t modified = 0;
    uint32_t form = kAsAsked; // the number of its resolved form, when that differs
    bool throughLink = false;
    bool directory = false;
    bool exists = false;
    bool dropped = false; // no longer true: the file was removed since

    static constexpr uint32_t kAsAsked = UINT32_MAX;
};

// The modification times a resolver found, for a build that follows at once
// and need not ask again. A path through a link has none: its entry is the
// link, not the file a build reads.
class FoundTimes {
  public:
    FoundTimes() = default;
    FoundTimes(PathTable paths, std::vector<FoundEntry> entries)
        : paths_(std::move(paths)), entries_(std::move(entries)) {}
    // Calls use(path, time) for each path with a time to give; a missing
    // file's time is nullopt. None once the paths were handed over.
    template <class Use> void ForEach(Use use) const {
        const size_t count = std::min(entries_.size(), paths_.size());
        for (uint32_t id = 0; id < count; ++id)
            if (Gives(id)) use(paths_[id], TimeOf(id));
    }
    // Whether the path numbered `id` has a time to give, and that time.
    bool Gives(uint32_t id) const {
        const FoundEntry& entry = entries_[id];
        return !entry.dropped && !(entry.exists && entry.throughLink);
    }
    std::optional<int64_t> TimeOf(uint32_t id) const {
        const FoundEntry& entry = entries_[id];
        return entry.exists ? std::optional<int64_t>(entry.modified) : std::nullopt;
    }
    // The paths, numbered as Gives and TimeOf take them, for a new owner,
    // who finds a path's number from then on.
    PathTable TakePaths() {
        handedOver_ = paths_.identity();
        return std::move(paths_);
    }
    // Whether `table` is the one the paths went to, so its numbers are these.
    bool NumberedBy(const PathTable& table) const {
        return handedOver_ != nullptr && table.identity() == handedOver_;
    }
    // What was found of the path numbered `id` holds no longer.
    void Drop(uint32_t id) {
        if (id < entries_.size()) entries_[id].dropped = true;
    }
    // The same by name, while the paths are still here.
    void Drop(std::string_view path) {
        if (auto id = paths_.Find(path)) Drop(*id);
    }
    size_t size() const { return entries_.size(); }

  private:
    PathTable paths_;
    std::vector<FoundEntry> entries_;
    const void* handedOver_ = nullptr; // the identity of the table taken
};

class PathResolver {
  public:
    ResolvedPath Resolve(const std::string& path);
    // Resolves many paths, asking the file system about them all at once;
    // Resolve then finds each of them without asking again.
    void ResolveAll(std::span<const std::string* const> paths);
    // The times found, with the paths they belong to; the resolver is left
    // empty.
    FoundTimes TakeTimes();

  private:
    ResolvedPath At(uint32_t id) const;
    // Records what the path numbered next in `asked_` is, from the file
    // system's answer for its last component.
    void Record(const std::string& path, const std::optional<platform::EntryStatus>& own);
    std::string Look(const std::string& path, const std::optional<platform::EntryStatus>& own,
                     FoundEntry& entry);
    // A directory as the file system resolves it, looked up once.
    const std::string& Directory(const std::string& parent);

    std::unordered_map<std::string, std::string> dirs_;
    // Each path once, in a few large blocks: a large plan asks about tens of
    // thousands of them.
    PathTable asked_;
    std::vector<FoundEntry> entries_; // by the numbers of `asked_`
    PathTable forms_;                 // resolved forms that differ from theirs as asked
};

} // namespace quorle::host
