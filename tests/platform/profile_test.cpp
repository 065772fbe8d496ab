#include <gtest/gtest.h>

#include <cctype>

#include "platform/platform.h"
#include "support/temp_dir.h"

using namespace quorle::platform;
using quorle::testing_support::TempDir;

TEST(Profile, ReadsLikeThePrivateProfileCall) {
    TempDir dir;
    std::string file = dir.File("ws.Vbp");
    ASSERT_TRUE(WriteFile(file,
                          "[Other]\r\nToolChain=wrong\r\n\r\n[ setting ]\r\n"
                          "  toolchain  =  Dravik GNUCORVO [ELF]  \r\nQuoted=\"  a b  \"\r\n"
                          "Empty=\r\nToolChain=second\r\n",
                          false));
    EXPECT_EQ(ProfileGetString(file, "Setting", "ToolChain", "none"), "Dravik GNUCORVO [ELF]");
    EXPECT_EQ(ProfileGetString(file, "SETTING", "quoted", "none"), "  a b  ");
    EXPECT_EQ(ProfileGetString(file, "Setting", "Empty", "none"), "");
    EXPECT_EQ(ProfileGetString(file, "Setting", "Missing", "dflt  "), "dflt");
    EXPECT_EQ(ProfileGetString(file, "Nowhere", "ToolChain", "d"), "d");
    EXPECT_EQ(ProfileGetString(dir.File("none.ini"), "Setting", "ToolChain", "d"), "d");
}

TEST(Profile, TruncatesToTheBuffer) {
    TempDir dir;
    std::string file = dir.File("p.ini");
    ASSERT_TRUE(ProfileWriteString(file, "S", "K", "abcdef"));
    size_t copied = 99;
    EXPECT_EQ(ProfileGetString(file, "S", "K", "", 4, &copied), "abc");
    EXPECT_EQ(copied, 3u);
    EXPECT_EQ(ProfileGetString(file, "S", "K", "", 7, &copied), "abcdef");
    EXPECT_EQ(copied, 6u);
    EXPECT_EQ(ProfileGetString(file, "S", "none", "xyz", 2, &copied), "x");
    EXPECT_EQ(copied, 1u);
    EXPECT_EQ(ProfileGetString(file, "S", "K", "", 1, &copied), "");
    EXPECT_EQ(copied, 0u);
}

TEST(Profile, WritingCreatesAndReplaces) {
    TempDir dir;
    std::string file = dir.File("new.ini");
    ASSERT_TRUE(ProfileWriteString(file, "A", "one", "1"));
    ASSERT_TRUE(ProfileWriteString(file, "B", "two", "2"));
    ASSERT_TRUE(ProfileWriteString(file, "a", "Three", "3"));
    ASSERT_TRUE(ProfileWriteString(file, "A", "ONE", "uno"));
    EXPECT_EQ(ProfileGetString(file, "A", "one", ""), "uno");
    EXPECT_EQ(ProfileGetString(file, "A", "three", ""), "3");
    EXPECT_EQ(ProfileGetString(file, "B", "two", ""), "2");
    EXPECT_EQ(ProfileGetString(file, "B", "three", "no"), "no");
    // Each key once, in its own section; CR LF line ends.
    auto text = ReadFile(file, false);
    ASSERT_TRUE(text.has_value());
    EXPECT_EQ(text->find("[A]\r\n"), 0u);
    EXPECT_EQ(text->find("uno"), text->rfind("uno"));
    EXPECT_LT(text->find("3\r\n"), text->find("[B]"));
    EXPECT_FALSE(ProfileWriteString(dir.File("no\\dir\\x.ini"), "A", "k", "v"));
}

TEST(Registry, DefaultValuesOfKeyPaths) {
    TempDir dir;
    std::string file = dir.File("registry.ini");
    auto saved = GetEnv("QUORLE_REGISTRY");
    ASSERT_TRUE(SetEnv("QUORLE_REGISTRY", file));
    // Unique per run: on Windows the real registry is used.
    std::string unique = dir.Path().substr(dir.Path().find_last_of("\\/") + 1);
    const std::string root = "Software\\Quorle Tests\\" + unique;
    const std::string key = root + "\\GNU Support\\Count";
    EXPECT_FALSE(RegistryQueryValue(key).has_value());
    EXPECT_TRUE(RegistrySetValue(key, "7"));
    EXPECT_EQ(RegistryQueryValue(key), "7");
    std::string lower = key;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(RegistryQueryValue(lower), "7");
    EXPECT_TRUE(RegistrySetValue(key, " spaced \"value\" "));
    EXPECT_EQ(RegistryQueryValue(key), " spaced \"value\" ");
    EXPECT_TRUE(RegistrySetValue(root + "\\Other", ""));
    EXPECT_EQ(RegistryQueryValue(root + "\\Other"), "");
    EXPECT_EQ(RegistryQueryValue(key), " spaced \"value\" ");
    // Key names may hold brackets, as the feedback keys' toolchain tags do.
    const std::string bracketed = root + "\\Dravik GNUPELKA [ELF]-v4.1";
    EXPECT_TRUE(RegistrySetValue(bracketed, "3"));
    EXPECT_EQ(RegistryQueryValue(bracketed), "3");
    EXPECT_EQ(RegistryQueryValue(key), " spaced \"value\" ");
    if (saved) {
        SetEnv("QUORLE_REGISTRY", *saved);
    } else {
        UnsetEnv("QUORLE_REGISTRY");
    }
}
