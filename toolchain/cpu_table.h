// Per-family CPU tables: the CPU types a project can choose, their compiler
// target flags, byte order, multilib library sub-directory and (Pelka) the
// linker script's OUTPUT_ARCH names. Plain data plus small lookups; every
// model and builder goes through these functions instead of its own lists.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "toolchain/family.h"

namespace quorle::toolchain {

// Byte order of a CPU type: the user may choose, or it is fixed.
enum class ByteOrderRule { Choice, Big, Little };

// Endianness values as the models store them.
inline constexpr int kBigEndian = 0;
inline constexpr int kLittleEndian = 1;

struct CpuRow {
    std::string_view value;       // text after "S|CPUTYPE|", unique over all tables
    std::string_view displayName; // entry of the CPU list
    std::string_view targetFlag;  // may hold two flags separated by a blank; may be empty
    ByteOrderRule byteOrder;
    std::string_view multilib;      // multilib column; may be empty
    std::string_view archNormalOff; // Pelka OUTPUT_ARCH name, normal mode off
    std::string_view archNormalOn;  // Pelka OUTPUT_ARCH name, normal mode on
};

struct CpuTable {
    int familyCode;
    std::span<const CpuRow> rows;
};

// The five tables in search order: Corvo, Pelka, Tamsin 16, Tamsin 32, Zenta.
std::span<const CpuTable> CpuTables();
// The table of a family code, or nullptr (105 and anything unknown).
const CpuTable* CpuTableFor(int familyCode);
// The row of a family's table, or nullptr when either is out of range.
const CpuRow* CpuRowAt(int familyCode, int row);
// Number of rows of a family's table (0 for none).
int CpuRowCount(int familyCode);

struct CpuMatch {
    int familyCode;
    int row;
};
// Finds a CPU type value, searching the tables in table order.
std::optional<CpuMatch> FindCpuType(std::string_view value);

// True when the user may choose the byte order for this row.
bool AllowsByteOrderChoice(int familyCode, int row);
// The byte order that applies when no choice is allowed: the row's order for
// Corvo, big for Pelka, little for Tamsin; big when the row is unknown.
int FixedByteOrder(int familyCode, int row);

// Pelka OUTPUT_ARCH name by index row * 2 + normal-mode flag (ten names);
// empty outside 0..9.
std::string_view PelkaOutputArch(int index);

// Family extra options ("family flags"), up to eight positions.
inline constexpr int kFamilyFlagCount = 8;
using FamilyFlags = std::array<bool, kFamilyFlagCount>;

struct FamilyOption {
    std::string_view label; // text of the check item, ending with the flag in parentheses
    std::string_view flag;  // the flag the compiler receives
};
// The family's extra options in position order (empty for Tamsin and none).
std::span<const FamilyOption> FamilyOptions(int familyCode);

// Positions (0-based) with a meaning outside the option tables.
inline constexpr int kPelkaAlignBasePos = 0;
inline constexpr int kPelkaNormalPos = 2; // "-mn"
inline constexpr int kPelkaInt32Pos = 5;  // "-mint32"
inline constexpr int kZentaCpuSelectPos = 0;
inline constexpr int kZentaNoFpuPos = 1;
inline constexpr int kZentaDouble64Pos = 3;

// The one additional Zenta CPU model, chosen with a check item.
inline constexpr std::string_view kZentaExtraCpu = "ZN610";
inline constexpr std::string_view kZentaExtraCpuFlag = "-mcpu=zn610";

// How an extra option behaves for a CPU type.
enum class Availability { Available, DisabledCleared, DisabledChecked };
Availability OptionAvailability(int familyCode, int row, int position);

// Multilib sub-directory M for a CPU type and its options; "" when none.
std::string MultilibSubdirectory(int familyCode, int row, int endianness,
                                 const FamilyFlags& familyFlags);
// Compiler library directory (ends with "\") followed by M.
std::string CompilerLibraryPath(int familyCode, std::string_view multilib);
// Target library directory, "\" and M; nothing appended when M is empty.
std::string TargetLibraryPath(int familyCode, std::string_view multilib);

// Labels of the CPU tab's lists.
std::span<const std::string_view> ByteOrderLabels(int familyCode);
std::span<const std::string_view> InterruptRegisterLabels(); // positions 0-5, 5 "Default"
std::span<const std::string_view> MaxConstantLabels();       // positions 0-3
inline constexpr int kInterruptRegisterDefault = 5;
// Texts of the Zenta group, shown instead of the plain check-list label.
inline constexpr std::string_view kZentaGroupLabel = "Zenta CPU options:";
inline constexpr std::string_view kZentaInterruptLabel = "Registers reserved for fast interrupt:";
inline constexpr std::string_view kZentaMaxConstantLabel = "Max size of constant operand values:";
inline constexpr std::string_view kZentaSmallDataLabel = "Max variable size in small data area:";
inline constexpr std::string_view kExtraOptionsLabel = "&Additional CPU options:";

} // namespace quorle::toolchain
