#include <gtest/gtest.h>

#include "models/assembler_model.h"

namespace quorle::models {
namespace {

TEST(AssemblerModel, DefaultsAndFamilyFromCpuTypeOnly) {
    CAssemblerModel m("");
    EXPECT_EQ(m.Write(), "[V|VERSION|2] [I|DEBUGLV|2] [S|OBJPATH|\"$(CONFIGDIR)\\$(FILELEAF)\"]");
    EXPECT_EQ(m.m_nEndian, 2);
    EXPECT_EQ(m.m_nDebugLevel, 2);
    EXPECT_EQ(m.ObjectFile(), "$(CONFIGDIR)\\$(FILELEAF).o");
    EXPECT_EQ(m.ListFile(), "$(CONFIGDIR)\\$(FILELEAF).lis");

    // A family key sets its flag but not the family.
    CAssemblerModel flags("[B|MRELAX|1] [B|HMINT32|1] [B|RMUSECONV|1]");
    EXPECT_EQ(flags.m_nFamilyCode, 105);
    EXPECT_TRUE(flags.m_aTargetFlags[1]);
    EXPECT_TRUE(flags.m_aTargetFlags[5]);
    EXPECT_TRUE(flags.m_aTargetFlags[7]);
    CAssemblerModel cpu("[S|CPUTYPE|TM32C]");
    EXPECT_EQ(cpu.m_nFamilyCode, 103);
    EXPECT_EQ(cpu.m_nCpuType, 2);
}

TEST(AssemblerModel, ZentaCpuSelectionReadsAnyNamedModel) {
    EXPECT_TRUE(CAssemblerModel("[S|CPU|ZN610]").m_aTargetFlags[0]);
    EXPECT_TRUE(CAssemblerModel("[S|CPU|Something]").m_aTargetFlags[0]);
    EXPECT_FALSE(CAssemblerModel("[S|CPU|ZN610] [S|CPU|Other]").m_aTargetFlags[0]);
    CAssemblerModel z("[S|CPUTYPE|ZN600] [S|CPU|ZN610] [B|RMPID|1]");
    EXPECT_NE(z.Write().find("[S|CPU|ZN610] [B|RMPID|1]"), std::string::npos);
}

TEST(AssemblerModel, AssignmentsAreWrittenByContentWithQuotedOnesFirst) {
    CAssemblerModel m("[S|ASSIGNA|A=1|B=2] [S|ASSIGNC|C=\"x\"]");
    ASSERT_EQ(m.m_lstAssigns, (std::vector<std::string>{"A=1", "B=2", "C=\"x\""}));
    std::string s = m.Write();
    EXPECT_NE(s.find("[S|ASSIGNC|\"C=\"\"x\"\"\"] [S|ASSIGNA|A=1|B=2]"), std::string::npos) << s;
    CAssemblerModel back(s);
    EXPECT_EQ(back.m_lstAssigns, (std::vector<std::string>{"C=\"x\"", "A=1", "B=2"}));

    // An empty string assignment and one with a blank survive the round trip.
    CAssemblerModel tricky("");
    tricky.m_lstAssigns = {"E=\"\"", "F=\"a b\""};
    EXPECT_EQ(CAssemblerModel(tricky.Write()).m_lstAssigns, tricky.m_lstAssigns);
}

TEST(AssemblerModel, WritesOnlySetFieldsAndKeepsUnusedOnes) {
    const std::string in = "[S|CPUTYPE|CV2] [S|ENDIAN|LITTLE] [S|ROUND|NEAREST] "
                           "[B|DENORMALIZE|0] [S|INCODE|SJIS] [S|OUTCODE|EUC] [S|DISPSIZE|12] "
                           "[B|ERRORPATH|1] [B|CHGINCPATH|1] [S|PROJECTTYPE|LIBPROJECT] "
                           "[I|RMINTREGVAL|7] [B|SHOWDEF|1] [B|CROSSREF|1]";
    CAssemblerModel m(in);
    EXPECT_EQ(m.m_nRound, 1);
    EXPECT_EQ(m.m_nDenormal, 0);
    EXPECT_EQ(m.m_nInCode, 1);
    EXPECT_EQ(m.m_nProjectType, 2);
    EXPECT_EQ(m.m_aShow[1], 1);
    std::string s = m.Write();
    for (const char* token :
         {"[S|CPUTYPE|CV2]", "[S|ENDIAN|LITTLE]", "[S|ROUND|NEAREST]", "[B|DENORMALIZE|0]",
          "[S|INCODE|SJIS]", "[S|OUTCODE|EUC]", "[S|DISPSIZE|12]", "[B|ERRORPATH|1]",
          "[B|CHGINCPATH|1]", "[S|PROJECTTYPE|LIBPROJECT]", "[I|RMINTREGVAL|7]", "[B|SHOWDEF|1]",
          "[B|CROSSREF|1]"})
        EXPECT_NE(s.find(token), std::string::npos) << token;
    EXPECT_EQ(CAssemblerModel(s), m);
}

TEST(AssemblerModel, ObjectNameKeepsAnExtensionOfItsOwn) {
    EXPECT_EQ(CAssemblerModel("[S|OBJPATH|\"out\\a.obj\"]").ObjectFile(), "out\\a.obj");
    EXPECT_EQ(CAssemblerModel("[S|OBJPATH|\"a\"]").ObjectFile(), "a.o");
    EXPECT_EQ(CAssemblerModel("[S|LFILE|\"d/x\"]").ListFile(), "d/x.lis");
}

} // namespace
} // namespace quorle::models
