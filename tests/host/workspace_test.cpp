// The workspace file and the choice of option strings.
#include <gtest/gtest.h>

#include "host/workspace.h"

namespace quorle::host {
namespace {

const char* kWorkspace = R"({
  // comments are allowed
  "workspace": "ws", "toolchain": "Dravik GNUZENTA [ELF]", "cpuSeries": "ZENTA",
  "toolchainDir": "tc",
  "placeholders": {"BOARD": "evb"},
  "projects": [{
    "name": "app", "dir": "apps/app",
    "configurations": {"DEBUG": "out/dbg", "RELEASE": "/abs/rel"},
    "files": ["src/a.c", "src/b.c"],
    "options": [
      {"phase": "Compiler", "fileType": "C source file", "value": "type-any"},
      {"phase": "Compiler", "fileType": "C source file", "config": "DEBUG", "value": "type-debug"},
      {"phase": "GNU Compiler", "file": "src/b.c", "config": "*", "value": "file-any"},
      {"phase": "Linker", "config": "RELEASE", "value": "link-release"}
    ]}]
})";

TEST(Workspace, ParsesFieldsAndResolvesDirectories) {
    std::string error;
    auto ws = ParseWorkspace(kWorkspace, "/w/space/ws.qws", error);
    ASSERT_TRUE(ws) << error;
    EXPECT_EQ(ws->dir, "/w/space");
    EXPECT_EQ(ws->name, "ws");
    EXPECT_EQ(ws->settingsName, "ws");
    EXPECT_EQ(ws->toolchainDir, "/w/space/tc");
    EXPECT_EQ(ws->phases, DefaultPhaseNames());
    ASSERT_EQ(ws->projects.size(), 1u);
    const Project& p = ws->projects[0];
    EXPECT_EQ(p.dir, "/w/space/apps/app");
    ASSERT_EQ(p.configurations.size(), 2u);
    EXPECT_EQ(p.configurations[0].name, "DEBUG");
    EXPECT_EQ(p.configurations[0].dir, "out/dbg");
    EXPECT_EQ(p.files, (std::vector<std::string>{"src/a.c", "src/b.c"}));
    ASSERT_EQ(ws->placeholders.size(), 1u);
    EXPECT_EQ(ws->placeholders[0].second, "evb");
}

TEST(Workspace, OptionStringsPreferFileThenTypeThenConfiguration) {
    std::string error;
    auto ws = ParseWorkspace(kWorkspace, "/w/ws.qws", error);
    ASSERT_TRUE(ws) << error;
    const Project& p = ws->projects[0];
    EXPECT_EQ(FindOptions(p, "GNU Compiler", "DEBUG", "C source file", "src/a.c"), "type-debug");
    EXPECT_EQ(FindOptions(p, "GNU Compiler", "RELEASE", "C source file", "src/a.c"), "type-any");
    EXPECT_EQ(FindOptions(p, "GNU Compiler", "DEBUG", "C source file", "src/b.c"), "file-any");
    EXPECT_EQ(FindOptions(p, "GNU Compiler", "DEBUG", "C++ source file", "src/c.cpp"),
              std::nullopt);
    EXPECT_EQ(FindOptions(p, "GNU Linker", "RELEASE", "", ""), "link-release");
    EXPECT_EQ(FindOptions(p, "GNU Linker", "DEBUG", "", ""), std::nullopt);
    // "Compiler" names every phase ending in it, but not the other way round.
    EXPECT_TRUE(PhaseMatches("Compiler", "GNU Compiler"));
    EXPECT_FALSE(PhaseMatches("GNU Compiler", "Compiler"));
    EXPECT_FALSE(PhaseMatches("compiler", "GNU Compiler"));
}

TEST(Workspace, MalformedInputIsReportedNotGuessed) {
    std::string error;
    EXPECT_FALSE(ParseWorkspace("{", "x.qws", error));
    EXPECT_NE(error.find("x.qws"), std::string::npos);
    EXPECT_FALSE(ParseWorkspace(R"({"projects": []})", "x.qws", error));
    EXPECT_NE(error.find("no projects"), std::string::npos);
    EXPECT_FALSE(ParseWorkspace(R"({"projects": [{"dir": "a"}]})", "x.qws", error));
    EXPECT_NE(error.find("name"), std::string::npos);
    EXPECT_FALSE(
        ParseWorkspace(R"({"toolchain": 5, "projects": [{"name": "a"}]})", "x.qws", error));
    EXPECT_FALSE(ParseWorkspace(R"({"projects": [{"name": "a", "options": [{"value": "x"}]}]})",
                                "x.qws", error));
    EXPECT_NE(error.find("phase"), std::string::npos);
    // A project without configurations gets the IDE's usual DEBUG one.
    auto ws = ParseWorkspace(R"({"projects": [{"name": "a"}]})", "/x.qws", error);
    ASSERT_TRUE(ws);
    ASSERT_EQ(ws->projects[0].configurations.size(), 1u);
    EXPECT_EQ(ws->projects[0].configurations[0].name, "DEBUG");
    EXPECT_EQ(ws->projects[0].dir, "/a");
}

} // namespace
} // namespace quorle::host
