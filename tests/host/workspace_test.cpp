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

// A NUL reaches the plug-in as the end of its text and would be lost without
// a word, and with it the edit's promise that an OK changing nothing writes
// nothing: the workspace is refused, naming where the NUL is.
TEST(Workspace, ANulCharacterInAnyTextIsRefusedWhereItIs) {
    std::string error;
    EXPECT_FALSE(ParseWorkspace(R"({"projects": [{"name": "a", "options": [{"phase": "Compiler",
        "value": "[S|DEFINES|A\u0000B]"}]}]})",
                                "x.qws", error));
    EXPECT_NE(error.find("NUL character"), std::string::npos) << error;
    EXPECT_NE(error.find("projects[0].options[0].value"), std::string::npos) << error;
    EXPECT_FALSE(ParseWorkspace(
        R"({"placeholders": {"B\u0000X": "v"}, "projects": [{"name": "a"}]})", "x.qws", error));
    EXPECT_NE(error.find("the key \"placeholders.B\\u0000X\""), std::string::npos) << error;
    EXPECT_FALSE(
        ParseWorkspace(R"({"projects": [{"name": "a", "files": ["a\u0000.c"]}]})", "x.qws", error));
    EXPECT_NE(error.find("projects[0].files[0]"), std::string::npos) << error;
    // Deeply nested input is walked without recursion.
    std::string deep = R"({"projects": [{"name": "a"}], "x": )" + std::string(100000, '[') +
                       std::string(100000, ']') + "}";
    EXPECT_FALSE(ParseWorkspace(deep, "x.qws", error));
    EXPECT_NE(error.find("unknown key \"x\""), std::string::npos) << error;
}

TEST(Workspace, TheLauncherIsAProgramOrWords) {
    std::string error;
    auto one = ParseWorkspace(
        R"({"launcher": "/opt/my tools/ccache", "projects": [{"name": "a"}]})", "/x.qws", error);
    ASSERT_TRUE(one) << error;
    EXPECT_EQ(one->launcher, std::vector<std::string>{"/opt/my tools/ccache"});
    auto words = ParseWorkspace(
        R"({"launcher": ["ccache", "-d", "/cache dir"], "projects": [{"name": "a"}]})", "/x.qws",
        error);
    ASSERT_TRUE(words) << error;
    EXPECT_EQ(words->launcher, (std::vector<std::string>{"ccache", "-d", "/cache dir"}));
    auto none = ParseWorkspace(R"({"launcher": "", "projects": [{"name": "a"}]})", "/x.qws", error);
    ASSERT_TRUE(none) << error;
    EXPECT_TRUE(none->launcher.empty());
    for (const char* bad : {R"({"launcher": 3, "projects": [{"name": "a"}]})",
                            R"({"launcher": ["ccache", 3], "projects": [{"name": "a"}]})",
                            R"({"launcher": ["ccache", ""], "projects": [{"name": "a"}]})",
                            R"({"launcher": ["a\"b"], "projects": [{"name": "a"}]})"}) {
        EXPECT_FALSE(ParseWorkspace(bad, "x.qws", error)) << bad;
        EXPECT_NE(error.find("launcher"), std::string::npos) << error;
    }
}

// An option entry for a phase that does not exist applies to no step: the
// build would go on without the options and fail far from the cause.
TEST(Workspace, AnUnknownPhaseIsAnErrorNamingTheClosestOne) {
    const std::string text = "{\n  \"projects\": [{\"name\": \"a\", \"options\": [\n"
                             "    {\"phase\": \"Compiler\", \"value\": \"x\"},\n"
                             "    {\"phase\":  \"Linkr\", \"value\": \"y\"}]}]\n}\n";
    std::string error;
    EXPECT_FALSE(ParseWorkspace(text, "demo.qws", error));
    EXPECT_EQ(error.rfind("demo.qws:4:16: error: unknown phase \"Linkr\"", 0), 0u) << error;
    EXPECT_NE(error.find("did you mean \"Linker\"?"), std::string::npos) << error;
    // Full names, short names and the workspace's own phases are known.
    for (const char* phase : {"GNU Linker", "Linker", "Generator", "My Tool"}) {
        std::string ws = std::string(R"({"phases": ["My Tool", "GNU Linker"], "projects": [{"name":
            "a", "options": [{"phase": ")") +
                         phase + R"(", "value": "v"}]}]})";
        EXPECT_TRUE(ParseWorkspace(ws, "x.qws", error)) << phase << ": " << error;
    }
    // Far from every phase: no guess, still an error.
    EXPECT_FALSE(ParseWorkspace(R"({"projects": [{"name": "a", "options": [{"phase": "Zzzzzz",
        "value": "v"}]}]})",
                                "x.qws", error));
    EXPECT_NE(error.find("unknown phase \"Zzzzzz\""), std::string::npos) << error;
    EXPECT_EQ(error.find("did you mean"), std::string::npos) << error;
}

TEST(Workspace, ASyntaxErrorIsPlacedAndSaidInWords) {
    std::string error;
    // A missing colon on line 3, column 13.
    EXPECT_FALSE(
        ParseWorkspace("{\n  \"projects\": [\n    {\"name\" \"a\"}]\n}", "demo.qws", error));
    EXPECT_EQ(error, "demo.qws:3:13: error: syntax error: expected ':' after a key, found string "
                     "literal")
        << error;
    // A trailing comma, and a file cut short.
    EXPECT_FALSE(ParseWorkspace("{\"projects\": [],\n}", "w.qws", error));
    EXPECT_EQ(error.rfind("w.qws:2:1: error: syntax error: expected string literal for a key", 0),
              0u)
        << error;
    EXPECT_FALSE(ParseWorkspace("{\"projects\": [", "w.qws", error));
    EXPECT_EQ(error.rfind("w.qws:1:15: error: syntax error:", 0), 0u) << error;
    EXPECT_NE(error.find("end of input"), std::string::npos) << error;
    EXPECT_EQ(error.find("json.exception"), std::string::npos) << error;
    // Errors that are not about one place still name the file first.
    EXPECT_FALSE(ParseWorkspace(R"({"projects": []})", "w.qws", error));
    EXPECT_EQ(error, "w.qws: error: the workspace has no projects");
}

} // namespace
} // namespace quorle::host
