#include <gtest/gtest.h>

#include <cstdint>

#include "host_fixture.h"
#include "sheet/host_records.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

// The records, or nothing with the one error message's words in `why`.
std::optional<HostRecords> Records(QuorlePhaseRecord* const* list, std::string& why) {
    HostRecordsRead read = ReadHostRecords(list);
    if (read.records) {
        EXPECT_TRUE(read.messages.empty());
        return std::move(read.records);
    }
    EXPECT_EQ(read.messages.size(), 1u);
    EXPECT_EQ(read.messages.at(0).kind, MessageKind::Error);
    why = read.messages.at(0).text;
    return std::nullopt;
}

HostRecordsFixture TwoPhases() {
    return HostRecordsFixture({
        {"GNU Compiler",
         {"[V|VERSION|2]", "[V|VERSION|2] [B|DEBUG|0]"},
         {{"demo", {"Debug", "Release"}, {{"a.c", "C source file", {0, 1}}}}}},
        {"GNU Linker", {"[V|VERSION|2]"}, {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
    });
}

} // namespace

TEST(HostRecords, ReadsEveryLevelOfTheRecords) {
    HostRecordsFixture host = TwoPhases();
    std::string why;
    auto records = Records(host.List(), why);
    ASSERT_TRUE(records) << why;
    ASSERT_EQ(records->phases.size(), 2u);
    const HostPhase& compiler = records->phases[0];
    EXPECT_EQ(compiler.index, 0);
    EXPECT_EQ(records->phases[1].index, 2);
    ASSERT_EQ(compiler.inputs.size(), 2u);
    ASSERT_EQ(compiler.projects.size(), 1u);
    ASSERT_EQ(compiler.projects[0].configs.size(), 2u);
    EXPECT_EQ(compiler.projects[0].configs[1].name, "Release");
    ASSERT_EQ(compiler.projects[0].files.size(), 1u);
    EXPECT_EQ(compiler.projects[0].files[0].indices, (std::vector<int>{0, 1}));
    EXPECT_EQ(compiler.projects[0].files[0].fileType, "C source file");
    EXPECT_TRUE(records->phases[1].projects[0].files[0].fileType.empty());
}

TEST(HostRecords, EveryWrongSizeIsRefused) {
    std::string why;
    {
        HostRecordsFixture host = TwoPhases();
        host.Phase(1).size = 16;
        EXPECT_FALSE(Records(host.List(), why));
    }
    {
        HostRecordsFixture host = TwoPhases();
        host.Project(0).size += 4;
        EXPECT_FALSE(Records(host.List(), why));
    }
    {
        HostRecordsFixture host = TwoPhases();
        host.Config(1).size = 0;
        EXPECT_FALSE(Records(host.List(), why));
    }
    {
        HostRecordsFixture host = TwoPhases();
        host.File(1).size = 24;
        EXPECT_FALSE(Records(host.List(), why));
    }
}

TEST(HostRecords, IndicesAndSlotsAreChecked) {
    std::string why;
    {
        HostRecordsFixture host = TwoPhases();
        const_cast<int32_t*>(host.File(0).optionIndex)[1] = 2; // two inputs only
        EXPECT_FALSE(Records(host.List(), why));
        EXPECT_NE(why.find("a.c"), std::string::npos);
    }
    // Indices at the ends of the 32-bit range, where a sign or width slip
    // would index far outside the strings.
    for (int32_t index : {-1, INT32_MIN, INT32_MAX}) {
        HostRecordsFixture host = TwoPhases();
        const_cast<int32_t*>(host.File(0).optionIndex)[0] = index;
        EXPECT_FALSE(Records(host.List(), why)) << index;
    }
    {
        HostRecordsFixture host = TwoPhases();
        host.File(0).slotB = nullptr;
        EXPECT_FALSE(Records(host.List(), why));
    }
    {
        HostRecordsFixture host = TwoPhases();
        host.File(0).slotA = nullptr; // optional
        EXPECT_TRUE(Records(host.List(), why)) << why;
    }
}

TEST(HostRecords, NullListsAreEmptyAndUnknownPhasesFail) {
    std::string why;
    EXPECT_FALSE(Records(nullptr, why));
    QuorlePhaseRecord* none[] = {nullptr};
    auto empty = Records(none, why);
    ASSERT_TRUE(empty);
    EXPECT_TRUE(empty->phases.empty());

    HostRecordsFixture bare(std::vector<PhaseInput>{{"Compiler", {}, {}}});
    bare.Phase(0).projects = nullptr;
    bare.Phase(0).options = nullptr;
    auto read = Records(bare.List(), why);
    ASSERT_TRUE(read);
    EXPECT_TRUE(read->phases[0].inputs.empty());

    HostRecordsFixture librarian(std::vector<PhaseInput>{{"Librarian", {}, {}}});
    EXPECT_FALSE(Records(librarian.List(), why));
    HostRecordsFixture twice(std::vector<PhaseInput>{{"Compiler", {}, {}}, {"Compiler", {}, {}}});
    EXPECT_FALSE(Records(twice.List(), why));
    HostRecordsFixture debug(std::vector<PhaseInput>{{"Debug", {}, {}}});
    EXPECT_TRUE(Records(debug.List(), why));
}

#include "sheet/edit_options.h"
#include "sheet/sheet.h"

TEST(SheetOpening, TitleAndCommonControlsRule) {
    EXPECT_EQ(SheetTitle("dravik gnuzenta [elf]"), "Dravik GNUZENTA [ELF] Toolchain");
    EXPECT_EQ(SheetTitle("Dravik GNUPELKA [ELF]"), "Dravik GNUPELKA [ELF] Toolchain");
    EXPECT_EQ(SheetTitle("Dravik GNUTAMSIN [ELF]"), "Dravik GNUTAMSIN [ELF] Toolchain");
    EXPECT_EQ(SheetTitle("Dravik GNUCORVO [ELF] "), "Dravik GNU Toolchain");
    EXPECT_EQ(SheetTitle(nullptr), "Dravik GNU Toolchain");
    EXPECT_TRUE(CommonControlsUsable(5, 0));
    EXPECT_TRUE(CommonControlsUsable(4, 71));
    EXPECT_FALSE(CommonControlsUsable(4, 70));
    EXPECT_FALSE(CommonControlsUsable(4, 0));
}
