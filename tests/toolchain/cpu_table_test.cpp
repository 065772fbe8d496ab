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
    }
}

// A row either lets the user pick the byte order or fixes one of the two;
// past the end of a table or of the families there is no choice.
TEST(CpuTable, ByteOrderRules) {
    for (const CpuTable& table : CpuTables()) {
        const int code = table.familyCode;
        for (int row = 0; row < static_cast<int>(table.rows.size()); ++row) {
            if (AllowsByteOrderChoice(code, row)) continue;
            const int fixed = FixedByteOrder(code, row);
            EXPECT_TRUE(fixed == kBigEndian || fixed == kLittleEndian) << code << "/" << row;
        }
        EXPECT_FALSE(AllowsByteOrderChoice(code, static_cast<int>(table.rows.size())));
    }
    EXPECT_FALSE(AllowsByteOrderChoice(CpuTables().back().familyCode + 1, 0));
    // Corvo CPUs are big-endian unless they offer the choice; Tamsin ones little.
    EXPECT_EQ(FixedByteOrder(100, 0), kBigEndian);
    EXPECT_EQ(FixedByteOrder(102, 0), kLittleEndian);
}

TEST(CpuTable, PelkaOutputArchNames) {
    const char* expected[] = {"pelka",   "pelkan", "pelka2",  "pelka2n", "pelka3",
                              "pelka3n", "pelka3", "pelka3n", "pelka4",  "pelka4n"};
    for (int i = 0; i < 10; ++i) EXPECT_EQ(PelkaOutputArch(i), expected[i]) << i;
    EXPECT_EQ(PelkaOutputArch(10), "");
    EXPECT_EQ(PelkaOutputArch(-1), "");
}

TEST(CpuTable, FamilyOptionsAndLabels) {
    EXPECT_EQ(FamilyOptions(100).size(), 8u);
    EXPECT_EQ(FamilyOptions(101).size(), 6u);
    EXPECT_EQ(FamilyOptions(104).size(), 8u);
    EXPECT_TRUE(FamilyOptions(102).empty());
    EXPECT_TRUE(FamilyOptions(103).empty());
    EXPECT_TRUE(FamilyOptions(105).empty());
    EXPECT_EQ(FamilyOptions(101)[0].label, "Use PK1 alignment rules (-malign-base)");
    EXPECT_EQ(FamilyOptions(104)[0].label, "Generate code for ZN610 (-mcpu=zn610)");
    EXPECT_EQ(FamilyOptions(100)[6].label,
              "Pad structures to multiples of 4 bytes (-mpadstruct)(deprecated)");
    // Every label ends with its flag in parentheses (Corvo's deprecated item
    // carries a suffix after it).
    for (int code : {100, 101, 104}) {
        for (const FamilyOption& o : FamilyOptions(code)) {
            std::string_view flag = o.flag;
            if (flag.substr(0, 4) == "-Wa,") flag.remove_prefix(4);
            EXPECT_NE(o.label.find("(" + std::string(flag) + ")"), std::string_view::npos)
                << o.label;
        }
    }
    EXPECT_EQ(ByteOrderLabels(104)[1], "Little-endian data");
    EXPECT_EQ(ByteOrderLabels(100)[0], "Big");
    EXPECT_EQ(InterruptRegisterLabels().size(), 6u);
    EXPECT_EQ(InterruptRegisterLabels()[5], "Default");
    EXPECT_EQ(MaxConstantLabels()[3], "3-bytes");
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
