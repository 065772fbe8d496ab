// A small reader of ELF files, enough to say where a linked program lies in
// memory: the header, the section headers with their names and the program
// headers, for 32- and 64-bit files of either byte order. Every offset,
// count and size is checked against the file, so a damaged or hostile file
// gives an error, never a read outside it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quorle::host {

inline constexpr uint32_t kElfSectionNoBits = 8; // SHT_NOBITS: takes no room in the file
inline constexpr uint64_t kElfSectionAlloc = 2;  // SHF_ALLOC: occupies memory at run time
inline constexpr uint32_t kElfSegmentLoad = 1;   // PT_LOAD

struct ElfSection {
    std::string name;
    uint32_t type = 0;
    uint64_t flags = 0;
    uint64_t address = 0; // where it runs
    uint64_t offset = 0;
    uint64_t size = 0;

    bool Allocated() const { return (flags & kElfSectionAlloc) != 0; }
    bool HasContents() const { return type != kElfSectionNoBits; }
};

struct ElfSegment {
    uint32_t type = 0;
    uint32_t flags = 0;
    uint64_t offset = 0;
    uint64_t virtualAddress = 0;
    uint64_t physicalAddress = 0; // where it is loaded
    uint64_t fileSize = 0;
    uint64_t memorySize = 0;
};

struct ElfFile {
    bool is64 = false;
    bool bigEndian = false;
    uint16_t type = 0;
    uint16_t machine = 0;
    uint64_t entry = 0;
    std::vector<ElfSection> sections; // in file order, index 0 the null section
    std::vector<ElfSegment> segments;

    // Where a section's contents are loaded: its address moved by the
    // loadable segment that holds it (the address itself when none does).
    uint64_t LoadAddress(const ElfSection& section) const;
};

// Reads the file's bytes. On failure returns nullopt and says why in `error`.
std::optional<ElfFile> ReadElf(std::string_view bytes, std::string& error);
std::optional<ElfFile> ReadElfFile(const std::string& path, std::string& error);

// The bytes a loader puts in memory: each loadable segment's file bytes at
// its physical address, in program-header order; empty segments left out.
struct LoadChunk {
    uint64_t address = 0;
    std::string bytes;
};
std::optional<std::vector<LoadChunk>> LoadImage(const ElfFile& elf, std::string_view bytes,
                                                std::string& error);

} // namespace quorle::host
