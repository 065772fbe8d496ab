// Small file helpers shared by tests that check bytes written to disk.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

namespace quorle::testing_support {

inline std::string ReadBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}


// A fresh directory named after the running test (or, outside a test, after
// the moment), so that tests run in parallel processes never share one.
inline std::filesystem::path FreshTestDir(const std::string& prefix) {
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = test != nullptr
                           ? std::string(test->test_suite_name()) + "_" + test->name()
                           : std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
    // Processes started at once may read the same clock: add a random part.
    name += "_" + std::to_string(std::random_device{}());
    return FreshDir(prefix + "_" + name);
}

} // namespace quorle::testing_support
