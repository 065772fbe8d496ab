// Writes small ELF files of either class and byte order for the reader's
// tests and benchmark: a header, the sections' bytes, a section name table,
// the section headers and the program headers, in that order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quorle::testing_support {

struct ElfWriter {
    struct Section {
        std::string name;
        uint32_t type = 1; // SHT_PROGBITS
        uint64_t flags = 0;
        uint64_t address = 0;
        uint64_t size = 0;     // for NOBITS sections; otherwise the data's size
        std::string data;      // the contents, written to the file
        uint64_t offset = 0;   // filled in by Build()
    };
    struct Segment {
        uint32_t type = 1; // PT_LOAD
        uint64_t virtualAddress = 0;
        uint64_t physicalAddress = 0;
        uint64_t memorySize = 0;
        int section = -1; // the section whose bytes the segment loads, or -1
    };

    bool is64 = false;
    bool bigEndian = false;
    uint16_t machine = 40; // EM_ARM
    std::vector<Section> sections; // without the null section and the name table
    std::vector<Segment> segments;

    // Offsets of the header fields, for tests that damage them.
    size_t ShoffField() const { return is64 ? 40 : 32; }
    size_t ShnumField() const { return is64 ? 60 : 48; }
    size_t ShstrndxField() const { return is64 ? 62 : 50; }
    size_t PhnumField() const { return is64 ? 56 : 44; }
    size_t ShentsizeField() const { return is64 ? 58 : 46; }

    std::string Build() {
        std::string out(is64 ? 64 : 52, '\0');
        for (Section& s : sections) {
            s.offset = out.size();
            out += s.data;
            if (s.type != 8) s.size = s.data.size();
        }
        std::string names(1, '\0');
        std::vector<uint32_t> nameAt;
        for (const Section& s : sections) {
            nameAt.push_back(static_cast<uint32_t>(names.size()));
            names += s.name + '\0';
        }
        uint32_t tableName = static_cast<uint32_t>(names.size());
        names += std::string(".shstrtab") + '\0';
        uint64_t namesAt = out.size();
        out += names;
        while (out.size() % 8) out += '\0';
        uint64_t shoff = out.size();
        const size_t shentsize = is64 ? 64 : 40;
        // Past 0xFF00 sections the count and the name table's index live in
        // the null section's size and link fields.
        const uint64_t count = sections.size() + 2;
        const bool extended = count >= 0xFF00;
        out += extended ? SectionHeader(0, 0, 0, 0, 0, count, static_cast<uint32_t>(count - 1))
                        : std::string(shentsize, '\0'); // the null section
        for (size_t i = 0; i < sections.size(); ++i)
            out += SectionHeader(nameAt[i], sections[i].type, sections[i].flags,
                                 sections[i].address, sections[i].offset, sections[i].size);
        out += SectionHeader(tableName, 3, 0, 0, namesAt, names.size());
        uint64_t phoff = out.size();
        for (const Segment& g : segments) {
            uint64_t offset = 0, fileSize = 0;
            if (g.section >= 0) {
                offset = sections[static_cast<size_t>(g.section)].offset;
                fileSize = sections[static_cast<size_t>(g.section)].data.size();
            }
            out += ProgramHeader(g, offset, fileSize);
        }
        // The header.
        out[0] = 0x7f;
        out[1] = 'E';
        out[2] = 'L';
        out[3] = 'F';
        out[4] = is64 ? 2 : 1;
        out[5] = bigEndian ? 2 : 1;
        out[6] = 1;
        Put(out, 16, 2, 2); // ET_EXEC
        Put(out, 18, 2, machine);
        Put(out, 20, 4, 1);
        const size_t word = is64 ? 8 : 4;
        Put(out, 24, word, 0x1000);
        Put(out, is64 ? 32 : 28, word, segments.empty() ? 0 : phoff);
        Put(out, ShoffField(), word, shoff);
        Put(out, is64 ? 52 : 40, 2, is64 ? 64 : 52);
        Put(out, is64 ? 54 : 42, 2, is64 ? 56 : 32);
        Put(out, PhnumField(), 2, segments.size());
        Put(out, ShentsizeField(), 2, shentsize);
        Put(out, ShnumField(), 2, extended ? 0 : count);
        Put(out, ShstrndxField(), 2, extended ? 0xFFFF : count - 1);
        return out;
    }

    void Put(std::string& out, size_t at, size_t width, uint64_t value) const {
        for (size_t i = 0; i < width; ++i) {
            size_t place = bigEndian ? at + width - 1 - i : at + i;
            out[place] = static_cast<char>((value >> (8 * i)) & 0xff);
        }
    }

  private:
    std::string Field(size_t width, uint64_t value) const {
        std::string bytes(width, '\0');
        Put(bytes, 0, width, value);
        return bytes;
    }
    std::string SectionHeader(uint32_t name, uint32_t type, uint64_t flags, uint64_t address,
                              uint64_t offset, uint64_t size, uint32_t link = 0) const {
        const size_t word = is64 ? 8 : 4;
        return Field(4, name) + Field(4, type) + Field(word, flags) + Field(word, address) +
               Field(word, offset) + Field(word, size) + Field(4, link) + Field(4, 0) +
               Field(word, 1) + Field(word, 0);
    }
    std::string ProgramHeader(const Segment& g, uint64_t offset, uint64_t fileSize) const {
        if (is64)
            return Field(4, g.type) + Field(4, 5) + Field(8, offset) + Field(8, g.virtualAddress) +
                   Field(8, g.physicalAddress) + Field(8, fileSize) + Field(8, g.memorySize) +
                   Field(8, 4);
        return Field(4, g.type) + Field(4, offset) + Field(4, g.virtualAddress) +
               Field(4, g.physicalAddress) + Field(4, fileSize) + Field(4, g.memorySize) +
               Field(4, 5) + Field(4, 4);
    }
};

} // namespace quorle::testing_support
