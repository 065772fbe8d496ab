#include "depend/scan_command.h"
#include "toolchain/toolchain_names.h"

namespace quorle::depend {
namespace {

using toolchain::Family;

struct DriverRow {
    std::string_view toolchainName;
    ScanDriver driver;
};

// Compared exactly, in this order. Corvo and Pelka scan C sources with the
// C++ driver as well.
constexpr DriverRow kDrivers[] = {
    {toolchain::kPelkaToolchain,
     {Family::Pelka, "/pelka-elf/bin/pelka-elf-g++.exe", "\\pelka-elf\\libexec\\gcc\\pelka-elf"}},
    {toolchain::kCorvoToolchain,
     {Family::Corvo, "/corvo-elf/bin/corvo-elf-g++.exe", "\\corvo-elf\\libexec\\gcc\\corvo-elf"}},
    {toolchain::kTamsinToolchain,
     {Family::Tamsin, "/tamsin-elf/bin/tamsin-elf-gcc.exe",
      "\\tamsin-elf\\libexec\\gcc\\tamsin-elf"}},
    {toolchain::kZentaToolchain,
     {Family::Zenta, "/zenta-elf/bin/zenta-elf-gcc.exe", "\\zenta-elf\\libexec\\gcc\\zenta-elf"}},
};

// Family-flag positions (0-based) that the scan passes on.
constexpr int kCorvoMorvath = 3;
constexpr int kPelkaNormal = 2;
constexpr int kPelkaInt32 = 5;
constexpr int kZentaDouble64 = 3;
constexpr int kZentaQasm = 4;

std::string_view RowFlag(int familyCode, int row) {
    const toolchain::CpuRow* cpu = toolchain::CpuRowAt(familyCode, row);
    return cpu == nullptr ? std::string_view() : cpu->targetFlag;
}

} // namespace

std::optional<ScanDriver> DriverForToolchain(std::string_view toolchainName) {
    for (const DriverRow& row : kDrivers)
        if (row.toolchainName == toolchainName) return row.driver;
    return std::nullopt;
}

std::string ScanTargetFlags(Family family, const ScanTarget& target, std::string_view cpuSeries) {
    std::string flags;
    const auto& on = target.familyFlags;
    bool little = target.endian == toolchain::kLittleEndian;
    switch (family) {
    case Family::Corvo:
        flags.append(RowFlag(toolchain::kCodeCorvo, target.cpuRow));
        flags.append(little ? " -ml" : " -mb");
        if (on[kCorvoMorvath]) flags.append(" -mmorvath");
        break;
    case Family::Pelka:
        flags.append(RowFlag(toolchain::kCodePelka, target.cpuRow));
        if (on[kPelkaNormal]) flags.append(" -mn");
        if (on[kPelkaInt32]) flags.append(" -mint32");
        break;
    case Family::Tamsin:
        flags.append(
            RowFlag(cpuSeries == "TAMSINA" ? toolchain::kCodeTamsin16 : toolchain::kCodeTamsin32,
                    target.cpuRow));
        break;
    case Family::Zenta:
        // The Zenta driver takes no CPU flag here.
        flags.append(little ? " -mlittle-endian-data" : " -mbig-endian-data");
        flags.append(on[kZentaDouble64] ? " -m64bit-doubles" : " ");
        flags.append(on[kZentaQasm] ? " -mqasm-syntax" : " ");
        break;
    }
    return flags;
}

namespace {

// The command line is split the Windows way: inside quotes a doubled quote
// keeps the argument whole, so a quote in the text is written twice.
std::string QuotedForCommandLine(std::string_view text) {
    std::string quoted = "\"";
    for (char c : text) {
        quoted += c;
        if (c == '"') quoted += '"';
    }
    quoted += '"';
    return quoted;
}

} // namespace

std::string ScanMacroList(const std::vector<std::string>& macros) {
    std::string list;
    for (const std::string& macro : macros) {
        std::string argument = "-D" + macro.substr(0, macro.find('='));
        // A name with a blank or a quote must not turn into more arguments.
        if (argument.find_first_of(" \t\"") != std::string::npos)
            argument = QuotedForCommandLine(argument);
        list.append(argument).append(" ");
    }
    return list;
}

std::string ScanIncludeList(const std::vector<std::string>& includeDirs) {
    std::string list;
    for (const std::string& dir : includeDirs)
        list.append(" -I ").append(QuotedForCommandLine(dir)).append(" ");
    return list;
}

std::string ScanCommandLine(std::string_view driverPath, std::string_view macroList,
                            std::string_view targetFlags, std::string_view sourcePath,
                            std::string_view includeList) {
    std::string line;
    line.append(driverPath).append(" ").append(macroList).append(" -M ").append(targetFlags);
    line.append(" \"").append(sourcePath).append("\" ").append(includeList);
    return line;
}

} // namespace quorle::depend
