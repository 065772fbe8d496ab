// The command line that runs the family's compiler driver with "-M".
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "toolchain/cpu_table.h"
#include "toolchain/family.h"

namespace quorle::depend {

// The target settings of a compiler option string that reach the scan.
struct ScanTarget {
    int cpuRow = 0;
    int endian = toolchain::kBigEndian;
    toolchain::FamilyFlags familyFlags{};
};

// The driver below the installation directory and its support directory,
// by the toolchain name compared exactly; nothing for an unknown name.
struct ScanDriver {
    toolchain::Family family;
    std::string_view driver;     // e.g. "/corvo-elf/bin/corvo-elf-g++.exe"
    std::string_view libexecDir; // e.g. "\\corvo-elf\\libexec\\gcc\\corvo-elf"
};
std::optional<ScanDriver> DriverForToolchain(std::string_view toolchainName);

// The target flags of the family. The Tamsin table is chosen by the CPU
// series: "TAMSINA" the 16-bit table, anything else the 32-bit one.
std::string ScanTargetFlags(toolchain::Family family, const ScanTarget& target,
                            std::string_view cpuSeries);

// "-D" and the name of each macro (its value dropped), each followed by a blank.
std::string ScanMacroList(const std::vector<std::string>& macros);
// " -I " and each quoted directory, each followed by a blank.
std::string ScanIncludeList(const std::vector<std::string>& includeDirs);

// driver, " ", macros, " -M ", target flags, " ", the quoted source, " ",
// include list.
std::string ScanCommandLine(std::string_view driverPath, std::string_view macroList,
                            std::string_view targetFlags, std::string_view sourcePath,
                            std::string_view includeList);

} // namespace quorle::depend
