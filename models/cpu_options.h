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
    int m_nCpuType = 0;                       // row within the family's table
    int m_nFamilyCode = toolchain::kCodeNone; // set by the table or family key that matched
    int m_nEndian = toolchain::kBigEndian;    // 0 big, 1 little
    toolchain::FamilyFlags m_aFamilyFlags{};  // meaning by family; Zenta 0 is the CPU selection
    int m_nIntRegisters = 0;                  // "I|RMINTREGVAL|"
    int m_nMaxConstSize = 0;                  // "I|RMMAXCONSTVAL|"
    bool m_bSmallDataEnabled = false;         // "B|RMMAXVARSVAL|1"
    int m_nSmallDataLimit = 0;                // "I|RMMAXVARSVAL|"

    // The Zenta limits are written for Zenta only; for another family they
    // go back to their defaults, so that what is read is what a save keeps.
    void KeepZentaLimitsForZentaOnly() {
        if (m_nFamilyCode == toolchain::kCodeZenta) return;
        const CpuOptions defaults;
        m_nIntRegisters = defaults.m_nIntRegisters;
        m_nMaxConstSize = defaults.m_nMaxConstSize;
        m_bSmallDataEnabled = defaults.m_bSmallDataEnabled;
        m_nSmallDataLimit = defaults.m_nSmallDataLimit;
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

    const toolchain::CpuRow* Row() const { return toolchain::CpuRowAt(m_nFamilyCode, m_nCpuType); }
    // True when the row lets the user choose the byte order.
    bool ByteOrderChosen() const {
        return toolchain::AllowsByteOrderChoice(m_nFamilyCode, m_nCpuType);
    }
    // The multilib sub-directory for these settings.
    std::string Multilib() const {
        return toolchain::MultilibSubdirectory(m_nFamilyCode, m_nCpuType, m_nEndian,
                                               m_aFamilyFlags);
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

} // namespace quorle::models
