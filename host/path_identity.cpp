#include "host/path_identity.h"

#include <filesystem>

#include "host/plain_path.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

const ResolvedPath& PathResolver::Resolve(const std::string& path) {
    auto it = seen_.find(path);
    if (it == seen_.end()) it = seen_.emplace(path, Look(path)).first;
    return it->second;
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

ResolvedPath PathResolver::Look(const std::string& path) {
    ResolvedPath out;
    auto own = platform::StatEntry(path);
    out.exists = own.has_value();
    bool link = own && own->link;
    if (own && !link) out.modified = own->modified;
    out.directory = own && own->directory;
    // The common case, split as text: a plain absolute path that is no link.
    if (kSlashOnly && !link && IsPlainAbsolute(path)) {
        size_t slash = path.rfind('/');
        const std::string& dir = Directory(slash == 0 ? std::string("/") : path.substr(0, slash));
        out.path = dir;
        if (out.path.empty() || out.path.back() != '/') out.path += '/';
        out.path.append(path, slash + 1);
        return out;
    }
    fs::path p = fs::u8path(path);
    std::error_code ec;
    fs::path leaf = p.filename();
    if (link || leaf.empty() || leaf == "." || leaf == "..") {
        out.throughLink = link;
        fs::path full = fs::weakly_canonical(p, ec);
        out.path = (ec ? p.lexically_normal() : full).generic_string();
        out.directory = fs::is_directory(fs::status(full, ec));
        return out;
    }
    out.path = (fs::u8path(Directory(p.parent_path().generic_string())) / leaf).generic_string();
    return out;
}

} // namespace quorle::host
