#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "interface/quorle.h"
#include "toolchain/family.h"
#include "support/temp_dir.h"

namespace fs = std::filesystem;
using namespace quorle::toolchain;

namespace {

class SettingsFiles : public ::testing::Test {
  protected:
    quorle::testing_support::TempDir temp_{"quorle-family"};

    void Write(const std::string& name, const std::string& text) {
        std::ofstream(dir_ / name, std::ios::binary) << text;
    }
    std::string Read(const std::string& name) {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    // The plug-in's own path as the host passes it, with Windows separators.
    std::string PluginFile() const { return dir_.string() + "\\Quorle.dll"; }

    fs::path dir_ = temp_.Root();
};

} // namespace

TEST_F(SettingsFiles, ToolchainSettingsValue) {
    const std::string dir = dir_.string();
    // Absent file, absent key, the literal default.
    EXPECT_EQ(ReadToolchainSettings(dir, "work"), 0u);
    struct Case {
        const char* value;
        unsigned expected;
    } cases[] = {
        {"3", 3u}, {"2", 2u}, {"12abc", 12u}, {"abc", 0u}, {"False", 0u}, {"-1", 0u}, {"", 0u},
    };
    for (const Case& c : cases) {
        Write("work.Vbp", std::string("[Setting]\r\nToolChain=") + c.value + "\r\n");
        EXPECT_EQ(ReadToolchainSettings(dir, "work"), c.expected) << c.value;
    }
    Write("work.Vbp", "[Other]\r\nToolChain=3\r\n");
    EXPECT_EQ(ReadToolchainSettings(dir, "work"), 0u);
}

TEST_F(SettingsFiles, ToolchainSettingsWriteReadsBack) {
    const std::string dir = dir_.string();
    ASSERT_TRUE(WriteToolchainSettings(dir, "my ws", 3));
    EXPECT_EQ(ReadToolchainSettings(dir, "my ws"), 3u);
    EXPECT_NE(Read("my ws.Vbp").find("ToolChain=3"), std::string::npos);
    ASSERT_TRUE(WriteToolchainSettings(dir, "my ws", 0));
    EXPECT_EQ(ReadToolchainSettings(dir, "my ws"), 0u);
    // Other entries of the file survive.
    Write("keep.Vbp", "[Setting]\r\nOther=x\r\nToolChain=1\r\n");
    ASSERT_TRUE(WriteToolchainSettings(dir, "keep", 2));
    EXPECT_EQ(ReadToolchainSettings(dir, "keep"), 2u);
    EXPECT_NE(Read("keep.Vbp").find("Other=x"), std::string::npos);
}

TEST_F(SettingsFiles, ToolchainSettingsOfAProjectRecord) {
    const std::string dir = dir_.string();
    QuorleProjectInfo info{};
    info.size = sizeof info;
    info.workspaceDir = dir.c_str();
    info.workspaceSettingsName = "proj";
    Write("proj.Vbp", "[Setting]\r\nToolChain=2\r\n");
    unsigned value = ReadToolchainSettings(info);
    EXPECT_EQ(value, 2u);
    EXPECT_TRUE(value & kShowPlaceholdersExpanded);
    EXPECT_FALSE(value & kConfirmModifiedOptions);
    ASSERT_TRUE(WriteToolchainSettings(info, 1));
    EXPECT_EQ(ReadToolchainSettings(dir, "proj"), 1u);
}

TEST_F(SettingsFiles, SiblingVersions) {
    SiblingVersions none = ReadSiblingVersions(PluginFile());
    EXPECT_EQ(none.tolvane, 0);
    EXPECT_EQ(none.ferrlink, 0);

    // A missing second file leaves the first one read.
    Write("tolvane.tbp", "[TOOLCHAIN_BUILD_PHASE]\r\nVersion=7\r\n");
    SiblingVersions one = ReadSiblingVersions(PluginFile());
    EXPECT_EQ(one.tolvane, 7);
    EXPECT_EQ(one.ferrlink, 0);

    struct Case {
        std::string value;
        int expected;
    } cases[] = {
        {"12", 12},
        {"-4", -4},
        {"+5", 5},
        {"9x", 9},
        {"x9", 0},
        {"", 0},
        // A value that fills the whole read buffer is not trusted.
        {std::string(259, '1'), 0},
        {"00000000000000000000000000000000000042", 42},
    };
    for (const Case& c : cases) {
        Write("Ferrlink.tbp", "[TOOLCHAIN_BUILD_PHASE]\r\nVersion=" + c.value + "\r\n");
        EXPECT_EQ(ReadSiblingVersions(PluginFile()).ferrlink, c.expected) << c.value;
    }
    // Either separator ends the directory part.
    Write("Ferrlink.tbp", "[TOOLCHAIN_BUILD_PHASE]\r\nVersion=3\r\n");
    EXPECT_EQ(ReadSiblingVersions(dir_.string() + "/Quorle.dll").ferrlink, 3);
    EXPECT_EQ(ReadSiblingVersions(dir_.string() + "/Quorle.dll").tolvane, 7);
}
