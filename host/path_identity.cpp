#include "host/path_identity.h"

#include <filesystem>

#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

const ResolvedPath& PathResolver::Resolve(const std::string& path) {
    auto it = seen_.find(path);
    if (it == seen_.end()) it = seen_.emplace(path, Look(path)).first;
    return it->second;
}

ResolvedPath PathResolver::Look(const std::string& path) {
    ResolvedPath out;
    fs::path p = fs::u8path(path);
    std::error_code ec;
    auto own = platform::StatEntry(path);
    out.exists = own.has_value();
    bool link = own && own->link;
    if (own && !link) out.modified = own->modified;
    fs::path leaf = p.filename();
    if (link || leaf.empty() || leaf == "." || leaf == "..") {
        out.throughLink = link;
        fs::path full = fs::weakly_canonical(p, ec);
        out.path = (ec ? p.lexically_normal() : full).generic_string();
        out.directory = fs::is_directory(fs::status(full, ec));
        return out;
    }
    std::string parent = p.parent_path().generic_string();
    auto [dir, added] = dirs_.try_emplace(parent);
    if (added) {
        fs::path resolved = fs::weakly_canonical(p.parent_path(), ec);
        dir->second = (ec ? p.parent_path().lexically_normal() : resolved).generic_string();
    }
    out.path = (fs::u8path(dir->second) / leaf).generic_string();
    out.directory = own && own->directory;
    return out;
}

} // namespace quorle::host
