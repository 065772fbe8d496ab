#include <gtest/gtest.h>

#include <set>

#include "toolchain/cpu_table.h"

namespace quorle::toolchain {
namespace {

TEST(CpuTable, TablesInSearchOrderWithTheirRowCounts) {
    auto tables = CpuTables();
    ASSERT_EQ(tables.size(), 5u);
    const int codes[] = {100, 101, 102, 103, 104};
    const size_t rows[] = {18, 5, 6, 3, 2};
    for (size_t i = 0; i < tables.size(); ++i) {
        EXPECT_EQ(tables[i].familyCode, codes[i]);
        EXPECT_EQ(tables[i].rows.size(), rows[i]);
        EXPECT_EQ(CpuRowCount(codes[i]), static_cast<int>(rows[i]));
    }
    EXPECT_EQ(CpuTableFor(105), nullptr);
    EXPECT_EQ(CpuRowCount(105), 0);
    EXPECT_EQ(CpuRowAt(100, 18), nullptr);
    EXPECT_EQ(CpuRowAt(100, -1), nullptr);
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

TEST(CpuTable, RowData) {
    const CpuRow* pk3m = CpuRowAt(101, 3);
    ASSERT_NE(pk3m, nullptr);
    EXPECT_EQ(pk3m->displayName, "PK3 with MAC");
    EXPECT_EQ(pk3m->targetFlag, "-mpk3 -mpkmac");
    EXPECT_EQ(CpuRowAt(101, 0)->targetFlag, "");
    EXPECT_EQ(CpuRowAt(100, 17)->targetFlag, "-mcv4x-dsp");
    EXPECT_EQ(CpuRowAt(100, 6)->displayName, "CV2X single precision only");
    EXPECT_EQ(CpuRowAt(102, 4)->targetFlag, "-mcpu=tm16");
    EXPECT_EQ(CpuRowAt(102, 5)->targetFlag, "-mcpu=tm16x");
    EXPECT_EQ(CpuRowAt(103, 2)->targetFlag, "-mcpu=tm32b");
    EXPECT_EQ(CpuRowAt(104, 1)->targetFlag, "-mcpu=zn200");
}

TEST(CpuTable, ByteOrderRules) {
    const std::set<int> corvoChoice = {1, 7, 9, 10, 11, 12, 13, 14, 15, 16, 17};
    for (int row = 0; row < 18; ++row) {
        EXPECT_EQ(AllowsByteOrderChoice(100, row), corvoChoice.count(row) == 1) << row;
        if (!corvoChoice.count(row)) {
            EXPECT_EQ(FixedByteOrder(100, row), kBigEndian);
        }
    }
    for (int row = 0; row < 5; ++row) {
        EXPECT_FALSE(AllowsByteOrderChoice(101, row));
        EXPECT_EQ(FixedByteOrder(101, row), kBigEndian);
    }
    EXPECT_FALSE(AllowsByteOrderChoice(102, 0));
    EXPECT_EQ(FixedByteOrder(102, 0), kLittleEndian);
    EXPECT_EQ(FixedByteOrder(103, 2), kLittleEndian);
    EXPECT_TRUE(AllowsByteOrderChoice(104, 0));
    EXPECT_TRUE(AllowsByteOrderChoice(104, 1));
    EXPECT_FALSE(AllowsByteOrderChoice(105, 0));
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
