// Linker option strings that an earlier writer lost or corrupted: each must
// read back to the model it was written from, and a second save must write
// the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "interface/quorle.h"
#include "models/linker_model.h"
#include "sections/layout_tree.h"

using quorle::models::CLinkerModel;
namespace models = quorle::models;
namespace sections = quorle::sections;

namespace {

bool SameModel(const CLinkerModel& a, const CLinkerModel& b) {
    return static_cast<const models::LinkerFields&>(a) ==
               static_cast<const models::LinkerFields&>(b) &&
           a.m_listCarried == b.m_listCarried;
}

// The string the optimisation rewrite hands back, as a host receives it.
std::string RewriteThroughExport(const std::string& options) {
    std::string buffer(options.size() * 2 + 4096, '\0');
    int32_t length = static_cast<int32_t>(buffer.size());
    EXPECT_EQ(GetOptimisationOptions("GNU Linker", options.c_str(), 2, buffer.data(), &length), 0);
    return std::string(buffer.c_str());
}

void ExpectFixedPoint(const std::string& optionString) {
    CLinkerModel first(optionString);
    std::string written = first.Serialize();
    CLinkerModel second(written);
    EXPECT_TRUE(SameModel(first, second)) << written;
    EXPECT_EQ(second.Serialize(), written);
}

} // namespace

TEST(HostileStrings, SectionFileNameWithABlankKeepsTheLayout) {
    CLinkerModel model;
    sections::SectionGroup group;
    group.name = ".text";
    group.placement = sections::kFixedAddress;
    group.placementText = "0x1000";
    group.contents = {sections::SectionItem(".text", {"C:\\My Project\\a.o", "All-files"}),
                      sections::LabelItem("_end")};
    model.m_layout.groups = {group};
    model.m_layout.regions = {{"my ram", 1, "0x0", "0xFF"}};
    std::string written = model.Serialize();
    CLinkerModel back(written);
    EXPECT_EQ(back.m_layout, model.m_layout) << written;
    EXPECT_TRUE(back.m_listCarried.empty()) << written;
    EXPECT_EQ(back.Serialize(), written);
}

TEST(HostileStrings, AStrayQuoteNeitherGrowsNorSwallowsTokens) {
    const std::string hostile = "[S|;CHECKDEVICE|RAM\"] [B|X|1]\"";
    std::string once = RewriteThroughExport(hostile);
    std::string twice = RewriteThroughExport(once);
    EXPECT_EQ(twice, once);
    EXPECT_EQ(RewriteThroughExport(twice), once);
    // The writer's own tokens after the check areas are read back as such.
    CLinkerModel back(once);
    EXPECT_EQ(back.m_nProjectType, 0);
    EXPECT_NE(once.find(" [S|PROJECTTYPE|CAPPPROJECT] [B|DOOPTLIB|0] [B|DOPROJBUILT|0]"),
              std::string::npos)
        << once;
    ExpectFixedPoint(hostile);
    // An unknown token with one quote swallows nothing once saved.
    ExpectFixedPoint("[S|ZZZ|a\"b [B|LTO|1] [S|MEMDET|r|1|0|F|*]");
    CLinkerModel odd("[S|ZZZ|a\"b [B|LTO|1]");
    std::string saved = odd.Serialize();
    CLinkerModel withSwitch(saved + " [B|LTO|1]");
    EXPECT_TRUE(withSwitch.m_bLto) << saved;
}

TEST(HostileStrings, MalformedUnknownTokensKeepTheirPlace) {
    const std::string hostile = "[[x] [S|MEMDET|r|1|0|F|*] ab [] [y]] [S|GROUPDET|] [q\"]";
    CLinkerModel model(hostile);
    ASSERT_EQ(model.m_layout.regions.size(), 1u);
    std::string written = model.Serialize();
    ExpectFixedPoint(hostile);
    ExpectFixedPoint(written);
    // Unknown tokens come back last, in arrival order, each one token.
    CLinkerModel back(written);
    EXPECT_EQ(back.m_listCarried, model.m_listCarried);
    EXPECT_EQ(back.m_layout.regions, model.m_layout.regions);
}

TEST(HostileStrings, KeysTheWriterOnceDroppedSurviveASave) {
    ExpectFixedPoint("[S|OTHERVIA|\"-opt a\"] [S|CRC|CCITT|FFFF|0-F] [S|PLMFILE|\"C:\\m\\x.map\"]");
    CLinkerModel model("[S|OTHERVIA|\"-opt a\"] [S|CRC|CCITT|FFFF|0-F]");
    CLinkerModel back(model.Serialize());
    EXPECT_EQ(back.m_strOtherVia, "-opt a");
    EXPECT_EQ(back.m_nCrcType, 1);
    EXPECT_EQ(back.m_strCrcAddress, "FFFF");
    ASSERT_EQ(back.m_listCrcRanges.size(), 1u);
}

// The default option strings name the output under OUTPUT: with no OUTFILE
// that path is the output, so the model's placeholder default is not used.
TEST(HostileStrings, OutputKeyOfTheDefaultsNamesTheOutput) {
    CLinkerModel model("[V|VERSION|2] [S|OUTPUT|\"/work/cfg/app.x\"]");
    EXPECT_EQ(model.m_strOutputFile, "/work/cfg/app.x");
    CLinkerModel both("[S|OUTFILE|\"b.x\"] [S|OUTPUT|\"a.x\"]");
    EXPECT_EQ(both.m_strOutputFile, "b.x");
    CLinkerModel neither("");
    EXPECT_EQ(neither.m_strOutputFile, "$(CONFIGDIR)\\$(PROJECTNAME).x");
    ExpectFixedPoint("[S|OUTPUT|\"/work/cfg/app.x\"]");
}
