// The example's layout edited through the options sheet, as a user would:
// `quorle-host edit --script` adds a group to FLASH, and the firmware built
// from the edited workspace still runs with .data copied right.
#include <fstream>

#include "firmware/firmware_harness.h"
#include "host/elf_file.h"
#include "support/test_files.h"

namespace quorle::firmware {
namespace {

// A ROM table in a section of its own, which none of the layout's patterns
// takes until a group for it is added.
constexpr const char* kTables = "__attribute__((section(\".tables\"), used))\n"
                                "const unsigned char firmware_tables[40] = {1, 2, 3, 4, 5};\n";

const host::ElfSection* SectionNamed(const host::ElfFile& elf, const std::string& name) {
    for (const host::ElfSection& s : elf.sections)
        if (s.name == name) return &s;
    return nullptr;
}

// In FLASH the code group ends with _mdata, where .data is loaded: a group
// added to FLASH must go before it, or its contents lie over that image.
TEST(FirmwareEditor, AGroupAddedToFlashKeepsTheCopyOfDataRight) {
    QUORLE_REQUIRE_FIRMWARE_TOOLS();
    FirmwareWorkspace ws;
    ws.AddSource("src/tables.c", kTables);
    fs::path script = ws.At("add-group.txt");
    std::ofstream(script) << "config\tDEBUG\n"
                             "select\tGNU Linker\tfirmware\n"
                             "section\tgroup\tadd\t.tables\tregion\tFLASH\n"
                             "section\tsection\tadd\t.tables\t.tables\tAll-files\n"
                             "ok\n";
    auto edit = ws.Host(
        {"edit", ws.WorkspaceFile().string(), "--config", "DEBUG", "--script", script.string()});
    ASSERT_EQ(edit.exitCode, 0) << edit.output;
    EXPECT_NE(edit.output.find("firmware DEBUG Linker: Section group .tables: added\n"),
              std::string::npos)
        << edit.output;

    auto build = ws.Build("DEBUG");
    ASSERT_EQ(build.exitCode, 0) << build.output;
    std::string error;
    auto elf = host::ReadElfFile(ws.Program("DEBUG").string(), error);
    ASSERT_TRUE(elf) << error;
    const host::ElfSection* tables = SectionNamed(*elf, ".tables");
    const host::ElfSection* text = SectionNamed(*elf, ".text");
    ASSERT_NE(tables, nullptr);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(tables->size, 40u);
    EXPECT_LT(tables->address, text->address); // in front of the group ending with _mdata
    QemuRun run = RunOnMachine("lm3s6965evb", ws.Program("DEBUG"));
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find(kHelloLine), std::string::npos) << run.output;
}

} // namespace
} // namespace quorle::firmware
