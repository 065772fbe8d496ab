// Linker option strings that an earlier writer lost or corrupted: each must
// read back to the model it was written from, and a second save must write
// the same bytes.
#include <gtest/gtest.h>

#include <string>

#include "interface/quorle.h"
#include "models/linker_model.h"
#include "sections/layout_tree.h"

using quorle::models::LinkerModel;
namespace models = quorle::models;
namespace sections = quorle::sections;

namespace {

bool SameModel(const LinkerModel& a, const LinkerModel& b) {
    return static_cast<const models::LinkerFields&>(a) ==
               static_cast<const models::LinkerFields&>(b) &&
           a.Carried() == b.Carried();
}

// The string the optimisation rewrite hands back, as a host receives it.
std::string RewriteThroughExport(const std::string& options) {
    std::string buffer(options.size() * 2 + 4096, '\0');
    int32_t length = static_cast<int32_t>(buffer.size());
    EXPECT_EQ(GetOptimisationOptions("GNU Linker", options.c_str(), 2, buffer.data(), &length), 0);
    return std::string(buffer.c_str());
}

void ExpectFixedPoint(const std::string& optionString) {
    LinkerModel first(optionString);
    std::string written = first.Serialize();
    LinkerModel second(written);
    EXPECT_TRUE(SameModel(first, second)) << written;
    EXPECT_EQ(second.Serialize(), written);
}

} // namespace

TEST(HostileStrings, SectionFileNameWithABlankKeepsTheLayout) {
    LinkerModel model;
    sections::SectionGroup group;
    group.name = ".text";
    group.placement = sections::kFixedAddress;
    group.placementText = "0x1000";
    group.contents = {sections::SectionItem(".text", {"C:\\My Project\\a.o", "All-files"}),
                      sections::LabelItem("_end")};
    model.layout_.groups = {group};
    model.layout_.regions = {{"my ram", 1, "0x0", "0xFF"}};
    std::string written = model.Serialize();
    LinkerModel back(written);
    EXPECT_EQ(back.layout_, model.layout_) << written;
    EXPECT_TRUE(back.Carried().empty()) << written;
    EXPECT_EQ(back.Serialize(), written);
}

TEST(HostileStrings, AStrayQuoteNeitherGrowsNorSwallowsTokens) {
    const std::string hostile = "[S|;CHECKDEVICE|RAM\"] [B|X|1]\"";
    std::string once = RewriteThroughExport(hostile);
    std::string twice = RewriteThroughExport(once);
    EXPECT_EQ(twice, once);
    EXPECT_EQ(RewriteThroughExport(twice), once);
    // The writer's own tokens after the check areas are read back as such.
    LinkerModel back(once);
    EXPECT_EQ(back.projectType_, 0);
    EXPECT_NE(once.find(" [S|PROJECTTYPE|CAPPPROJECT] [B|DOOPTLIB|0] [B|DOPROJBUILT|0]"),
              std::string::npos)
        << once;
    ExpectFixedPoint(hostile);
    // An unknown token with one quote swallows nothing once saved.
    ExpectFixedPoint("[S|ZZZ|a\"b [B|LTO|1] [S|MEMDET|r|1|0|F|*]");
    LinkerModel odd("[S|ZZZ|a\"b [B|LTO|1]");
    std::string saved = odd.Serialize();
    LinkerModel withSwitch(saved + " [B|LTO|1]");
    EXPECT_TRUE(withSwitch.lto_) << saved;
}

TEST(HostileStrings, MalformedUnknownTokensKeepTheirPlace) {
    const std::string hostile = "[[x] [S|MEMDET|r|1|0|F|*] ab [] [y]] [S|GROUPDET|] [q\"]";
    LinkerModel model(hostile);
    ASSERT_EQ(model.layout_.regions.size(), 1u);
    std::string written = model.Serialize();
    ExpectFixedPoint(hostile);
    ExpectFixedPoint(written);
    // Unknown tokens come back last, in arrival order, each one token.
    LinkerModel back(written);
    EXPECT_EQ(back.Carried(), model.Carried());
    EXPECT_EQ(back.layout_.regions, model.layout_.regions);
}

TEST(HostileStrings, KeysTheWriterOnceDroppedSurviveASave) {
    ExpectFixedPoint("[S|OTHERVIA|\"-opt a\"] [S|CRC|CCITT|FFFF|0-F] [S|PLMFILE|\"C:\\m\\x.map\"]");
    LinkerModel model("[S|OTHERVIA|\"-opt a\"] [S|CRC|CCITT|FFFF|0-F]");
    LinkerModel back(model.Serialize());
    EXPECT_EQ(back.otherVia_, "-opt a");
    EXPECT_EQ(back.crcType_, 1);
    EXPECT_EQ(back.crcAddress_, "FFFF");
    ASSERT_EQ(back.crcRanges_.size(), 1u);
}

// The default option strings name the output under OUTPUT: with no OUTFILE
// that path is the output, so the model's placeholder default is not used.
TEST(HostileStrings, OutputKeyOfTheDefaultsNamesTheOutput) {
    LinkerModel model("[V|VERSION|2] [S|OUTPUT|\"/work/cfg/app.x\"]");
    EXPECT_EQ(model.outputFile_, "/work/cfg/app.x");
    LinkerModel both("[S|OUTFILE|\"b.x\"] [S|OUTPUT|\"a.x\"]");
    EXPECT_EQ(both.outputFile_, "b.x");
    LinkerModel neither("");
    EXPECT_EQ(neither.outputFile_, "$(CONFIGDIR)\\$(PROJECTNAME).x");
    ExpectFixedPoint("[S|OUTPUT|\"/work/cfg/app.x\"]");
}
