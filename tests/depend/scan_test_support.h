// Helpers for the dependency-scan tests: temporary trees and list blocks.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "interface/quorle.h"

#include "support/temp_dir.h"

namespace scantest {

namespace fs = std::filesystem;

// A temporary directory with helpers to fill it.
class TempTree {
  public:
    const fs::path& Root() const { return dir_.Root(); }
    std::string Path(const std::string& relative) const { return (Root() / relative).string(); }
    // Writes a file, making its directories.
    std::string Write(const std::string& relative, const std::string& content) const {
        fs::path path = Root() / relative;
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << content;
        return path.string();
    }
    std::string MakeDir(const std::string& relative) const {
        fs::create_directories(Root() / relative);
        return Path(relative);
    }

  private:
    quorle::testing_support::TempDir dir_{"quorle-scan"};
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
