#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>

#include "platform/platform.h"

using namespace quorle::platform;

TEST(Environment, SetReadListAndRemove) {
    ASSERT_TRUE(SetEnv("QUORLE_PLATFORM_TEST", "a=b c"));
    EXPECT_EQ(GetEnv("QUORLE_PLATFORM_TEST"), "a=b c");
    auto entries = EnvironmentStrings();
    EXPECT_NE(std::find(entries.begin(), entries.end(), "QUORLE_PLATFORM_TEST=a=b c"),
              entries.end());
    ASSERT_TRUE(UnsetEnv("QUORLE_PLATFORM_TEST"));
    EXPECT_FALSE(GetEnv("QUORLE_PLATFORM_TEST").has_value());
    entries = EnvironmentStrings();
    EXPECT_EQ(
        std::find_if(entries.begin(), entries.end(),
                     [](const std::string& e) { return e.rfind("QUORLE_PLATFORM_TEST=", 0) == 0; }),
        entries.end());
}

TEST(System, VersionAndLocalTime) {
    OsVersion version = GetOsVersion();
    EXPECT_GT(version.major, 0u);
    std::string year = FormatLocalTime("%Y");
    ASSERT_EQ(year.size(), 4u);
    EXPECT_TRUE(std::all_of(year.begin(), year.end(), [](char c) { return std::isdigit(c); }));
    EXPECT_GE(std::stoi(year), 2020);
    // The C locale: English month names.
    std::string month = FormatLocalTime("%b");
    const std::string months = "JanFebMarAprMayJunJulAugSepOctNovDec";
    ASSERT_EQ(month.size(), 3u);
    EXPECT_EQ(months.find(month) % 3, 0u);
    EXPECT_EQ(FormatLocalTime(""), "");
}

TEST(DynamicLibrary, LoadsAndFindsSymbols) {
#ifdef _WIN32
    const std::string library = "kernel32.dll";
    const std::string symbol = "GetTickCount";
#else
    const std::string library = "libm.so.6";
    const std::string symbol = "cos";
#endif
    void* handle = LoadLibrary(library);
    ASSERT_NE(handle, nullptr);
    EXPECT_NE(GetProcAddress(handle, symbol), nullptr);
    EXPECT_EQ(GetProcAddress(handle, "no_such_symbol_quorle"), nullptr);
    EXPECT_EQ(GetProcAddress(nullptr, symbol), nullptr);
    FreeLibrary(handle);
    EXPECT_EQ(LoadLibrary("no-such-library-quorle.so"), nullptr);
    FreeLibrary(nullptr);
}
