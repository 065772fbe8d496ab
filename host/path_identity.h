// Paths compared as the file system resolves them: ".", ".." and symbolic
// links followed, so that two spellings of one file compare equal. The
// directories are resolved once each; a path costs one look at its last
// component, and asking again costs nothing.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <unordered_map>

namespace quorle::host {

struct ResolvedPath {
    std::string path;         // absolute, generic separators
    bool throughLink = false; // its last component is a symbolic link
    bool directory = false;   // it names an existing directory
    bool exists = false;      // the last component names an entry
    int64_t modified = 0;     // that entry's time, ns since epoch, when it is no link
};

class PathResolver {
  public:
    const ResolvedPath& Resolve(const std::string& path);
    void Reserve(size_t paths) { seen_.reserve(paths); }
    // Every path asked so far, with what was found.
    const std::unordered_map<std::string, ResolvedPath>& seen() const { return seen_; }

  private:
    ResolvedPath Look(const std::string& path);
    // A directory as the file system resolves it, looked up once.
    const std::string& Directory(const std::string& parent);

    std::unordered_map<std::string, std::string> dirs_;
    std::unordered_map<std::string, ResolvedPath> seen_;
};

} // namespace quorle::host
