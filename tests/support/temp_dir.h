// The one way tests make a temporary directory: fresh and uniquely named
// below the system's temporary directory, removed with everything in it
// (read-only files too) when the object goes.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <string>

namespace quorle::testing_support {

class TempDir {
  public:
    explicit TempDir(const std::string& prefix = "quorle") {
        std::random_device random;
        for (int attempt = 0; attempt < 100 && root_.empty(); ++attempt) {
            std::filesystem::path candidate = std::filesystem::temp_directory_path() /
                                              (prefix + "-" + std::to_string(random()));
            std::error_code ec;
            if (std::filesystem::create_directory(candidate, ec)) root_ = candidate;
        }
        EXPECT_FALSE(root_.empty()) << "no temporary directory could be made";
        path_ = root_.string();
    }
    ~TempDir() {
        std::error_code ec;
        for (auto& entry : std::filesystem::recursive_directory_iterator(root_, ec))
            std::filesystem::permissions(entry.path(), std::filesystem::perms::owner_all,
                                         std::filesystem::perm_options::add, ec);
        std::filesystem::permissions(root_, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(root_, ec);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& Root() const { return root_; }
    const std::string& Path() const { return path_; }
    // A path below the directory, written with Windows separators as texts
    // hold them.
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::filesystem::path root_;
    std::string path_;
};

} // namespace quorle::testing_support
