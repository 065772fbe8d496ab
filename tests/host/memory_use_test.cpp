// Memory use after a link: the regions of the option string's layout, each
// section counted where it runs and where it is loaded, the summary lines,
// and the picture of the map.
#include <gtest/gtest.h>

#include <regex>

#include "host/memory_map_svg.h"
#include "host/memory_use.h"
#include "support/elf_writer.h"

namespace quorle::host {
namespace {

using testing_support::ElfWriter;

constexpr const char* kFirmwareLayout =
    "[V|VERSION|2] [S|OUTFORM|BOTH] "
    "[S|MEMDET|FLASH|0|0x00000000|0x0003FFFF|RAM|1|0x20000000|0x2000FFFF|*] [S|GROUPDET|]";

ElfFile Firmware() {
    ElfWriter w;
    w.sections = {
        {".vects", 1, 0x2, 0x0, 0, std::string(64, 'V')},
        {".text", 1, 0x6, 0x40, 0, std::string(756, 'T')},
        {".data", 1, 0x3, 0x20000000, 0, std::string(16, 'D')},
        {".bss", 8, 0x3, 0x20000010, 32, ""},
        {".stack", 8, 0x3, 0x20000030, 4096, ""},
        {".empty", 1, 0x3, 0x20000030, 0, ""},
        {".debug_info", 1, 0, 0, 0, std::string(100, 'g')},
    };
    w.segments = {{1, 0x0, 0x0, 820, 0}, {1, 0x20000000, 0x334, 0x10, 2}};
    // The text segment holds both .vects and .text.
    std::string bytes = w.Build();
    std::string error;
    auto elf = ReadElf(bytes, error);
    EXPECT_TRUE(elf) << error;
    return elf.value_or(ElfFile{});
}

TEST(MemoryUse, RegionsComeFromTheLayoutToken) {
    auto regions = MemoryRegionsOf(kFirmwareLayout);
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].name, "FLASH");
    EXPECT_EQ(regions[0].start, 0u);
    EXPECT_EQ(regions[0].Size(), 256u * 1024);
    EXPECT_EQ(regions[1].name, "RAM");
    EXPECT_EQ(regions[1].start, 0x20000000u);
    EXPECT_EQ(regions[1].Size(), 64u * 1024);
    // Other address spellings, a quoted name, and regions that do not read.
    regions = MemoryRegionsOf("[S|MEMDET|\"boot rom\"|0|H'100|H'1FF|bad|0|xyz|0x10|"
                              "back|0|0x20|0x10|ram|2|8000|8fff|*]");
    ASSERT_EQ(regions.size(), 2u);
    EXPECT_EQ(regions[0].name, "boot rom");
    EXPECT_EQ(regions[0].start, 0x100u);
    EXPECT_EQ(regions[0].end, 0x1FFu);
    EXPECT_EQ(regions[1].name, "ram");
    EXPECT_EQ(regions[1].start, 0x8000u);
    EXPECT_TRUE(MemoryRegionsOf("[V|VERSION|2] [S|GROUPDET|]").empty());
}

TEST(MemoryUse, DataCountsWhereItRunsAndWhereItIsLoaded) {
    MemoryUse use = MeasureMemory(Firmware(), MemoryRegionsOf(kFirmwareLayout));
    ASSERT_EQ(use.regions.size(), 2u);
    // Code, vectors and the load image of .data in flash.
    EXPECT_EQ(use.regions[0].used, 64u + 756 + 16);
    ASSERT_EQ(use.regions[0].entries.size(), 3u);
    EXPECT_TRUE(use.regions[0].entries[2].loadImage);
    EXPECT_EQ(use.sections[use.regions[0].entries[2].section].name, ".data");
    // Data, bss and stack in RAM; the empty section and the debug info nowhere.
    EXPECT_EQ(use.regions[1].used, 16u + 32 + 4096);
    EXPECT_EQ(use.regions[1].entries.size(), 3u);
    EXPECT_TRUE(use.outside.empty());
    EXPECT_EQ(use.sections.size(), 5u);

    EXPECT_EQ(SummaryLines(use), (std::vector<std::string>{"FLASH    836 B / 256 KiB  0.3%",
                                                           "RAM    4.0 KiB /  64 KiB  6.3%"}));
    std::vector<std::string> detail = DetailLines(use);
    ASSERT_EQ(detail.size(), 8u);
    EXPECT_EQ(detail[0], "FLASH    836 B / 256 KiB  0.3%  0x00000000-0x0003ffff");
    EXPECT_EQ(detail[3], "  .data   0x00000334   16 B  (load image)");
    EXPECT_EQ(detail[4], "RAM    4.0 KiB /  64 KiB  6.3%  0x20000000-0x2000ffff");
    EXPECT_EQ(detail[7], "  .stack  0x20000030  4 KiB");

    // A section outside every region is listed apart.
    auto small = MemoryRegionsOf("[S|MEMDET|FLASH|0|0x0|0xFFFF|*]");
    MemoryUse part = MeasureMemory(Firmware(), small);
    ASSERT_EQ(part.outside.size(), 2u);
    EXPECT_EQ(part.regions[0].used, 64u + 756 + 16);
    EXPECT_EQ(DetailLines(part)[4], "outside the regions:");
}

TEST(MemoryUse, WithoutRegionsTheSectionsAreListed) {
    MemoryUse use = MeasureMemory(Firmware(), {});
    EXPECT_EQ(SummaryLines(use), (std::vector<std::string>{
                                     ".vects  0x00000000   64 B",
                                     ".text   0x00000040  756 B",
                                     ".data   0x20000000   16 B",
                                     ".bss    0x20000010   32 B",
                                     ".stack  0x20000030  4 KiB",
                                 }));
    EXPECT_EQ(DetailLines(use), SummaryLines(use));
}

TEST(MemoryUse, SizesAndShares) {
    EXPECT_EQ(FormatBytes(0), "0 B");
    EXPECT_EQ(FormatBytes(1023), "1023 B");
    EXPECT_EQ(FormatBytes(1024), "1 KiB");
    EXPECT_EQ(FormatBytes(4197), "4.1 KiB");
    EXPECT_EQ(FormatBytes(256 * 1024), "256 KiB");
    EXPECT_EQ(FormatBytes(1536 * 1024), "1.5 MiB");
    EXPECT_EQ(FormatBytes(4ull << 30), "4 GiB");
    EXPECT_EQ(FormatBytes(UINT64_MAX), "16777216.0 TiB");
    EXPECT_EQ(FormatPercent(836, 262144), "0.3%");
    EXPECT_EQ(FormatPercent(1, 1), "100.0%");
    EXPECT_EQ(FormatPercent(5, 0), "-");
    EXPECT_EQ(FormatAddress(0x354), "0x00000354");
    EXPECT_EQ(FormatAddress(0x123456789a), "0x123456789a");
}

TEST(MemoryMapSvg, ColumnsPerRegionSectionsToScaleAndLabels) {
    ElfWriter w;
    w.sections = {{".half", 1, 0x2, 0x0, 0, std::string(512, 'h')},
                  {"<odd & name>", 8, 0x3, 0x1000, 64, ""}};
    std::string bytes = w.Build();
    std::string error;
    auto elf = ReadElf(bytes, error);
    ASSERT_TRUE(elf) << error;
    MemoryUse use = MeasureMemory(*elf, MemoryRegionsOf("[S|MEMDET|ROM|0|0x0|0x3FF|RAM|1|0x1000|"
                                                        "0x1FFF|*]"));
    std::string svg = MemoryMapSvg(use, "fw.x (DEBUG)");
    EXPECT_EQ(svg.rfind("<?xml", 0), 0u);
    EXPECT_NE(svg.find("</svg>"), std::string::npos);
    EXPECT_NE(svg.find(">ROM<"), std::string::npos);
    EXPECT_NE(svg.find(">RAM<"), std::string::npos);
    EXPECT_NE(svg.find("512 B of 1 KiB used (50.0%)"), std::string::npos) << svg;
    EXPECT_NE(svg.find("free 512 B"), std::string::npos);
    EXPECT_NE(svg.find("free 3.9 KiB"), std::string::npos);
    // Names are escaped.
    EXPECT_NE(svg.find("&lt;odd &amp; name&gt;"), std::string::npos);
    EXPECT_EQ(svg.find("<odd"), std::string::npos);
    // The half-full region's section is half the column high; the 64 bytes
    // in 4 KiB are drawn no lower than the least bar.
    std::regex bar("<rect [^>]*height=\"([0-9.]+)\" fill=\"#[0-9a-f]+\"");
    std::vector<double> heights;
    for (auto it = std::sregex_iterator(svg.begin(), svg.end(), bar); it != std::sregex_iterator();
         ++it)
        heights.push_back(std::stod((*it)[1]));
    ASSERT_EQ(heights.size(), 2u) << svg;
    EXPECT_NEAR(heights[0], 210.0, 0.2);
    EXPECT_NEAR(heights[1], 6.6, 0.2);
}

} // namespace
} // namespace quorle::host
