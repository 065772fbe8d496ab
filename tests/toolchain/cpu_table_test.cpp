#include <gtest/gtest.h>

#include <set>
#include <vector>

#include "toolchain/cpu_table.h"

namespace quorle::toolchain {
namespace {

TEST(CpuTable, EveryRowIsReachableByItsFamilyAndIndex) {
    auto tables = CpuTables();
    ASSERT_FALSE(tables.empty());
    // Project files store these family codes, so they stay fixed.
    std::vector<int> codes;
    for (const CpuTable& t : tables) codes.push_back(t.familyCode);
    EXPECT_EQ(codes, (std::vector<int>{100, 101, 102, 103, 104}));
    for (const CpuTable& table : tables) {
        const int code = table.familyCode;
        ASSERT_FALSE(table.rows.empty()) << code;
        EXPECT_EQ(CpuTableFor(code), &table);
        const int count = CpuRowCount(code);
        EXPECT_EQ(count, static_cast<int>(table.rows.size()));
        for (int i = 0; i < count; ++i) EXPECT_EQ(CpuRowAt(code, i), &table.rows[i]);
        EXPECT_EQ(CpuRowAt(code, count), nullptr);
        EXPECT_EQ(CpuRowAt(code, -1), nullptr);
    }
    const int unknown = tables.back().familyCode + 1;
    EXPECT_EQ(CpuTableFor(unknown), nullptr);
    EXPECT_EQ(CpuRowCount(unknown), 0);
    EXPECT_EQ(CpuRowAt(unknown, 0), nullptr);
}

TEST(CpuTable, ValuesAreUniqueAndFoundInTheirTable) {
    std::set<std::string_view> seen;
    for (const CpuTable& table : CpuTables()) {
        for (size_t i = 0; i < table.rows.size(); ++i) {
            EXPECT_TRUE(seen.insert(table.rows[i].value).second) << table.rows[i].value;
            auto match = FindCpuType(table.rows[i].value);
            ASSERT_TRUE(match.has_value());
            EXPECT_EQ(match->familyCode, table.familyCode);
            EXPECT_EQ(match->row, static_cast<int>(i));
        }
    }
    EXPECT_FALSE(FindCpuType("cv1").has_value()); // case matters
    EXPECT_FALSE(FindCpuType("ZN610").has_value());
}

// A row's texts are what the list shows and what the compiler receives: no
// two rows of a family look alike (CPU variants may share a flag), and each
// flag is a -m option.
TEST(CpuTable, RowsAreWellFormed) {
    for (const CpuTable& table : CpuTables()) {
        std::set<std::string_view> names;
        for (const CpuRow& row : table.rows) {
            EXPECT_FALSE(row.value.empty());
            EXPECT_EQ(row.value.find_first_of(" \t|"), std::string_view::npos) << row.value;
            EXPECT_FALSE(row.displayName.empty()) << row.value;
            EXPECT_TRUE(names.insert(row.displayName).second) << row.displayName;
            std::string_view rest = row.targetFlag;
            while (!rest.empty()) {
                const size_t blank = rest.find(' ');
                const std::string_view flag = rest.substr(0, blank);
                EXPECT_EQ(flag.substr(0, 2), "-m") << row.value << ": " << row.targetFlag;
                EXPECT_GT(flag.size(), 2u) << row.value << ": " << row.targetFlag;
                rest =
                    blank == std::string_view::npos ? std::string_view{} : rest.substr(blank + 1);
            }
            EXPECT_EQ(row.multilib.find_first_of("/ "), std::string_view::npos) << row.multilib;
        }
        // With no options chosen the sub-directory is the row's own column.
        const FamilyFlags none{};
        for (int i = 0; i < static_cast<int>(table.rows.size()); ++i) {
            EXPECT_EQ(MultilibSubdirectory(table.familyCode, i, kBigEndian, none),
                      table.rows[static_cast<size_t>(i)].multilib)
                << table.rows[static_cast<size_t>(i)].value;
        }
    }
}

// A row either lets the user pick the byte order or fixes the one it names;
// past the end of a table Tamsin stays little-endian and the rest big, and
// past the families there is no choice.
TEST(CpuTable, ByteOrderRules) {
    for (const CpuTable& table : CpuTables()) {
        const int code = table.familyCode;
        for (int row = 0; row < static_cast<int>(table.rows.size()); ++row) {
            const ByteOrderRule rule = table.rows[static_cast<size_t>(row)].byteOrder;
            EXPECT_EQ(AllowsByteOrderChoice(code, row), rule == ByteOrderRule::Choice);
            if (rule == ByteOrderRule::Choice) continue;
            EXPECT_EQ(FixedByteOrder(code, row),
                      rule == ByteOrderRule::Little ? kLittleEndian : kBigEndian)
                << code << "/" << row;
        }
        const int past = static_cast<int>(table.rows.size());
        EXPECT_FALSE(AllowsByteOrderChoice(code, past));
        const bool tamsin = code == kCodeTamsin16 || code == kCodeTamsin32;
        EXPECT_EQ(FixedByteOrder(code, past), tamsin ? kLittleEndian : kBigEndian) << code;
    }
    EXPECT_FALSE(AllowsByteOrderChoice(CpuTables().back().familyCode + 1, 0));
}

// OUTPUT_ARCH names are indexed row * 2 + normal mode; each index reads back
// its row's own name, and the normal-mode name is the plain one plus "n".
TEST(CpuTable, PelkaOutputArchFollowsTheRows) {
    const CpuTable* pelka = CpuTableFor(kCodePelka);
    ASSERT_NE(pelka, nullptr);
    const int count = static_cast<int>(pelka->rows.size());
    for (int i = 0; i < count; ++i) {
        const CpuRow& row = pelka->rows[static_cast<size_t>(i)];
        EXPECT_FALSE(row.archNormalOff.empty()) << row.value;
        EXPECT_EQ(PelkaOutputArch(i * 2), row.archNormalOff) << row.value;
        EXPECT_EQ(PelkaOutputArch(i * 2 + 1), row.archNormalOn) << row.value;
        EXPECT_EQ(std::string(row.archNormalOn), std::string(row.archNormalOff) + "n");
    }
    EXPECT_EQ(PelkaOutputArch(count * 2), "");
    EXPECT_EQ(PelkaOutputArch(-1), "");
    // Only Pelka rows name an architecture.
    for (const CpuTable& table : CpuTables())
        if (table.familyCode != kCodePelka) {
            for (const CpuRow& row : table.rows) {
                EXPECT_TRUE(row.archNormalOff.empty() && row.archNormalOn.empty()) << row.value;
            }
        }
}

// The extra options fit the stored flag positions, each appears once, its
// label ends with the flag in parentheses (Corvo's deprecated item carries a
// suffix after it), and the positions named in code point at the options
// they mean.
TEST(CpuTable, FamilyOptionsMatchTheirPositions) {
    for (const CpuTable& table : CpuTables()) {
        const auto options = FamilyOptions(table.familyCode);
        EXPECT_LE(options.size(), static_cast<size_t>(kFamilyFlagCount)) << table.familyCode;
        std::set<std::string_view> flags;
        for (const FamilyOption& o : options) {
            EXPECT_TRUE(flags.insert(o.flag).second) << o.flag;
            std::string_view flag = o.flag;
            if (flag.substr(0, 4) == "-Wa,") flag.remove_prefix(4);
            EXPECT_NE(o.label.find("(" + std::string(flag) + ")"), std::string_view::npos)
                << o.label;
        }
    }
    EXPECT_TRUE(FamilyOptions(kCodeTamsin16).empty());
    EXPECT_TRUE(FamilyOptions(kCodeTamsin32).empty());
    EXPECT_TRUE(FamilyOptions(CpuTables().back().familyCode + 1).empty());

    auto flagAt = [](int code, int position) -> std::string_view {
        const auto options = FamilyOptions(code);
        return position < static_cast<int>(options.size()) ? options[position].flag : "";
    };
    EXPECT_EQ(flagAt(kCodePelka, kPelkaAlignBasePos), "-malign-base");
    EXPECT_EQ(flagAt(kCodePelka, kPelkaNormalPos), "-mn");
    EXPECT_EQ(flagAt(kCodePelka, kPelkaInt32Pos), "-mint32");
    EXPECT_EQ(flagAt(kCodeZenta, kZentaCpuSelectPos), kZentaExtraCpuFlag);
    EXPECT_EQ(flagAt(kCodeZenta, kZentaNoFpuPos), "-nofpu");
    EXPECT_EQ(flagAt(kCodeZenta, kZentaDouble64Pos), "-m64bit-doubles");
}

// A list's position is the value stored and passed on: byte order by the
// endianness values, interrupt registers by count (the last being the
// default), constant size by bytes (0 the default).
TEST(CpuTable, ListLabelsFollowTheirValues) {
    for (const CpuTable& table : CpuTables()) {
        const auto labels = ByteOrderLabels(table.familyCode);
        ASSERT_EQ(labels.size(), 2u);
        EXPECT_EQ(labels[kBigEndian].substr(0, 3), "Big") << table.familyCode;
        EXPECT_EQ(labels[kLittleEndian].substr(0, 6), "Little") << table.familyCode;
    }
    const auto registers = InterruptRegisterLabels();
    ASSERT_EQ(static_cast<int>(registers.size()), kInterruptRegisterDefault + 1);
    EXPECT_EQ(registers[kInterruptRegisterDefault], "Default");
    EXPECT_EQ(registers[0], "None");
    for (int n = 1; n < kInterruptRegisterDefault; ++n) {
        const std::string first = "R" + std::to_string(14 - n);
        EXPECT_EQ(registers[n], n == 1 ? std::string("R13") : first + "-R13") << n;
    }
    const auto constants = MaxConstantLabels();
    ASSERT_FALSE(constants.empty());
    EXPECT_EQ(constants[0], "Default");
    for (size_t n = 1; n < constants.size(); ++n)
        EXPECT_EQ(constants[n].substr(0, 2), std::to_string(n) + "-") << constants[n];
}

TEST(CpuTable, OptionAvailability) {
    EXPECT_EQ(OptionAvailability(101, 0, kPelkaNormalPos), Availability::DisabledCleared);
    EXPECT_EQ(OptionAvailability(101, 0, kPelkaInt32Pos), Availability::DisabledCleared);
    EXPECT_EQ(OptionAvailability(101, 1, kPelkaNormalPos), Availability::Available);
    EXPECT_EQ(OptionAvailability(101, 0, 1), Availability::Available);
    EXPECT_EQ(OptionAvailability(104, 1, kZentaCpuSelectPos), Availability::DisabledCleared);
    EXPECT_EQ(OptionAvailability(104, 1, kZentaNoFpuPos), Availability::DisabledChecked);
    EXPECT_EQ(OptionAvailability(104, 1, 3), Availability::Available);
    EXPECT_EQ(OptionAvailability(104, 0, kZentaNoFpuPos), Availability::Available);
    EXPECT_EQ(OptionAvailability(100, 0, 0), Availability::Available);
}

TEST(CpuTable, MultilibSubdirectory) {
    FamilyFlags none{};
    EXPECT_EQ(MultilibSubdirectory(100, 1, kLittleEndian, none), "cv2\\ml");
    EXPECT_EQ(MultilibSubdirectory(100, 1, kBigEndian, none), "cv2");
    EXPECT_EQ(MultilibSubdirectory(100, 0, kLittleEndian, none), "cv1"); // no choice
    FamilyFlags pelka{};
    pelka[kPelkaNormalPos] = true;
    pelka[kPelkaInt32Pos] = true;
    EXPECT_EQ(MultilibSubdirectory(101, 2, kBigEndian, pelka), "pk3\\normal\\int32");
    // The first Pelka row has no column: no leading separator.
    EXPECT_EQ(MultilibSubdirectory(101, 0, kBigEndian, pelka), "normal\\int32");
    EXPECT_EQ(MultilibSubdirectory(101, 0, kBigEndian, none), "");
    FamilyFlags zenta{};
    zenta[kZentaDouble64Pos] = true;
    EXPECT_EQ(MultilibSubdirectory(104, 1, kLittleEndian, zenta), "zn200\\64-bit-double");
    EXPECT_EQ(MultilibSubdirectory(103, 1, kLittleEndian, zenta), "tm32b");
    EXPECT_EQ(MultilibSubdirectory(105, 0, kBigEndian, zenta), "");
}

TEST(CpuTable, LibraryPathsJoinTheMultilibDirectory) {
    EXPECT_EQ(CompilerLibraryPath(100, "cv2\\ml"),
              "$(TCINSTALL)\\corvo-elf\\lib\\gcc\\corvo-elf\\cv2\\ml");
    EXPECT_EQ(TargetLibraryPath(100, "cv2\\ml"),
              "$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib\\cv2\\ml");
    EXPECT_EQ(TargetLibraryPath(101, ""), "$(TCINSTALL)\\pelka-elf\\pelka-elf\\lib");
    EXPECT_EQ(CompilerLibraryPath(101, ""), "$(TCINSTALL)\\pelka-elf\\lib\\gcc\\pelka-elf\\");
}

} // namespace
} // namespace quorle::toolchain
