// Paths compared as the file system resolves them: ".", ".." and symbolic
// links followed, so that two spellings of one file compare equal. The
// directories are resolved once each; a path costs one look at its last
// component.
#pragma once

#include <string>
#include <unordered_map>

namespace quorle::host {

struct ResolvedPath {
    std::string path;         // absolute, generic separators
    bool throughLink = false; // its last component is a symbolic link
    bool directory = false;   // it names an existing directory
};

class PathResolver {
  public:
    ResolvedPath Resolve(const std::string& path);

  private:
    std::unordered_map<std::string, std::string> dirs_;
};

} // namespace quorle::host
