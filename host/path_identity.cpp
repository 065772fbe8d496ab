#include "host/path_identity.h"

#include <filesystem>

namespace quorle::host {

namespace fs = std::filesystem;

ResolvedPath PathResolver::Resolve(const std::string& path) {
    ResolvedPath out;
    fs::path p = fs::u8path(path);
    std::error_code ec;
    fs::file_status own = fs::symlink_status(p, ec);
    fs::path leaf = p.filename();
    if (fs::is_symlink(own) || leaf.empty() || leaf == "." || leaf == "..") {
        out.throughLink = fs::is_symlink(own);
        fs::path full = fs::weakly_canonical(p, ec);
        out.path = (ec ? p.lexically_normal() : full).generic_string();
        out.directory = fs::is_directory(fs::status(full, ec));
        return out;
    }
    std::string parent = p.parent_path().generic_string();
    auto [it, added] = dirs_.try_emplace(parent);
    if (added) {
        fs::path dir = fs::weakly_canonical(p.parent_path(), ec);
        it->second = (ec ? p.parent_path().lexically_normal() : dir).generic_string();
    }
    out.path = (fs::u8path(it->second) / leaf).generic_string();
    out.directory = fs::is_directory(own);
    return out;
}

} // namespace quorle::host
