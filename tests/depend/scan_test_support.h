// Helpers for the dependency-scan tests: temporary trees and list blocks.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "interface/quorle.h"

namespace scantest {

namespace fs = std::filesystem;

// A fresh directory below the system's temporary directory, removed again.
class TempTree {
  public:
    TempTree() {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
            fs::path candidate =
                fs::temp_directory_path() / ("quorle-scan-" + std::to_string(random()));
            if (fs::create_directory(candidate)) root_ = candidate;
        }
    }
    ~TempTree() {
        std::error_code ec;
        if (!root_.empty()) fs::remove_all(root_, ec);
    }
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const fs::path& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return (root_ / relative).string(); }
    // Writes a file, making its directories.
    std::string Write(const std::string& relative, const std::string& content) const {
        fs::path path = root_ / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string MakeDir(const std::string& relative) const {
        fs::create_directories(root_ / relative);
        return Path(relative);
    }

  private:
    fs::path root_;
};

// The entries of a NUL-separated list block, up to its empty entry.
inline std::vector<std::string> Entries(const char* block) {
    std::vector<std::string> entries;
    if (block == nullptr) return entries;
    for (const char* p = block; *p != '\0'; p += entries.back().size() + 1) entries.emplace_back(p);
    return entries;
}

inline QuorleProjectInfo ProjectInfo() {
    QuorleProjectInfo info{};
    info.size = sizeof(QuorleProjectInfo);
    for (const char** field :
         {&info.cpuSeries, &info.toolchainName, &info.projectName, &info.projectDir,
          &info.configName, &info.configDir, &info.workspaceSettingsName, &info.workspaceDir,
          &info.toolchainDir, &info.hostDir, &info.tempDir})
        *field = "";
    info.userPlaceholders = "\0";
    return info;
}

} // namespace scantest
