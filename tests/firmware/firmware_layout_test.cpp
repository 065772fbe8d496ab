// The example's section layout on the real linker: kept sections survive
// --gc-sections and unkept ones go, a region that overflows is an error
// naming it, the memory map is drawn; and the profile's other duties: links
// driven by gcc, big-endian code refused, the C library built for the target.
#include <fstream>

#include "firmware/firmware_harness.h"
#include "host/elf_file.h"
#include "support/test_files.h"

namespace quorle::firmware {
namespace {

const host::ElfSection* SectionNamed(const host::ElfFile& elf, const std::string& name) {
    for (const host::ElfSection& s : elf.sections)
        if (s.name == name) return &s;
    return nullptr;
}

uint64_t SizeOf(const host::ElfFile& elf, const std::string& name) {
    const host::ElfSection* s = SectionNamed(elf, name);
    return s == nullptr ? 0 : s->size;
}

host::ElfFile Read(const fs::path& program) {
    std::string error;
    auto elf = host::ReadElfFile(program.string(), error);
    EXPECT_TRUE(elf) << error;
    return elf.value_or(host::ElfFile{});
}

// The keep flag of a group in the stored layout: name, colour, load kind,
// load address, placement, placement text, no load, keep.
std::string Unkept(std::string options, const std::string& groupHead) {
    return Replaced(options, groupHead + "|1|", groupHead + "|0|");
}

TEST(FirmwareLayout, GarbageCollectionKeepsOnlyTheKeptGroups) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    // RELEASE links with --gc-sections; the vectors and the NOLOAD stack are kept.
    auto build = ws.Build("RELEASE");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    host::ElfFile kept = Read(ws.Program("RELEASE"));
    ASSERT_NE(SectionNamed(kept, ".vects"), nullptr);
    EXPECT_EQ(SectionNamed(kept, ".vects")->address, 0u);
    EXPECT_EQ(SizeOf(kept, ".vects"), 64u);
    EXPECT_EQ(SizeOf(kept, ".stack"), 4096u);
    EXPECT_FALSE(SectionNamed(kept, ".stack")->HasContents()); // NOLOAD: not in the image

    ws.EditOptions("Linker", "RELEASE", [](std::string options) {
        return Unkept(Unkept(options, ".vects|0|0||3|FLASH|0"), ".stack|4|0||3|RAM|1");
    });
    build = ws.Build("RELEASE");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    host::ElfFile dropped = Read(ws.Program("RELEASE"));
    EXPECT_EQ(SizeOf(dropped, ".vects"), 0u);
    EXPECT_LT(SizeOf(dropped, ".stack"), 8u); // at most the padding of its ALIGN(8)
    // No vector table at 0: the core takes its stack pointer and reset
    // vector from the code and locks up; it never gets to say hello.
    QemuRun run = RunOnMachine("lm3s6965evb", ws.Program("RELEASE"), 3000);
    EXPECT_TRUE(run.timedOut || run.exitCode != 0) << run.output;
    EXPECT_EQ(run.output.find(kHelloLine), std::string::npos) << run.output;
}

TEST(FirmwareLayout, ARegionThatOverflowsIsAnErrorNamingIt) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    // 2 KiB of RAM cannot hold the 4 KiB stack.
    ws.EditOptions("Linker", "DEBUG", [](std::string options) {
        return Replaced(options, "|RAM|1|0x20000000|0x2000FFFF|", "|RAM|1|0x20000000|0x200007FF|");
    });
    auto build = ws.Build("DEBUG");
    EXPECT_NE(build.exitCode, 0) << build.output;
    std::istringstream lines(build.output);
    bool named = false;
    for (std::string line; std::getline(lines, line);)
        named = named || (line.rfind("error: ", 0) == 0 &&
                          line.find("region `RAM' overflowed by") != std::string::npos);
    EXPECT_TRUE(named) << build.output;
    EXPECT_EQ(build.output.find("Memory use of"), std::string::npos) << build.output;
}

TEST(FirmwareLayout, TheMemoryCommandListsTheRegionsAndDrawsTheMap) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    ASSERT_EQ(ws.Build("DEBUG").exitCode, 0);
    fs::path svg = ws.At("map.svg");
    auto memory = ws.Host({"memory", ws.WorkspaceFile().string(), "--svg", svg.string()});
    ASSERT_EQ(memory.exitCode, 0) << memory.output;
    for (const char* part :
         {"firmware (DEBUG), Debug/firmware.x:\n  FLASH  ",
          "    .vects       0x00000000     64 B\n", "    .init_array  0x00000040     12 B\n",
          "(load image)\n", "\n  RAM    ", "    .stack  0x20000050  4 KiB\n"})
        EXPECT_NE(memory.output.find(part), std::string::npos) << part << "\n" << memory.output;
    std::string picture = testing_support::ReadBytes(svg);
    EXPECT_NE(picture.find(">FLASH<"), std::string::npos);
    EXPECT_NE(picture.find(">RAM<"), std::string::npos);
    // It renders: rsvg-convert reads it and makes a PNG.
    fs::path png = ws.At("map.png");
    auto convert = platform::RunProcess("rsvg-convert " + svg.string() + " -o " + png.string(),
                                        platform::ProcessOptions{});
    if (!convert.started) GTEST_SKIP() << "rsvg-convert is not installed (librsvg2-bin)";
    ASSERT_EQ(convert.exitCode, 0) << convert.output;
    EXPECT_EQ(testing_support::ReadBytes(png).substr(0, 8), "\x89PNG\r\n\x1a\n");
}

// gcc drives the link in both configurations: the objects stay in the
// linker input file, which reaches ld before the generated C library and
// libgcc they need; the kept .init_array survives --gc-sections in RELEASE.
TEST(FirmwareLayout, AGccDrivenLinkFindsItsEntryAndLibrariesAndRuns) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    ws.EditOptions("Linker", "", [](std::string options) {
        return Replaced(options, "[S|OUTFORM|BOTH]", "[S|OUTFORM|BOTH] [B|USEGCCTOLINK|1]");
    });
    for (const char* config : {"DEBUG", "RELEASE"}) {
        auto build = ws.Build(config);
        ASSERT_EQ(build.exitCode, 0) << build.output;
        EXPECT_NE(build.output.find("0 errors, 0 warnings"), std::string::npos) << build.output;
        EXPECT_EQ(build.output.find("entry symbol"), std::string::npos) << build.output;
        QemuRun run = RunOnMachine("mps2-an385", ws.Program(config));
        EXPECT_EQ(run.exitCode, 0) << config << ":\n" << run.output;
        EXPECT_NE(run.output.find(std::string(kHelloLine) + "\n" + kCxxLine), std::string::npos)
            << config << ":\n"
            << run.output;
    }
    // The entry is Reset_Handler, in Thumb state.
    auto nm = platform::RunProcess("arm-none-eabi-nm " + ws.Program("DEBUG").string(),
                                   platform::ProcessOptions{});
    size_t at = nm.output.find(" T Reset_Handler");
    ASSERT_NE(at, std::string::npos) << nm.output;
    uint64_t handler = std::stoull(nm.output.substr(at - 8, 8), nullptr, 16);
    EXPECT_EQ(Read(ws.Program("DEBUG")).entry, handler | 1);
}

TEST(FirmwareLayout, TheProfileRefusesBigEndianAndBuildsTheLibraryForTheTarget) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    ASSERT_EQ(ws.Build("DEBUG").exitCode, 0);
    // The library generator's objects are the target's: 32-bit ARM.
    fs::path object = ws.At("Debug/libfirmware.libgen/string.o");
    host::ElfFile library = Read(object);
    EXPECT_FALSE(library.is64);
    EXPECT_FALSE(library.bigEndian);
    EXPECT_EQ(library.machine, 40); // EM_ARM

    ws.EditOptions("Compiler", "DEBUG", [](std::string options) {
        return Replaced(options, "[S|ENDIAN|LITTLE]", "[S|ENDIAN|BIG]");
    });
    auto big = ws.Build("DEBUG");
    EXPECT_NE(big.exitCode, 0) << big.output;
    EXPECT_NE(big.output.find("error: -mb asks for big-endian code, but the cortex-m3 target is "
                              "little-endian"),
              std::string::npos)
        << big.output;
}

} // namespace
} // namespace quorle::firmware
