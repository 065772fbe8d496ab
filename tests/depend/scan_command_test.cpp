#include <gtest/gtest.h>

#include "depend/scan_command.h"
#include "depend/scan_settings.h"
#include "platform/platform.h"

using namespace quorle::depend;
using quorle::toolchain::Family;

namespace {

std::string Flags(Family family, std::string_view options, std::string_view series = "") {
    return ScanTargetFlags(family, ReadCompilerScanSettings("C source file", options).target,
                           series);
}

} // namespace

// However the names and directories are written, each stays one argument of
// the driver's command line.
TEST(ScanCommand, BlanksAndQuotesCannotAddArguments) {
    std::string line =
        ScanCommandLine("gcc", ScanMacroList({"X -o /path/victim", "FOO=a b", "Q\"R"}), "",
                        "C:\\src\\a.c", ScanIncludeList({"C:\\with\"quote", "C:\\a b"}));
    std::vector<std::string> args = quorle::platform::SplitCommandLine(line);
    ASSERT_EQ(args.size(), 10u) << line;
    EXPECT_EQ(args[1], "-DX -o /path/victim");
    EXPECT_EQ(args[2], "-DFOO");
    EXPECT_EQ(args[3], "-DQR"); // the quote goes, the argument stays whole
    EXPECT_EQ(args[4], "-M");
    EXPECT_EQ(args[5], "C:\\src\\a.c");
    EXPECT_EQ(args[6], "-I");
    EXPECT_EQ(args[7], "C:\\withquote");
    // Plain names and directories keep their old bytes.
    EXPECT_EQ(ScanMacroList({"A=1", "B"}), "-DA -DB ");
    EXPECT_EQ(ScanIncludeList({"D:\\inc"}), " -I \"D:\\inc\" ");
}

TEST(ScanCommand, DriverByExactToolchainName) {
    auto corvo = DriverForToolchain("Dravik GNUCORVO [ELF]");
    ASSERT_TRUE(corvo);
    EXPECT_EQ(corvo->family, Family::Corvo);
    EXPECT_EQ(corvo->driver, "/corvo-elf/bin/corvo-elf-g++.exe");
    EXPECT_EQ(DriverForToolchain("Dravik GNUTAMSIN [ELF]")->driver,
              "/tamsin-elf/bin/tamsin-elf-gcc.exe");
    EXPECT_EQ(DriverForToolchain("Dravik GNUZENTA [ELF]")->libexecDir,
              "\\zenta-elf\\libexec\\gcc\\zenta-elf");
    EXPECT_EQ(DriverForToolchain("Dravik GNUPELKA [ELF]")->driver,
              "/pelka-elf/bin/pelka-elf-g++.exe");
    EXPECT_FALSE(DriverForToolchain("dravik gnucorvo [elf]"));
    EXPECT_FALSE(DriverForToolchain("Dravik GNUTAMSINA [ELF]"));
}

TEST(ScanCommand, TargetFlagsPerFamily) {
    EXPECT_EQ(Flags(Family::Corvo, ""), "-mcv1 -mb");
    EXPECT_EQ(Flags(Family::Corvo, "[S|CPUTYPE|CV4] [S|ENDIAN|LITTLE] [B|MMORVATH|1]"),
              "-mcv4 -ml -mmorvath");
    EXPECT_EQ(Flags(Family::Pelka, "[S|CPUTYPE|PK1] [B|HMNORMAL|1]"), " -mn");
    EXPECT_EQ(Flags(Family::Pelka, "[S|CPUTYPE|PK3M] [B|HMINT32|1]"), "-mpk3 -mpkmac -mint32");
    // Tamsin: the CPU series picks the table, the options the row.
    EXPECT_EQ(Flags(Family::Tamsin, "[S|CPUTYPE|TM16X]", "TAMSINA"), "-mcpu=tm16x");
    EXPECT_EQ(Flags(Family::Tamsin, "[S|CPUTYPE|TM32C]", "TAMSINB"), "-mcpu=tm32b");
    EXPECT_EQ(Flags(Family::Tamsin, "[S|CPUTYPE|TM16X]", "tamsina"), "");
    EXPECT_EQ(Flags(Family::Zenta, "[S|CPUTYPE|ZN200]"), " -mbig-endian-data  ");
    EXPECT_EQ(Flags(Family::Zenta, "[S|CPUTYPE|ZN600] [S|ENDIAN|LITTLE] [B|RMDOUBLE64|1] "
                                   "[B|RMQASM|1]"),
              " -mlittle-endian-data -m64bit-doubles -mqasm-syntax");
}

// The settings of the last option string are kept for the next file; a
// different string or file type must never get them.
TEST(ScanSettings, TheLastReadIsReusedOnlyForTheSameStringAndType) {
    const std::string a = "[V|VERSION|2] [S|DEFINES|A=1]";
    const std::string b = "[V|VERSION|2] [S|DEFINES|B]";
    EXPECT_EQ(ReadCompilerScanSettings("C source file", a).macros, std::vector<std::string>{"A=1"});
    EXPECT_EQ(ReadCompilerScanSettings("C source file", a).macros, std::vector<std::string>{"A=1"});
    EXPECT_EQ(ReadCompilerScanSettings("C source file", b).macros, std::vector<std::string>{"B"});
    EXPECT_EQ(ReadCompilerScanSettings("C source file", a).macros, std::vector<std::string>{"A=1"});
    EXPECT_EQ(ReadAssemblerScanSettings("[V|VERSION|2] [B|SKIPDEPENDENCY|1]").skipMissing, true);
    EXPECT_EQ(ReadAssemblerScanSettings("[V|VERSION|2]").skipMissing, false);
    EXPECT_EQ(ReadAssemblerScanSettings("[V|VERSION|2] [B|SKIPDEPENDENCY|1]").skipMissing, true);
}

TEST(ScanCommand, CommandLineDropsMacroValues) {
    CompilerScanSettings settings = ReadCompilerScanSettings(
        "C source file", "[V|VERSION|2] [S|INCDIR|\"C:\\a b\"|\"D:\\inc\"] [S|DEFINES|A=1|B|C==2]");
    EXPECT_EQ(ScanMacroList(settings.macros), "-DA -DB -DC ");
    EXPECT_EQ(ScanIncludeList(settings.includeDirs), " -I \"C:\\a b\"  -I \"D:\\inc\" ");
    EXPECT_EQ(ScanCommandLine("C:\\TC\\CORVO~1\\BIN\\CORVO-~1.EXE", "-DA ", "-mcv1 -mb",
                              "C:\\src\\m.c", " -I \"D:\\inc\" "),
              "C:\\TC\\CORVO~1\\BIN\\CORVO-~1.EXE -DA  -M -mcv1 -mb \"C:\\src\\m.c\"  -I "
              "\"D:\\inc\" ");
}
