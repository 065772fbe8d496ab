// The prologue every workspace command shares: malformed arguments end with
// exit code 2 and the right message, a bad workspace with 1, and the walk over
// the projects skips missing configurations, stops where told and reports a
// plan the plug-in refuses.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_files.h"

#include <cstring>
#include <filesystem>
#include <fstream>

#include "host/workspace_command.h"

namespace quorle::host {
namespace {

namespace fs = std::filesystem;

bool gRefusePhases = false;

int CopyList(const char* data, size_t size, char* buffer, int32_t* length) {
    bool fits = *length >= static_cast<int32_t>(size);
    *length = static_cast<int32_t>(size);
    if (!fits) return 1;
    std::memcpy(buffer, data, size);
    return 0;
}

int QUORLE_CALL PhaseInfo(const char*, char* buffer, int32_t* length) {
    if (gRefusePhases) return 1;
    static const char list[] = "MULTIPLE\0COMPILE\0ON\0";
    return CopyList(list, sizeof list, buffer, length);
}
int QUORLE_CALL InputTypes(const char*, char* buffer, int32_t* length) {
    static const char list[] = "C source file\0";
    return CopyList(list, sizeof list, buffer, length);
}
int QUORLE_CALL Extensions(char* buffer, int32_t* length) {
    static const char list[] = "C source file|TEXT|C\0";
    return CopyList(list, sizeof list, buffer, length);
}

PluginApi ScriptedApi() {
    PluginApi api;
    api.GetBuildPhaseInformation = PhaseInfo;
    api.GetInputFileTypes = InputTypes;
    api.GetSupportedFileExtensions = Extensions;
    return api;
}

// Two projects; only the first has a RELEASE configuration. Empty stored
// options keep the plan from asking for defaults and outputs.
const char* kWorkspace = R"({
  "toolchain": "Dravik GNUCORVO [ELF]", "cpuSeries": "CORVO", "phases": ["GNU Compiler"],
  "projects": [
    {"name": "one", "configurations": {"DEBUG": "Debug", "RELEASE": "Release"},
     "files": ["a.c", "notes.txt"], "options": [{"phase": "Compiler", "value": ""}]},
    {"name": "two", "files": ["b.c"], "options": [{"phase": "Compiler", "value": ""}]}
  ]
})";

class WorkspaceCommandTest : public ::testing::Test {
  protected:
    void SetUp() override {
        gRefusePhases = false;
        root_ = temp_.Root();
        fs::create_directories(root_ / "tc");
        std::ofstream(root_ / "ws.qws") << kWorkspace;
    }
    void TearDown() override {
        gRefusePhases = false;
        fs::remove_all(root_);
    }

    CommandContext Context(std::vector<std::string> args) const {
        args.insert(args.begin(),
                    {(root_ / "ws.qws").string(), "--toolchain", (root_ / "tc").string()});
        return CommandContext{api_, args, (root_ / "host").string()};
    }

    // Which projects the walk saw, as "name/config:steps".
    std::vector<std::string> Walk(const WorkspaceCommand& command, std::optional<int>& stopped,
                                  std::optional<int> answer = std::nullopt) const {
        std::vector<std::string> seen;
        stopped = command.ForEachPlan([&](const ProjectPlan& p) {
            EXPECT_EQ(&p.context.project(), &p.project);
            EXPECT_EQ(p.context.configName(), p.config.name);
            EXPECT_TRUE(fs::is_directory(p.context.configDir())) << p.context.configDir();
            seen.push_back(p.project.name + "/" + p.config.name + ":" +
                           std::to_string(p.plan.steps.size()));
            return answer;
        });
        return seen;
    }

    PluginApi api_ = ScriptedApi();
    testing_support::TempDir temp_{"workspace_command"};
    fs::path root_;
};

TEST_F(WorkspaceCommandTest, MalformedArgumentsGiveExitCodeTwoAndTheirMessage) {
    struct Case {
        std::vector<std::string> args;
        const char* usage;
        std::string message;
    };
    const char* usage = "quorle-host deps [WORKSPACE] FILE";
    const Case cases[] = {
        {{"--frobnicate"}, nullptr, "quorle-host clean: unknown option --frobnicate\n"},
        {{"extra"}, nullptr, "quorle-host clean: unexpected argument extra\n"},
        {{"-j0"}, nullptr, "quorle-host clean: -j needs a number from 1 to 256\n"},
        {{}, usage, "usage: quorle-host deps [WORKSPACE] FILE\n"},
        {{"a.c", "b.c"}, usage, "usage: quorle-host deps [WORKSPACE] FILE\n"},
        {{"a.c", "--config"},
         usage,
         "usage: quorle-host deps [WORKSPACE] FILE: --config needs "
         "a value\n"},
    };
    for (const Case& c : cases) {
        ::testing::internal::CaptureStderr();
        WorkspaceCommand command(Context(c.args), "clean", c.usage);
        std::string printed = ::testing::internal::GetCapturedStderr();
        EXPECT_FALSE(command.ok()) << c.message;
        EXPECT_EQ(command.exitCode(), 2) << c.message;
        EXPECT_EQ(printed, c.message);
    }

    WorkspaceCommand deps(Context({"a.c"}), "deps", usage);
    ASSERT_TRUE(deps.ok());
    EXPECT_EQ(deps.options().positional, (std::vector<std::string>{"a.c"}));
}

TEST_F(WorkspaceCommandTest, AnUnusableWorkspaceGivesExitCodeOne) {
    ::testing::internal::CaptureStderr();
    WorkspaceCommand unnamed(Context({"--project", "three"}), "makefile");
    std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(unnamed.ok());
    EXPECT_EQ(unnamed.exitCode(), 1);
    EXPECT_EQ(printed, "quorle-host makefile: no project named three\n");

    fs::remove(root_ / "ws.qws");
    ::testing::internal::CaptureStderr();
    WorkspaceCommand missing(Context({}), "compdb");
    printed = ::testing::internal::GetCapturedStderr();
    EXPECT_FALSE(missing.ok());
    EXPECT_EQ(missing.exitCode(), 1);
    EXPECT_EQ(printed.rfind("quorle-host compdb: ", 0), 0u) << printed;
    EXPECT_GT(printed.size(), std::strlen("quorle-host compdb: \n")) << printed;
}

TEST_F(WorkspaceCommandTest, WalkSkipsMissingConfigurationsAndStopsWhereTold) {
    WorkspaceCommand all(Context({}), "clean");
    ASSERT_TRUE(all.ok());
    std::optional<int> stopped;
    EXPECT_EQ(Walk(all, stopped), (std::vector<std::string>{"one/DEBUG:1", "two/DEBUG:1"}));
    EXPECT_FALSE(stopped);

    WorkspaceCommand release(Context({"--config", "RELEASE"}), "clean");
    ASSERT_TRUE(release.ok());
    EXPECT_EQ(Walk(release, stopped), (std::vector<std::string>{"one/RELEASE:1"}));
    EXPECT_FALSE(stopped);
    EXPECT_TRUE(fs::is_directory(root_ / "one" / "Release"));

    WorkspaceCommand second(Context({"--project", "two"}), "clean");
    ASSERT_TRUE(second.ok());
    EXPECT_EQ(Walk(second, stopped), (std::vector<std::string>{"two/DEBUG:1"}));

    // An answer ends the walk with that code; the later projects are not planned.
    EXPECT_EQ(Walk(all, stopped, 7), (std::vector<std::string>{"one/DEBUG:1"}));
    EXPECT_EQ(stopped, 7);
    EXPECT_EQ(Walk(all, stopped, 0), (std::vector<std::string>{"one/DEBUG:1"}));
    EXPECT_EQ(stopped, 0);
}

TEST_F(WorkspaceCommandTest, ARefusedPlanEndsTheWalkWithItsMessage) {
    WorkspaceCommand command(Context({}), "deps");
    ASSERT_TRUE(command.ok());
    gRefusePhases = true;
    std::optional<int> stopped;
    ::testing::internal::CaptureStderr();
    std::vector<std::string> seen = Walk(command, stopped);
    std::string printed = ::testing::internal::GetCapturedStderr();
    EXPECT_TRUE(seen.empty());
    EXPECT_EQ(stopped, 1);
    EXPECT_EQ(printed, "quorle-host deps: GetBuildPhaseInformation failed for GNU Compiler\n");

    ::testing::internal::CaptureStderr();
    EXPECT_EQ(command.Error("cannot write x.mak"), 1);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "quorle-host deps: cannot write x.mak\n");
}

} // namespace
} // namespace quorle::host
