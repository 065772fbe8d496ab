#include "host/elf_file.h"

#include <fstream>

namespace quorle::host {

namespace {

// The fields' places in the two classes of file.
struct Layout {
    size_t headerSize;
    size_t entry, phoff, shoff, phentsize, phnum, shentsize, shnum, shstrndx;
    size_t word; // width of addresses, offsets and sizes
    size_t sectionSize, shName, shType, shFlags, shAddr, shOffset, shSize, shLink, shInfo;
    size_t segmentSize, pType, pFlags, pOffset, pVaddr, pPaddr, pFilesz, pMemsz;
};

constexpr Layout kElf32 = {.headerSize = 52,
                           .entry = 24,
                           .phoff = 28,
                           .shoff = 32,
                           .phentsize = 42,
                           .phnum = 44,
                           .shentsize = 46,
                           .shnum = 48,
                           .shstrndx = 50,
                           .word = 4,
                           .sectionSize = 40,
                           .shName = 0,
                           .shType = 4,
                           .shFlags = 8,
                           .shAddr = 12,
                           .shOffset = 16,
                           .shSize = 20,
                           .shLink = 24,
                           .shInfo = 28,
                           .segmentSize = 32,
                           .pType = 0,
                           .pFlags = 24,
                           .pOffset = 4,
                           .pVaddr = 8,
                           .pPaddr = 12,
                           .pFilesz = 16,
                           .pMemsz = 20};
constexpr Layout kElf64 = {.headerSize = 64,
                           .entry = 24,
                           .phoff = 32,
                           .shoff = 40,
                           .phentsize = 54,
                           .phnum = 56,
                           .shentsize = 58,
                           .shnum = 60,
                           .shstrndx = 62,
                           .word = 8,
                           .sectionSize = 64,
                           .shName = 0,
                           .shType = 4,
                           .shFlags = 8,
                           .shAddr = 16,
                           .shOffset = 24,
                           .shSize = 32,
                           .shLink = 40,
                           .shInfo = 44,
                           .segmentSize = 56,
                           .pType = 0,
                           .pFlags = 4,
                           .pOffset = 8,
                           .pVaddr = 16,
                           .pPaddr = 24,
                           .pFilesz = 32,
                           .pMemsz = 40};

constexpr uint16_t kExtendedIndex = 0xFFFF; // SHN_XINDEX, and PN_XNUM for the segment count

// Little- or big-endian numbers at offsets the caller has checked.
class Reader {
  public:
    Reader(std::string_view bytes, bool big) : bytes_(bytes), big_(big) {}

    bool Has(uint64_t offset, uint64_t size) const {
        return offset <= bytes_.size() && size <= bytes_.size() - offset;
    }
    // Room for `count` records of `size` bytes at `offset`.
    bool HasTable(uint64_t offset, uint64_t count, uint64_t size) const {
        if (count == 0) return true;
        if (size != 0 && count > bytes_.size() / size) return false;
        return Has(offset, count * size);
    }
    uint64_t Number(uint64_t offset, size_t width) const {
        uint64_t value = 0;
        for (size_t i = 0; i < width; ++i) {
            size_t at = static_cast<size_t>(offset) + (big_ ? i : width - 1 - i);
            value = (value << 8) | static_cast<unsigned char>(bytes_[at]);
        }
        return value;
    }
    std::string_view Slice(uint64_t offset, uint64_t size) const {
        return bytes_.substr(static_cast<size_t>(offset), static_cast<size_t>(size));
    }

  private:
    std::string_view bytes_;
    bool big_;
};

struct RawSection {
    ElfSection section;
    uint64_t nameOffset = 0;
    uint32_t link = 0;
    uint32_t info = 0;
};

RawSection ReadSection(const Reader& r, const Layout& l, uint64_t at) {
    RawSection raw;
    raw.nameOffset = r.Number(at + l.shName, 4);
    raw.section.type = static_cast<uint32_t>(r.Number(at + l.shType, 4));
    raw.section.flags = r.Number(at + l.shFlags, l.word);
    raw.section.address = r.Number(at + l.shAddr, l.word);
    raw.section.offset = r.Number(at + l.shOffset, l.word);
    raw.section.size = r.Number(at + l.shSize, l.word);
    raw.link = static_cast<uint32_t>(r.Number(at + l.shLink, 4));
    raw.info = static_cast<uint32_t>(r.Number(at + l.shInfo, 4));
    return raw;
}

ElfSegment ReadSegment(const Reader& r, const Layout& l, uint64_t at) {
    ElfSegment s;
    s.type = static_cast<uint32_t>(r.Number(at + l.pType, 4));
    s.flags = static_cast<uint32_t>(r.Number(at + l.pFlags, 4));
    s.offset = r.Number(at + l.pOffset, l.word);
    s.virtualAddress = r.Number(at + l.pVaddr, l.word);
    s.physicalAddress = r.Number(at + l.pPaddr, l.word);
    s.fileSize = r.Number(at + l.pFilesz, l.word);
    s.memorySize = r.Number(at + l.pMemsz, l.word);
    return s;
}

bool Fail(std::string& error, const std::string& why) {
    error = why;
    return false;
}

// Section headers and their names. Counts and the name table's index may
// sit in the first section header when they do not fit the file header.
bool ReadSections(const Reader& r, const Layout& l, ElfFile& elf, uint64_t& phnum,
                  std::string& error) {
    uint64_t shoff = r.Number(l.shoff, l.word);
    uint64_t shentsize = r.Number(l.shentsize, 2);
    uint64_t shnum = r.Number(l.shnum, 2);
    uint64_t shstrndx = r.Number(l.shstrndx, 2);
    if (shoff == 0) {
        if (phnum == kExtendedIndex) return Fail(error, "the segment count is missing");
        return true;
    }
    if (shentsize < l.sectionSize) return Fail(error, "the section headers are too small");
    if (!r.Has(shoff, shentsize)) return Fail(error, "the section headers lie outside the file");
    RawSection first = ReadSection(r, l, shoff);
    if (shnum == 0) shnum = first.section.size;
    if (shstrndx == kExtendedIndex) shstrndx = first.link;
    if (phnum == kExtendedIndex) phnum = first.info;
    if (!r.HasTable(shoff, shnum, shentsize))
        return Fail(error, "the section headers lie outside the file");
    std::vector<RawSection> raw;
    raw.reserve(static_cast<size_t>(shnum));
    for (uint64_t i = 0; i < shnum; ++i) raw.push_back(ReadSection(r, l, shoff + i * shentsize));

    std::string_view names;
    if (shstrndx != 0) {
        if (shstrndx >= shnum) return Fail(error, "the section name table does not exist");
        const ElfSection& table = raw[static_cast<size_t>(shstrndx)].section;
        if (!table.HasContents() || !r.Has(table.offset, table.size))
            return Fail(error, "the section name table lies outside the file");
        names = r.Slice(table.offset, table.size);
    }
    elf.sections.reserve(raw.size());
    for (RawSection& s : raw) {
        if (!names.empty() || s.nameOffset != 0) {
            if (s.nameOffset >= names.size())
                return Fail(error, "a section name lies outside the name table");
            std::string_view name = names.substr(static_cast<size_t>(s.nameOffset));
            s.section.name = std::string(name.substr(0, name.find('\0')));
        }
        elf.sections.push_back(std::move(s.section));
    }
    return true;
}

} // namespace

uint64_t ElfFile::LoadAddress(const ElfSection& section) const {
    for (const ElfSegment& segment : segments) {
        if (segment.type != kElfSegmentLoad || section.address < segment.virtualAddress) continue;
        uint64_t into = section.address - segment.virtualAddress;
        if (into < segment.memorySize) return segment.physicalAddress + into;
    }
    return section.address;
}

std::optional<ElfFile> ReadElf(std::string_view bytes, std::string& error) {
    error.clear();
    if (bytes.size() < 16 || bytes.substr(0, 4) != "\x7f"
                                                   "ELF")
        return Fail(error, "not an ELF file"), std::nullopt;
    ElfFile elf;
    unsigned char fileClass = static_cast<unsigned char>(bytes[4]);
    unsigned char order = static_cast<unsigned char>(bytes[5]);
    if (fileClass != 1 && fileClass != 2) return Fail(error, "unknown ELF class"), std::nullopt;
    if (order != 1 && order != 2) return Fail(error, "unknown ELF byte order"), std::nullopt;
    elf.is64 = fileClass == 2;
    elf.bigEndian = order == 2;
    const Layout& l = elf.is64 ? kElf64 : kElf32;
    Reader r(bytes, elf.bigEndian);
    if (!r.Has(0, l.headerSize)) return Fail(error, "the ELF header is cut short"), std::nullopt;
    elf.type = static_cast<uint16_t>(r.Number(16, 2));
    elf.machine = static_cast<uint16_t>(r.Number(18, 2));
    elf.entry = r.Number(l.entry, l.word);

    uint64_t phnum = r.Number(l.phnum, 2);
    if (!ReadSections(r, l, elf, phnum, error)) return std::nullopt;

    uint64_t phoff = r.Number(l.phoff, l.word);
    uint64_t phentsize = r.Number(l.phentsize, 2);
    if (phoff != 0 && phnum != 0) {
        if (phentsize < l.segmentSize)
            return Fail(error, "the program headers are too small"), std::nullopt;
        if (!r.HasTable(phoff, phnum, phentsize))
            return Fail(error, "the program headers lie outside the file"), std::nullopt;
        elf.segments.reserve(static_cast<size_t>(phnum));
        for (uint64_t i = 0; i < phnum; ++i)
            elf.segments.push_back(ReadSegment(r, l, phoff + i * phentsize));
    }
    return elf;
}

std::optional<ElfFile> ReadElfFile(const std::string& path, std::string& error) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) {
        error = "cannot open " + path;
        return std::nullopt;
    }
    std::streamoff size = in.tellg();
    std::string bytes(size > 0 ? static_cast<size_t>(size) : 0, '\0');
    in.seekg(0);
    if (size < 0 || !in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()))) {
        error = "cannot read " + path;
        return std::nullopt;
    }
    return ReadElf(bytes, error);
}

std::optional<std::vector<LoadChunk>> LoadImage(const ElfFile& elf, std::string_view bytes,
                                                std::string& error) {
    error.clear();
    Reader r(bytes, elf.bigEndian);
    std::vector<LoadChunk> chunks;
    for (const ElfSegment& segment : elf.segments) {
        if (segment.type != kElfSegmentLoad || segment.fileSize == 0) continue;
        if (!r.Has(segment.offset, segment.fileSize)) {
            error = "a loadable segment lies outside the file";
            return std::nullopt;
        }
        chunks.push_back(
            {segment.physicalAddress, std::string(r.Slice(segment.offset, segment.fileSize))});
    }
    return chunks;
}

} // namespace quorle::host
