#include "host/path_identity.h"

#include <algorithm>
#include <filesystem>

#include "host/plain_path.h"
#include "host/stat_batch.h"

namespace quorle::host {

namespace fs = std::filesystem;

ResolvedPath PathResolver::At(uint32_t id) const {
    const FoundEntry& entry = entries_[id];
    return {entry.form == FoundEntry::kAsAsked ? asked_[id] : forms_[entry.form], entry.throughLink,
            entry.directory, entry.exists, entry.modified};
}

ResolvedPath PathResolver::Resolve(const std::string& path) {
    uint32_t id = asked_.Intern(path);
    if (id == entries_.size()) Record(path, platform::StatEntry(path));
    return At(id);
}

void PathResolver::ResolveAll(std::span<const std::string* const> paths) {
    // In pieces, so that few answers wait at a time.
    constexpr size_t kPiece = 4096;
    std::vector<const std::string*> fresh;
    for (size_t start = 0; start < paths.size(); start += kPiece) {
        fresh.clear();
        // A path is new when it takes the next number; one given twice in a
        // piece is new once.
        for (const std::string* path : paths.subspan(start, std::min(kPiece, paths.size() - start)))
            if (asked_.Intern(*path) == entries_.size() + fresh.size()) fresh.push_back(path);
        std::vector<std::optional<platform::EntryStatus>> found = StatEntries(fresh);
        for (size_t i = 0; i < fresh.size(); ++i) Record(*fresh[i], found[i]);
    }
}

FoundTimes PathResolver::TakeTimes() {
    FoundTimes times(std::move(asked_), std::move(entries_));
    asked_.clear();
    entries_.clear();
    forms_.clear();
    dirs_.clear();
    return times;
}

void PathResolver::Record(const std::string& path,
                          const std::optional<platform::EntryStatus>& own) {
    FoundEntry& entry = entries_.emplace_back();
    std::string form = Look(path, own, entry);
    if (form != path) entry.form = forms_.Intern(form);
}

const std::string& PathResolver::Directory(const std::string& parent) {
    auto [dir, added] = dirs_.try_emplace(parent);
    if (added) {
        std::error_code ec;
        fs::path p = fs::u8path(parent);
        fs::path resolved = fs::weakly_canonical(p, ec);
        dir->second = (ec ? p.lexically_normal() : resolved).generic_string();
    }
    return dir->second;
}

std::string PathResolver::Look(const std::string& path,
                               const std::optional<platform::EntryStatus>& own, FoundEntry& out) {
    out.exists = own.has_value();
    bool link = own && own->link;
    if (own && !link) out.modified = own->modified;
    out.directory = own && own->directory;
    // The common case, split as text: a plain absolute path that is no link.
    if (kSlashOnly && !link && IsPlainAbsolute(path)) {
        size_t slash = path.rfind('/');
        std::string form = Directory(slash == 0 ? std::string("/") : path.substr(0, slash));
        if (form.empty() || form.back() != '/') form += '/';
        form.append(path, slash + 1);
        return form;
    }
    fs::path p = fs::u8path(path);
    std::error_code ec;
    fs::path leaf = p.filename();
    if (link || leaf.empty() || leaf == "." || leaf == "..") {
        out.throughLink = link;
        fs::path full = fs::weakly_canonical(p, ec);
        std::string form = (ec ? p.lexically_normal() : full).generic_string();
        out.directory = fs::is_directory(fs::status(full, ec));
        return form;
    }
    return (fs::u8path(Directory(p.parent_path().generic_string())) / leaf).generic_string();
}

} // namespace quorle::host
