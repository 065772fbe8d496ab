// A file path kept as directory, leaf name and extension, as the option
// models hold their output, list and map files.
#pragma once

#include <string>
#include <string_view>
#include <utility>

namespace quorle::models {

struct PathParts {
    std::string dir;  // without the trailing separator
    std::string leaf; // file name without extension
    std::string ext;  // with its dot, or empty
    char sep = '\\';  // the separator between dir and leaf; 0 when the path had none

    // Splits at the last "\" or "/" and at the last "." of the file name.
    static PathParts Split(std::string_view path);
    // The parts joined again; Split(p).Join() == p for every p.
    std::string Join() const;

    // Sets the directory; an empty one leaves no separator in front of the
    // leaf name.
    void SetDir(std::string directory) {
        dir = std::move(directory);
        sep = dir.empty() ? 0 : (sep == 0 ? '\\' : sep);
    }

    bool operator==(const PathParts&) const = default;
};

} // namespace quorle::models
