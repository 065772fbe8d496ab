// The generated scripts must be accepted by a real GNU ld. Two small objects
// are built with the machine's own gcc and linked through the default layout
// and through a layout with memory regions; the OUTPUT_ARCH line is left out
// because the host's ld has no such architecture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "sections/layout_checks.h"
#include "sections/layout_tree.h"
#include "sections/script_file.h"

using namespace quorle::sections;
namespace fs = std::filesystem;

namespace {

bool HaveTool(const char* tool) {
    return std::system((std::string("command -v ") + tool + " >/dev/null 2>&1").c_str()) == 0;
}

int RunShell(const std::string& command) {
    return std::system(command.c_str());
}

std::string Read(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream all;
    all << in.rdbuf();
    return all.str();
}

class LdAcceptsScript : public testing::Test {
  protected:
    void SetUp() override {
        if (!HaveTool("gcc") || !HaveTool("ld") || !HaveTool("nm"))
            GTEST_SKIP() << "gcc, ld or nm is not installed on this machine; the generated "
                            "scripts were not checked against a real GNU ld";
        dir_ = fs::path(testing::TempDir()) /
               ("quorle_ld_" +
                std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        std::ofstream(dir_ / "a.c")
            << "int counter = 5;\n"
               "int zeroed;\n"
               "__attribute__((section(\".vects\"))) const int vectors[2] = {1, 2};\n"
               "__attribute__((section(\".stack\"))) char stack_area[16];\n"
               "int add(int x) { return x + counter + zeroed; }\n";
        std::ofstream(dir_ / "b.c") << "extern int add(int);\n"
                                       "int start(void) { return add(2); }\n";
        for (const char* name : {"a", "b"}) {
            std::string command = "gcc -c -O0 -ffreestanding -fno-pic -fno-common "
                                  "-fno-asynchronous-unwind-tables -o " +
                                  (dir_ / (std::string(name) + ".o")).string() + " " +
                                  (dir_ / (std::string(name) + ".c")).string();
            ASSERT_EQ(RunShell(command), 0) << command;
        }
    }

    // Links with the script and returns the symbol table of the result.
    std::map<std::string, unsigned long long> Link(const SectionLayout& layout,
                                                   const std::string& flags = "") {
        std::map<std::string, unsigned long long> symbols;
        fs::path script = dir_ / "link.gsi";
        // No architecture line: the Tamsin form of the script has none.
        EXPECT_EQ(
            WriteScriptFile(script.string(), layout, {"Dravik GNUTAMSINA [ELF]", 0, false}, {}),
            ScriptFileResult::Ok);
        fs::path out = dir_ / "out.x";
        std::string command = "ld -nostdlib -e start " + flags + " -T " + script.string() + " -o " +
                              out.string() + " " + (dir_ / "a.o").string() + " " +
                              (dir_ / "b.o").string() + " > " + (dir_ / "ld.log").string() +
                              " 2>&1";
        EXPECT_EQ(RunShell(command), 0) << Read(dir_ / "ld.log") << "\nscript:\n" << Read(script);
        fs::path nm = dir_ / "nm.txt";
        EXPECT_EQ(RunShell("nm " + out.string() + " > " + nm.string()), 0);
        std::istringstream lines(Read(nm));
        std::string address, type, name;
        while (lines >> address >> type >> name) symbols[name] = std::stoull(address, nullptr, 16);
        return symbols;
    }

    // Load address of an output section, from objdump.
    std::optional<unsigned long long> LoadAddress(const std::string& section) {
        if (!HaveTool("objdump")) return std::nullopt;
        fs::path headers = dir_ / "headers.txt";
        if (RunShell("objdump -h " + (dir_ / "out.x").string() + " > " + headers.string()) != 0)
            return std::nullopt;
        std::istringstream lines(Read(headers));
        std::string line;
        while (std::getline(lines, line)) {
            std::istringstream fields(line);
            std::string index, name, size, vma, lma;
            if (fields >> index >> name >> size >> vma >> lma && name == section)
                return std::stoull(lma, nullptr, 16);
        }
        return std::nullopt;
    }

    fs::path dir_;
};

} // namespace

TEST_F(LdAcceptsScript, DefaultLayout) {
    SectionLayout layout;
    layout.groups = DefaultGroups();
    auto symbols = Link(layout);
    ASSERT_FALSE(symbols.empty());
    EXPECT_EQ(symbols["_vects"], 0u);
    EXPECT_EQ(symbols["vectors"], 0u);
    EXPECT_GE(symbols["add"], 0x1000u);
    EXPECT_GE(symbols["start"], 0x1000u);
    EXPECT_GT(symbols["_mdata"], symbols["add"]);
    EXPECT_GT(symbols["_mdata"], symbols["start"]);
    EXPECT_EQ(symbols["_data"], 0x200000u);
    EXPECT_EQ(symbols["counter"], 0x200000u);
    EXPECT_EQ(symbols["_edata"], 0x200004u);
    EXPECT_GE(symbols["_bss"], symbols["_edata"]);
    EXPECT_GE(symbols["zeroed"], symbols["_bss"]);
    EXPECT_GT(symbols["_ebss"], symbols["zeroed"]);
    EXPECT_EQ(symbols["_stack"], 0xFFFC00u);
    EXPECT_EQ(symbols["stack_area"], 0xFFFC00u);
    // The initialised data is loaded right behind the code.
    auto lma = LoadAddress(".mdata");
    ASSERT_TRUE(lma || !HaveTool("objdump"));
    if (lma) {
        EXPECT_EQ(*lma, symbols["_mdata"]);
    }
}

TEST_F(LdAcceptsScript, LayoutWithMemoryRegions) {
    SectionLayout layout;
    layout.regions = {{"rom", 1, "0x00010000", "0x0001FFFF"}, {"ram", 2, "0x30000", "0x3FFFF"}};
    SectionGroup text;
    text.name = ".text";
    text.placement = kInRegion;
    text.placementText = "rom";
    text.contents = {LabelItem("_text_start"), SectionItem(".text", {"All-files"}),
                     LabelItem("_text_end")};
    SectionGroup data;
    data.name = ".data";
    data.placement = kInRegion;
    data.placementText = "ram";
    data.loadKind = kLoadLabel;
    data.loadAddress = "_text_end+0x10";
    data.contents = {SectionItem(".data", {"All-files"}), SectionItem(".bss", {"All-files"}),
                     LabelItem("_end____=____.")};
    SectionGroup rest;
    rest.name = ".rest";
    rest.placement = kFixedAddress;
    rest.placementText = "0x00050000";
    rest.keep = true;
    rest.contents = {SectionItem(".vects", {"All-files"}), SectionItem(".stack", {"All-files"})};
    layout.groups = {text, data, rest};
    auto symbols = Link(layout);
    ASSERT_FALSE(symbols.empty());
    EXPECT_EQ(symbols["_text_start"], 0x10000u);
    EXPECT_GE(symbols["add"], 0x10000u);
    EXPECT_LT(symbols["add"], 0x20000u);
    EXPECT_EQ(symbols["counter"], 0x30000u);
    EXPECT_GT(symbols["zeroed"], symbols["counter"]);
    EXPECT_GT(symbols["_end"], symbols["zeroed"]);
    EXPECT_EQ(symbols["vectors"], 0x50000u);
    auto lma = LoadAddress(".data");
    ASSERT_TRUE(lma || !HaveTool("objdump"));
    if (lma) {
        EXPECT_EQ(*lma, symbols["_text_end"] + 0x10);
    }
}

// Under --gc-sections ld drops every input section nothing refers to, a
// NOLOAD stack among them, unless the group keeps it.
TEST_F(LdAcceptsScript, KeptNoLoadStackSurvivesGarbageCollection) {
    SectionLayout layout;
    SectionGroup text;
    text.name = ".text";
    text.placement = kFixedAddress;
    text.placementText = "0x00001000";
    text.contents = {SectionItem(".text", {"All-files"}), SectionItem(".data", {"All-files"}),
                     SectionItem(".bss", {"All-files"}), SectionItem(".vects", {"All-files"})};
    SectionGroup stack;
    stack.name = ".stack";
    stack.placement = kFixedAddress;
    stack.placementText = "0x00100000";
    stack.noLoad = true;
    stack.keep = true;
    stack.contents = {LabelItem("_stack"), SectionItem(".stack", {"All-files"}),
                      LabelItem("_estack")};
    layout.groups = {text, stack};
    auto kept = Link(layout, "--gc-sections");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(kept["stack_area"], 0x100000u);
    EXPECT_EQ(kept["_estack"] - kept["_stack"], 16u);

    layout.groups[1].keep = false;
    auto dropped = Link(layout, "--gc-sections");
    ASSERT_FALSE(dropped.empty());
    EXPECT_EQ(dropped.count("stack_area"), 0u);
    EXPECT_EQ(dropped["_estack"], dropped["_stack"]);
}

// The editor's check and ld agree: every entry the check takes links, and
// the ones it refuses make ld stop.
TEST_F(LdAcceptsScript, SectionEntriesTheCheckTakesAreTheOnesLdReads) {
    for (const char* entry :
         {".text", ".te?t*", ".data.[a-z]*", "COMMON", "SORT(.data*)", "SORT_BY_NAME(.data*)",
          "SORT_BY_ALIGNMENT(.data)", "SORT_BY_INIT_PRIORITY(.init_array.*)", "SORT_NONE(.bss)",
          "KEEP(*(.ctors))", "*(.text)", ".x;", "{.x}", ".x)", "SORT()", "KEEP", "SORT", ".x#y"}) {
        SectionLayout layout;
        layout.groups = DefaultGroups();
        layout.groups[1].contents.insert(layout.groups[1].contents.begin(),
                                         SectionItem(entry, {"All-files"}));
        fs::path script = dir_ / "entry.gsi";
        ASSERT_EQ(
            WriteScriptFile(script.string(), layout, {"Dravik GNUTAMSINA [ELF]", 0, false}, {}),
            ScriptFileResult::Ok);
        std::string command = "ld -nostdlib -e start -T " + script.string() + " -o " +
                              (dir_ / "entry.x").string() + " " + (dir_ / "a.o").string() + " " +
                              (dir_ / "b.o").string() + " >/dev/null 2>&1";
        EXPECT_EQ(RunShell(command) == 0, IsReadableSectionEntry(entry)) << entry;
    }
}
