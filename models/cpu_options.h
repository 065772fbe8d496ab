// The CPU category shared by the compiler, library generator and linker
// models: CPU type, family code, byte order, the eight family flags and the
// three Zenta numbers, with the keys that carry them.
#pragma once

#include <string>
#include <string_view>

#include "models/model_base.h"
#include "toolchain/cpu_table.h"

namespace quorle::models {

struct CpuOptions {
    int cpuType_ = 0;                       // row within the family's table
    int familyCode_ = toolchain::kCodeNone; // set by the table or family key that matched
    int endian_ = toolchain::kBigEndian;    // 0 big, 1 little
    toolchain::FamilyFlags familyFlags_{};  // meaning by family; Zenta 0 is the CPU selection
    int intRegisters_ = 0;                  // "I|RMINTREGVAL|"
    int maxConstSize_ = 0;                  // "I|RMMAXCONSTVAL|"
    bool smallDataEnabled_ = false;         // "B|RMMAXVARSVAL|1"
    int smallDataLimit_ = 0;                // "I|RMMAXVARSVAL|"

    // The Zenta limits are written for Zenta only; for another family they
    // go back to their defaults, so that what is read is what a save keeps.
    void KeepZentaLimitsForZentaOnly() {
        if (familyCode_ == toolchain::kCodeZenta) return;
        const CpuOptions defaults;
        intRegisters_ = defaults.intRegisters_;
        maxConstSize_ = defaults.maxConstSize_;
        smallDataEnabled_ = defaults.smallDataEnabled_;
        smallDataLimit_ = defaults.smallDataLimit_;
    }

    // Accepts the CPU type, endianness, family-flag and Zenta number keys.
    bool Read(std::string_view body);
    // A value-carrying CPU key: `prefix` is one of CpuValuePrefixes().
    bool ReadValue(std::string_view prefix, std::string_view value);
    // "S|CPUTYPE|" of the current row (nothing without a table) and the
    // endianness key.
    void WriteCpuTypeAndEndian(std::string& out) const;
    // The family's flag keys that are on; for Zenta the CPU selection, the
    // seven flags and the three numbers with the small-data switch.
    void WriteFamilyKeys(std::string& out) const;

    const toolchain::CpuRow* Row() const { return toolchain::CpuRowAt(familyCode_, cpuType_); }
    // True when the row lets the user choose the byte order.
    bool ByteOrderChosen() const { return toolchain::AllowsByteOrderChoice(familyCode_, cpuType_); }
    // The multilib sub-directory for these settings.
    std::string Multilib() const {
        return toolchain::MultilibSubdirectory(familyCode_, cpuType_, endian_, familyFlags_);
    }
    // Selects a CPU type by its value; false (and no change) when unknown.
    bool SetCpuType(std::string_view value);

    bool operator==(const CpuOptions&) const = default;
};

// Family-flag keys by family code (Corvo 8, Pelka 6, Zenta positions 2-8
// with an empty first entry: its position 1 is the "S|CPU|" selection).
KeyList FamilyFlagKeys(int familyCode);
// The CPU keys that carry a value: "S|CPUTYPE|", "S|CPU|" and the three
// Zenta numbers; and the small-data switch.
std::span<const std::string_view> CpuValuePrefixes();
std::string_view CpuSmallDataSwitch();
// "S|ENDIAN|BIG", "S|ENDIAN|LITTLE".
KeyList CpuEndianKeys();
// Adds every key CpuOptions::Read accepts.
void AddCpuKeys(KeyRegistry& registry);

} // namespace quorle::models
