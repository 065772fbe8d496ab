// Fuzz target: the host's ELF reader on hostile files, and what the host
// makes of whatever reads: the load image, the memory use against two
// regions, the summary lines and the memory map's picture.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/elf_file.h"
#include "host/memory_map_svg.h"
#include "host/memory_use.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string error;
    auto elf = quorle::host::ReadElf(bytes, error);
    if (!elf) {
        if (error.empty()) std::abort(); // a refusal always says why
        return 0;
    }
    if (auto image = quorle::host::LoadImage(*elf, bytes, error)) {
        size_t total = 0;
        for (const auto& chunk : *image) total += chunk.bytes.size();
        // Segments may overlap in the file, but never reach past it.
        for (const auto& chunk : *image)
            if (chunk.bytes.size() > size) std::abort();
        (void)total;
    }
    auto regions = quorle::host::MemoryRegionsOf(
        "[S|MEMDET|FLASH|0|0x0|0x3FFFF|RAM|1|0x20000000|0x2000FFFF|ALL|2|0x0|0xFFFFFFFFFFFFFFFF|*]");
    quorle::host::MemoryUse use = quorle::host::MeasureMemory(*elf, regions);
    for (const auto& region : use.regions)
        for (const auto& entry : region.entries)
            if (entry.section >= use.sections.size()) std::abort();
    quorle::host::DetailLines(use);
    quorle::host::SummaryLines(quorle::host::MeasureMemory(*elf, {}));
    std::string svg = quorle::host::MemoryMapSvg(use, "fuzz");
    if (svg.find("</svg>") == std::string::npos) std::abort();
    return 0;
}
