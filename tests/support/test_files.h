// Small file helpers shared by tests that check bytes written to disk.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

namespace quorle::testing_support {

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

// An empty directory below the test temporary directory, made anew each call.
inline std::filesystem::path FreshDir(const std::string& name) {
    std::filesystem::path dir = std::filesystem::path(::testing::TempDir()) / ("quorle_" + name);
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

} // namespace quorle::testing_support
