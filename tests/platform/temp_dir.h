// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/platform.h"

namespace quorle::testing {

class TempDir {
  public:
    TempDir() {
        auto file = platform::CreateTempFile(platform::TempDirectory(), "qpt");
        EXPECT_TRUE(file.has_value());
        path_ = *file + ".d";
        platform::DeleteFile(*file);
        EXPECT_TRUE(platform::CreateDirectory(path_));
    }
    ~TempDir() {
        std::error_code ignored;
        // Read-only files would stop the removal on Windows.
        for (auto& entry : std::filesystem::recursive_directory_iterator(path_, ignored)) {
            platform::SetFileAttributes(entry.path().string(), platform::kAttrNone);
        }
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& Path() const { return path_; }
    // A path below the directory, written with Windows separators as texts
    // hold them.
    std::string File(const std::string& name) const { return path_ + "\\" + name; }

  private:
    std::string path_;
};

} // namespace quorle::testing

namespace quorle::testing {

// Wine keeps no archive flag of its own and, run as root, lets every file be
// written; the checks that need a real Windows file system ask this.
inline bool UnderWine() {
#if defined(_WIN32)
    void* ntdll = platform::LoadLibrary("ntdll.dll");
    return ntdll != nullptr && platform::GetProcAddress(ntdll, "wine_get_version") != nullptr;
#else
    return false;
#endif
}

} // namespace quorle::testing
