#include <gtest/gtest.h>

#include "models/assembler_model.h"

namespace quorle::models {
namespace {

TEST(AssemblerModel, DefaultsAndFamilyFromCpuTypeOnly) {
    AssemblerModel m("");
    EXPECT_EQ(m.Write(), "[V|VERSION|2] [I|DEBUGLV|2] [S|OBJPATH|\"$(CONFIGDIR)\\$(FILELEAF)\"]");
    EXPECT_EQ(m.endian_, 2);
    EXPECT_EQ(m.debugLevel_, 2);
    EXPECT_EQ(m.ObjectFile(), "$(CONFIGDIR)\\$(FILELEAF).o");
    EXPECT_EQ(m.ListFile(), "$(CONFIGDIR)\\$(FILELEAF).lis");

    // A family key sets its flag but not the family.
    AssemblerModel flags("[B|MRELAX|1] [B|HMINT32|1] [B|RMUSECONV|1]");
    EXPECT_EQ(flags.familyCode_, 105);
    EXPECT_TRUE(flags.targetFlags_[1]);
    EXPECT_TRUE(flags.targetFlags_[5]);
    EXPECT_TRUE(flags.targetFlags_[7]);
    AssemblerModel cpu("[S|CPUTYPE|TM32C]");
    EXPECT_EQ(cpu.familyCode_, 103);
    EXPECT_EQ(cpu.cpuType_, 2);
}

TEST(AssemblerModel, ZentaCpuSelectionReadsAnyNamedModel) {
    EXPECT_TRUE(AssemblerModel("[S|CPU|ZN610]").targetFlags_[0]);
    EXPECT_TRUE(AssemblerModel("[S|CPU|Something]").targetFlags_[0]);
    EXPECT_FALSE(AssemblerModel("[S|CPU|ZN610] [S|CPU|Other]").targetFlags_[0]);
    AssemblerModel z("[S|CPUTYPE|ZN600] [S|CPU|ZN610] [B|RMPID|1]");
    EXPECT_NE(z.Write().find("[S|CPU|ZN610] [B|RMPID|1]"), std::string::npos);
}

TEST(AssemblerModel, AssignmentsAreWrittenByContentWithQuotedOnesFirst) {
    AssemblerModel m("[S|ASSIGNA|A=1|B=2] [S|ASSIGNC|C=\"x\"]");
    ASSERT_EQ(m.assigns_, (std::vector<std::string>{"A=1", "B=2", "C=\"x\""}));
    std::string s = m.Write();
    EXPECT_NE(s.find("[S|ASSIGNC|\"C=\"\"x\"\"\"] [S|ASSIGNA|A=1|B=2]"), std::string::npos) << s;
    AssemblerModel back(s);
    EXPECT_EQ(back.assigns_, (std::vector<std::string>{"C=\"x\"", "A=1", "B=2"}));

    // An empty string assignment and one with a blank survive the round trip.
    AssemblerModel tricky("");
    tricky.assigns_ = {"E=\"\"", "F=\"a b\""};
    EXPECT_EQ(AssemblerModel(tricky.Write()).assigns_, tricky.assigns_);
}

TEST(AssemblerModel, WritesOnlySetFieldsAndKeepsUnusedOnes) {
    const std::string in = "[S|CPUTYPE|CV2] [S|ENDIAN|LITTLE] [S|ROUND|NEAREST] "
                           "[B|DENORMALIZE|0] [S|INCODE|SJIS] [S|OUTCODE|EUC] [S|DISPSIZE|12] "
                           "[B|ERRORPATH|1] [B|CHGINCPATH|1] [S|PROJECTTYPE|LIBPROJECT] "
                           "[I|RMINTREGVAL|7] [B|SHOWDEF|1] [B|CROSSREF|1]";
    AssemblerModel m(in);
    EXPECT_EQ(m.round_, 1);
    EXPECT_EQ(m.denormal_, 0);
    EXPECT_EQ(m.inCode_, 1);
    EXPECT_EQ(m.projectType_, 2);
    EXPECT_EQ(m.show_[1], 1);
    std::string s = m.Write();
    for (const char* token :
         {"[S|CPUTYPE|CV2]", "[S|ENDIAN|LITTLE]", "[S|ROUND|NEAREST]", "[B|DENORMALIZE|0]",
          "[S|INCODE|SJIS]", "[S|OUTCODE|EUC]", "[S|DISPSIZE|12]", "[B|ERRORPATH|1]",
          "[B|CHGINCPATH|1]", "[S|PROJECTTYPE|LIBPROJECT]", "[I|RMINTREGVAL|7]", "[B|SHOWDEF|1]",
          "[B|CROSSREF|1]"})
        EXPECT_NE(s.find(token), std::string::npos) << token;
    EXPECT_EQ(AssemblerModel(s), m);
}

TEST(AssemblerModel, ObjectNameKeepsAnExtensionOfItsOwn) {
    EXPECT_EQ(AssemblerModel("[S|OBJPATH|\"out\\a.obj\"]").ObjectFile(), "out\\a.obj");
    EXPECT_EQ(AssemblerModel("[S|OBJPATH|\"a\"]").ObjectFile(), "a.o");
    EXPECT_EQ(AssemblerModel("[S|LFILE|\"d/x\"]").ListFile(), "d/x.lis");
}

} // namespace
} // namespace quorle::models
