// How full the chip is: the memory regions of a linker option string's
// section layout, and the linked program's sections counted in them.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/elf_file.h"

namespace quorle::host {

struct RegionRange {
    std::string name;
    uint64_t start = 0;
    uint64_t end = 0; // the last byte

    uint64_t Size() const { return end - start + 1; }
    bool Holds(uint64_t address) const { return address >= start && address <= end; }
};

// The regions of the layout's "[S|MEMDET|...]" token, in order; regions
// whose addresses do not read are left out.
std::vector<RegionRange> MemoryRegionsOf(const std::string& linkerOptions);

// An allocated section of the program.
struct PlacedSection {
    std::string name;
    uint64_t address = 0;     // where it runs
    uint64_t loadAddress = 0; // where its contents are loaded; `address` for none
    uint64_t size = 0;
    bool hasContents = false;

    bool LoadedElsewhere() const { return hasContents && loadAddress != address; }
};

// A section counted in a region, by its run address or by its load image.
struct RegionEntry {
    size_t section = 0; // index into MemoryUse::sections
    bool loadImage = false;
};

struct RegionUse {
    RegionRange region;
    uint64_t used = 0;
    std::vector<RegionEntry> entries; // in address order
};

struct MemoryUse {
    std::vector<PlacedSection> sections; // by run address
    std::vector<RegionUse> regions;      // as the layout lists them
    std::vector<size_t> outside;         // sections in no region
};

// Each allocated section of non-zero size counts once in the region its run
// address falls in and once in the region its load address falls in (the
// load image of initialised data is in flash, the data itself in RAM).
MemoryUse MeasureMemory(const ElfFile& elf, const std::vector<RegionRange>& regions);

// "836 B", "4.1 KiB", "256 KiB", "1.5 MiB".
std::string FormatBytes(uint64_t bytes);
// "0.3%", of a region's size.
std::string FormatPercent(uint64_t used, uint64_t size);
// "0x00000354", eight digits at least.
std::string FormatAddress(uint64_t address);

// The summary after a link: one line per region ("FLASH  836 B / 256 KiB
// 0.3%"), or one per section with address and size when the layout has no
// regions.
std::vector<std::string> SummaryLines(const MemoryUse& use);
// The same with each region's sections under it, as `quorle-host memory`
// prints it.
std::vector<std::string> DetailLines(const MemoryUse& use);

// Reads the linked program and measures it against the option string's
// regions; nullopt with `error` set when the file cannot be read.
std::optional<MemoryUse> MeasureProgram(const std::string& elfPath,
                                        const std::string& linkerOptions, std::string& error);

} // namespace quorle::host
