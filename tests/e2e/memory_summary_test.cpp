// The memory summary on the x86 demo, whose layout has no memory regions:
// after the link the sections are listed with their addresses and sizes,
// and `quorle-host memory` lists them too.
#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

#include "platform/platform.h"
#include "support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
namespace platform = quorle::platform;

platform::ProcessResult Host(const fs::path& dir, const std::vector<std::string>& args) {
    std::string line = std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host";
    for (const std::string& a : args) line += " \"" + a + "\"";
    platform::ProcessOptions options;
    options.timeoutMs = 5 * 60 * 1000;
    options.workingDirectory = dir.string();
    options.environment = {"QUORLE_REGISTRY=" + (dir / "registry.ini").string(), "NO_COLOR=1"};
    return platform::RunProcess(line, options);
}

TEST(MemorySummary, ALayoutWithoutRegionsListsTheSections) {
    quorle::testing_support::TempDir temp("memory_summary");
    const fs::path root = temp.Root();
    const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / "demo";
    for (const char* part : {"src", "include", "demo.qws"})
        fs::copy(source / part, root / part, fs::copy_options::recursive);
    auto layout = Host(root, {"toolchain", (root / "tc").string()});
    ASSERT_EQ(layout.exitCode, 0) << layout.output;
    auto build = Host(root, {"build", "--toolchain", (root / "tc").string()});
    ASSERT_EQ(build.exitCode, 0) << build.output;
    // The demo's groups at their fixed addresses, the stack at 0xFFFC00.
    EXPECT_TRUE(std::regex_search(build.output,
                                  std::regex("Memory use of Debug/demo.x:\n  \\.vects +0x00000000 "
                                             "+[0-9]+ B\n(  .*\n)*  \\.stack +0x00fffc00 +1 KiB\n")))
        << build.output;
    auto memory = Host(root, {"memory", "--toolchain", (root / "tc").string()});
    ASSERT_EQ(memory.exitCode, 0) << memory.output;
    EXPECT_NE(memory.output.find("demo (DEBUG), Debug/demo.x:\n  .vects"), std::string::npos)
        << memory.output;
    EXPECT_NE(memory.output.find("  .mdata "), std::string::npos) << memory.output;
    // Before a build there is nothing to measure, and the command says so.
    auto release = Host(root, {"memory", "--config", "RELEASE", "--toolchain", (root / "tc").string()});
    EXPECT_NE(release.exitCode, 0);
    EXPECT_NE(release.output.find("build demo first"), std::string::npos) << release.output;
}

} // namespace
