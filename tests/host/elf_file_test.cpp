// The ELF reader: files of both classes and byte orders read back to what
// was written, a real program of the machine's tools reads as readelf sees
// it, and damaged files give errors instead of reads outside the file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "host/elf_file.h"
#include "platform/platform.h"
#include "support/elf_writer.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::host {
namespace {

using testing_support::ElfWriter;

constexpr uint64_t kAllocExec = 0x6;  // SHF_ALLOC | SHF_EXECINSTR
constexpr uint64_t kAllocWrite = 0x3; // SHF_WRITE | SHF_ALLOC

// A firmware's shape: code in flash, data in RAM loaded from flash, bss.
ElfWriter Firmware(bool is64, bool big) {
    ElfWriter w;
    w.is64 = is64;
    w.bigEndian = big;
    w.sections = {
        {".text", 1, kAllocExec, 0x0, 0, std::string(0x40, 'T')},
        {".data", 1, kAllocWrite, 0x20000000, 0, std::string(0x10, 'D')},
        {".bss", 8, kAllocWrite, 0x20000010, 0x20, ""},
        {".comment", 1, 0, 0, 0, "GCC"},
    };
    w.segments = {{1, 0x0, 0x0, 0x40, 0}, {1, 0x20000000, 0x40, 0x30, 1}};
    return w;
}

TEST(ElfFile, BothClassesAndByteOrdersReadBack) {
    for (bool is64 : {false, true}) {
        for (bool big : {false, true}) {
            ElfWriter w = Firmware(is64, big);
            std::string bytes = w.Build();
            std::string error;
            auto elf = ReadElf(bytes, error);
            ASSERT_TRUE(elf) << error;
            SCOPED_TRACE(std::string(is64 ? "64" : "32") + (big ? " big" : " little"));
            EXPECT_EQ(elf->is64, is64);
            EXPECT_EQ(elf->bigEndian, big);
            EXPECT_EQ(elf->machine, 40);
            EXPECT_EQ(elf->entry, 0x1000u);
            ASSERT_EQ(elf->sections.size(), 6u); // null, four, the name table
            EXPECT_EQ(elf->sections[0].name, "");
            EXPECT_EQ(elf->sections[5].name, ".shstrtab");
            const ElfSection& data = elf->sections[2];
            EXPECT_EQ(data.name, ".data");
            EXPECT_EQ(data.address, 0x20000000u);
            EXPECT_EQ(data.size, 0x10u);
            EXPECT_TRUE(data.Allocated());
            EXPECT_TRUE(data.HasContents());
            const ElfSection& bss = elf->sections[3];
            EXPECT_FALSE(bss.HasContents());
            EXPECT_EQ(bss.size, 0x20u);
            EXPECT_FALSE(elf->sections[4].Allocated());
            // .data runs in RAM and is loaded behind the code.
            EXPECT_EQ(elf->LoadAddress(data), 0x40u);
            EXPECT_EQ(elf->LoadAddress(elf->sections[1]), 0x0u);
            auto image = LoadImage(*elf, bytes, error);
            ASSERT_TRUE(image) << error;
            ASSERT_EQ(image->size(), 2u);
            EXPECT_EQ((*image)[0].address, 0x0u);
            EXPECT_EQ((*image)[0].bytes, std::string(0x40, 'T'));
            EXPECT_EQ((*image)[1].address, 0x40u);
            EXPECT_EQ((*image)[1].bytes, std::string(0x10, 'D'));
        }
    }
}

TEST(ElfFile, ExtendedCountsComeFromTheFirstSectionHeader) {
    ElfWriter w = Firmware(false, false);
    std::string bytes = w.Build();
    // As for more than 65279 sections: the counts and the name table's index
    // move into the null section's size, info and link fields.
    uint64_t shoff = 0;
    for (int i = 3; i >= 0; --i)
        shoff = shoff << 8 | static_cast<unsigned char>(bytes[w.ShoffField() + i]);
    w.Put(bytes, w.ShnumField(), 2, 0);
    w.Put(bytes, w.ShstrndxField(), 2, 0xFFFF);
    w.Put(bytes, w.PhnumField(), 2, 0xFFFF);
    w.Put(bytes, shoff + 20, 4, 6); // sh_size
    w.Put(bytes, shoff + 24, 4, 5); // sh_link
    w.Put(bytes, shoff + 28, 4, 2); // sh_info
    std::string error;
    auto elf = ReadElf(bytes, error);
    ASSERT_TRUE(elf) << error;
    EXPECT_EQ(elf->sections.size(), 6u);
    EXPECT_EQ(elf->sections[2].name, ".data");
    EXPECT_EQ(elf->segments.size(), 2u);
}

TEST(ElfFile, DamagedFilesGiveErrors) {
    ElfWriter w = Firmware(true, false);
    const std::string good = w.Build();
    auto fails = [](const std::string& bytes) {
        std::string error;
        bool read = ReadElf(bytes, error).has_value();
        return !read && !error.empty();
    };
    EXPECT_TRUE(fails(""));
    EXPECT_TRUE(fails("\x7f"
                      "ELF"));
    EXPECT_TRUE(fails("!<arch>\n"));
    EXPECT_TRUE(fails(good.substr(0, 40))); // header cut short
    std::string bytes = good;
    bytes[4] = 3; // no such class
    EXPECT_TRUE(fails(bytes));
    bytes = good;
    bytes[5] = 0; // no byte order
    EXPECT_TRUE(fails(bytes));
    bytes = good;
    w.Put(bytes, w.ShoffField(), 8, good.size() - 10); // headers past the end
    EXPECT_TRUE(fails(bytes));
    bytes = good;
    w.Put(bytes, w.ShoffField(), 8, UINT64_MAX - 8); // an offset that wraps
    EXPECT_TRUE(fails(bytes));
    bytes = good;
    w.Put(bytes, w.ShnumField(), 2, 0xFF00); // more headers than the file holds
    EXPECT_TRUE(fails(bytes));
    bytes = good;
    w.Put(bytes, w.ShentsizeField(), 2, 8); // headers too small to read
    EXPECT_TRUE(fails(bytes));
    bytes = good;
    w.Put(bytes, w.ShstrndxField(), 2, 40); // no such name table
    EXPECT_TRUE(fails(bytes));
    bytes = good;
    w.Put(bytes, w.PhnumField(), 2, 5000); // program headers past the end
    EXPECT_TRUE(fails(bytes));
    // The file cut inside the section headers.
    EXPECT_TRUE(fails(good.substr(0, good.size() - 60)));
    // Every byte of the header damaged in turn: an error or a result, never
    // a read outside the file (the sanitizers watch).
    for (size_t i = 0; i < 64; ++i) {
        for (unsigned char value : {0x00, 0x7f, 0xff}) {
            std::string damaged = good;
            damaged[i] = static_cast<char>(value);
            std::string error;
            ReadElf(damaged, error);
        }
    }
}

TEST(ElfFile, NamesAndSegmentsOutsideTheirTablesAreRefused) {
    ElfWriter w = Firmware(false, true);
    std::string bytes = w.Build();
    std::string error;
    auto elf = ReadElf(bytes, error);
    ASSERT_TRUE(elf) << error;
    // A section name that starts past the name table's end.
    const ElfSection& table = elf->sections.back();
    uint64_t shoff = 0;
    for (int i = 0; i < 4; ++i)
        shoff = shoff << 8 | static_cast<unsigned char>(bytes[w.ShoffField() + i]);
    std::string badName = bytes;
    w.Put(badName, shoff + 40, 4, table.size + 3);
    EXPECT_FALSE(ReadElf(badName, error));
    EXPECT_NE(error.find("name"), std::string::npos) << error;
    // A loadable segment whose bytes lie past the end of the file.
    ElfFile broken = *elf;
    broken.segments[1].offset = bytes.size() - 4;
    EXPECT_FALSE(LoadImage(broken, bytes, error));
    EXPECT_NE(error.find("segment"), std::string::npos);
    broken.segments[1].offset = UINT64_MAX;
    EXPECT_FALSE(LoadImage(broken, bytes, error));
}

#if !defined(_WIN32)
// A program of the machine's own gcc (64-bit, little-endian) reads as
// objdump lists it.
TEST(ElfFile, AProgramOfTheMachinesToolsReadsAsObjdumpSeesIt) {
    testing_support::TempDir dir("elf_real");
    std::ofstream(dir.Root() / "p.c") << "int counter = 3;\nint zeroed[100];\n"
                                         "int main(void) { return counter + zeroed[5]; }\n";
    platform::ProcessOptions options;
    options.timeoutMs = 60000;
    std::string program = (dir.Root() / "p").string();
    auto built =
        platform::RunProcess("gcc -O1 -no-pie -o " + program + " " + program + ".c", options);
    if (!built.started) GTEST_SKIP() << "no gcc";
    ASSERT_EQ(built.exitCode, 0) << built.output;
    std::string error;
    auto elf = ReadElfFile(program, error);
    ASSERT_TRUE(elf) << error;
    EXPECT_TRUE(elf->is64);
    EXPECT_FALSE(elf->bigEndian);
    EXPECT_EQ(elf->machine, 62); // EM_X86_64
    auto headers = platform::RunProcess("objdump -h " + program, options);
    ASSERT_EQ(headers.exitCode, 0) << headers.output;
    int compared = 0;
    for (const ElfSection& s : elf->sections) {
        if (!s.Allocated() || s.size == 0) continue;
        char size[32], vma[32];
        std::snprintf(size, sizeof size, "%08llx", static_cast<unsigned long long>(s.size));
        std::snprintf(vma, sizeof vma, "%016llx", static_cast<unsigned long long>(s.address));
        std::string row = s.name;
        row.resize(std::max<size_t>(row.size(), 13), ' ');
        EXPECT_NE(headers.output.find(" " + row + " " + size + "  " + vma), std::string::npos)
            << s.name << "\n"
            << headers.output;
        ++compared;
    }
    EXPECT_GE(compared, 5);
}
#endif

} // namespace
} // namespace quorle::host
