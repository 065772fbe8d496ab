// The images the build makes: the S-record file holds exactly the ELF
// file's load image and boots on its own, and the makefile route links the
// same image as the host's build.
#include <fstream>

#include "firmware/firmware_harness.h"
#include "support/test_files.h"

namespace quorle::firmware {
namespace {

TEST(FirmwareImage, TheMotFileIsTheLoadImageAndBootsAlone) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    auto build = ws.Build("RELEASE");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    std::string error;
    auto records = ReadSRecords(testing_support::ReadBytes(ws.Program("RELEASE", ".mot")), error);
    ASSERT_TRUE(records) << error;
    std::map<uint64_t, std::string> mot = Joined(*records);
    std::map<uint64_t, std::string> elf = ElfLoadImage(ws.Program("RELEASE"));
    ASSERT_FALSE(elf.empty());
    EXPECT_EQ(mot, elf);
    // Flash from 0 holds the vectors, the code and the load image of .data.
    ASSERT_EQ(mot.size(), 1u);
    EXPECT_EQ(mot.begin()->first, 0u);

    // A raw image from the S-records alone, loaded at 0.
    fs::path raw = ws.At("firmware.bin");
    std::ofstream(raw, std::ios::binary) << mot.begin()->second;
    QemuRun run = RunOnMachine("mps2-an385", raw);
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(kHelloLine), std::string::npos) << run.output;
}

TEST(FirmwareImage, TheMakefileRouteLinksTheSameImage) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    auto build = ws.Build("DEBUG");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    std::map<uint64_t, std::string> built = ElfLoadImage(ws.Program("DEBUG"));
    ASSERT_FALSE(built.empty());
    ASSERT_EQ(ws.Host({"clean", ws.WorkspaceFile().string(), "--config", "DEBUG"}).exitCode, 0);
    ASSERT_FALSE(fs::exists(ws.Program("DEBUG")));
    auto makefile = ws.Host({"makefile", ws.WorkspaceFile().string(), "--config", "DEBUG"});
    ASSERT_EQ(makefile.exitCode, 0) << makefile.output;
    platform::ProcessOptions options;
    options.workingDirectory = ws.Root().string();
    options.timeoutMs = 5 * 60 * 1000;
    auto make = platform::RunProcess("make -f firmware_DEBUG.mak", options);
    ASSERT_EQ(make.exitCode, 0) << make.output;
    EXPECT_EQ(ElfLoadImage(ws.Program("DEBUG")), built);
    std::string error;
    auto records = ReadSRecords(testing_support::ReadBytes(ws.Program("DEBUG", ".mot")), error);
    ASSERT_TRUE(records) << error;
    EXPECT_EQ(Joined(*records), built);
}

TEST(FirmwareImage, SRecordsAreCheckedAsTheyAreRead) {
    std::string error;
    auto good = ReadSRecords("S00600004844521B\nS1070000DEADBEEFC0\nS5030001FB\n", error);
    ASSERT_TRUE(good) << error;
    EXPECT_EQ(good->at(0), "\xDE\xAD\xBE\xEF");
    EXPECT_FALSE(ReadSRecords("S1070000DEADBEEFC1\n", error)); // checksum
    EXPECT_NE(error.find("checksum"), std::string::npos);
    EXPECT_FALSE(ReadSRecords("S1070000DEADBE\n", error)); // cut short
    EXPECT_EQ(Joined({{0, "ab"}, {2, "cd"}, {8, "x"}}),
              (std::map<uint64_t, std::string>{{0, "abcd"}, {8, "x"}}));
}

} // namespace
} // namespace quorle::firmware
