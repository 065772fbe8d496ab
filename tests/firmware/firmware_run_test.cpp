// The example firmware built through the plug-in and run in qemu: on both
// Cortex-M3 machines in both configurations, the negative control without
// the copy of .data, and the second profile's CPU.
#include <regex>

#include "firmware/firmware_harness.h"

namespace quorle::firmware {
namespace {

TEST(FirmwareRuns, OnBothMachinesInBothConfigurations) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    for (const char* config : {"DEBUG", "RELEASE"}) {
        auto build = ws.Build(config);
        ASSERT_EQ(build.exitCode, 0) << build.output;
        // The memory summary follows the link.
        EXPECT_NE(build.output.find("Memory use of " + ws.ConfigDir(config) +
                                    "/firmware.x:\n"
                                    "  FLASH  "),
                  std::string::npos)
            << build.output;
        EXPECT_TRUE(
            std::regex_search(build.output, std::regex("\n  RAM +[0-9.]+ (B|KiB) / +64 KiB ")))
            << build.output;
        for (const char* machine : {"lm3s6965evb", "mps2-an385"}) {
            QemuRun run = RunOnMachine(machine, ws.Program(config));
            EXPECT_FALSE(run.timedOut) << config << " on " << machine;
            EXPECT_EQ(run.exitCode, 0) << config << " on " << machine << ":\n" << run.output;
            EXPECT_NE(run.output.find(std::string(kHelloLine) + "\n" + kCxxLine), std::string::npos)
                << config << " on " << machine << ":\n"
                << run.output;
        }
    }
}

// Without the copy loop .data holds the 0xA5 that RAM was filled with, and
// without the walk over .init_array no constructor runs: the checks in main
// must see both, or the runs above prove nothing.
TEST(FirmwareRuns, WithoutItsStartUpStepEachCheckFails) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    struct Control {
        const char* define;
        const char* message;
    };
    for (const Control& control :
         {Control{"-DSTARTUP_WITHOUT_DATA_COPY", "firmware: .data was not copied"},
          Control{"-DSTARTUP_WITHOUT_CONSTRUCTORS",
                  "firmware: the C++ constructors did not run in priority order"}}) {
        FirmwareWorkspace ws;
        ws.AddCompilerText("DEBUG", control.define);
        auto build = ws.Build("DEBUG");
        ASSERT_EQ(build.exitCode, 0) << build.output;
        QemuRun run = RunOnMachine("lm3s6965evb", ws.Program("DEBUG"));
        EXPECT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 1) << run.output;
        EXPECT_NE(run.output.find(control.message), std::string::npos) << run.output;
        EXPECT_EQ(run.output.find(kHelloLine), std::string::npos) << run.output;
    }
}

// A second Cortex-M is one row of the profile table: the same firmware
// built for a Cortex-M4 runs on qemu's board with one.
TEST(FirmwareRuns, TheCortexM4ProfileBuildsForItsBoard) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws("cortex-m3", "cortex-m4");
    auto build = ws.Build("RELEASE");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    // The objects are for the M4's architecture (the M3's is "7-M").
    auto attributes = platform::RunProcess(
        "arm-none-eabi-readelf -A " + ws.At("Release/main.o").string(), platform::ProcessOptions{});
    EXPECT_NE(attributes.output.find("Tag_CPU_name: \"7E-M\""), std::string::npos)
        << attributes.output;
    QemuRun run = RunOnMachine("mps2-an386", ws.Program("RELEASE"));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(".data copied, .bss zeroed"), std::string::npos) << run.output;
}

} // namespace
} // namespace quorle::firmware
