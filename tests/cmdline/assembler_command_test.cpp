#include <gtest/gtest.h>

#include "cmdline/assembler_command.h"

namespace quorle::cmdline {
namespace {

using models::AssemblerModel;

const char kObject[] = "-o \"$(CONFIGDIR)\\$(FILELEAF).o\"\n";

std::string Args(std::string_view options) {
    return BuildAssemblerArguments(AssemblerModel(options));
}

TEST(AssemblerArguments, DefaultsGiveDebugAndObjectOnly) {
    const std::string expected = std::string("--gdwarf2\n") + kObject;
    EXPECT_EQ(Args(""), expected);
    EXPECT_EQ(Args("[V|VERSION|2] [S|CPUTYPE|PK2]"), expected);
    EXPECT_EQ(Args("[S|CPUTYPE|TM16A] [S|ENDIAN|LITTLE]"), expected);
    EXPECT_EQ(Args("[S|CPUTYPE|NOSUCH] [S|ENDIAN|LITTLE] [B|MMORVATH|1]"), expected);
    EXPECT_EQ(BuildAssemblerArguments(AssemblerModel(""), true), expected);
}

TEST(AssemblerArguments, ZentaTargetArguments) {
    EXPECT_EQ(Args("[S|CPUTYPE|ZN600]"), std::string("--m32bit-doubles\n--gdwarf2\n") + kObject);
    EXPECT_EQ(Args("[S|CPUTYPE|ZN600] [B|RMDOUBLE64|1] [S|ENDIAN|LITTLE] [B|RMPID|1] "
                   "[B|RMRELAX|1] [B|RMUSECONV|1] [B|RMMAXVARSVAL|1] [B|RNOFPU|1] [B|RMQASM|1]"),
              std::string("--mlittle-endian-data\n--mpid\n--m64bit-doubles\n-relax\n"
                          "--muse-conventional-section-names\n--msmall-data-limit\n--gdwarf2\n") +
                  kObject);
    EXPECT_NE(Args("[S|CPUTYPE|ZN200] [S|ENDIAN|BIG]").find("--mbig-endian-data\n"),
              std::string::npos);
}

TEST(AssemblerArguments, CorvoEndianAndMorvath) {
    EXPECT_EQ(Args("[S|CPUTYPE|CV1] [S|ENDIAN|LITTLE] [B|MMORVATH|1] [S|ROUND|ZERO]"),
              std::string("-little\n-morvath\n--gdwarf2\n") + kObject);
    EXPECT_EQ(Args("[S|CPUTYPE|CV1] [S|ENDIAN|BIG]").find("-little"), std::string::npos);
}

TEST(AssemblerArguments, IncludesDefinitionsAndAssignments) {
    std::string s = Args("[S|INCDIR|\"a dir\"|\"b\"] [S|DEFINES|X=1|Y] "
                         "[S|ASSIGNA|P=1] [S|ASSIGNC|\"Q=\"\"s\"\"\"] [S|ASSIGNA|R=2]");
    EXPECT_EQ(s, std::string("-I \"a dir\"\n-I \"b\"\n--defsym X=1\n--defsym Y\n-assigna=P=1\n"
                             "-assignc=Q=\"s\"\n-assigna=R=2\n--gdwarf2\n") +
                     kObject);
    // The key that carried an assignment does not matter, its content does.
    EXPECT_NE(Args("[S|ASSIGNC|S=1]").find("-assigna=S=1\n"), std::string::npos);
}

TEST(AssemblerArguments, DebugObjectListingSwitchesAndExtra) {
    std::string s = Args("[I|DEBUGLV|1] [I|GENOBJ|1] [I|FOLDSEC|1] [S|OBJPATH|\"obj\\x\"] "
                         "[B|LOUTLIST|1] [B|LINCASS|1] [B|LINCHLS|1] [S|LFILE|\"l\\y.txt\"] "
                         "[B|DSPSUPPORT|1] [B|SWMESS|1] [B|STATS|1] "
                         "[S|APPTXT|\"--a  --b \"\"c d\"\"\"]");
    EXPECT_EQ(s, "--gstabs\n-Z\n-R\n-o \"obj\\x.o\"\n-a"
                 "lh=\"l\\y.txt\"\n-W\n--statistics\n"
                 "--a\n--b\n\"c d\"\n");
    EXPECT_NE(Args("[S|CPUTYPE|CV1] [B|DSPSUPPORT|1]").find("-dsp\n"), std::string::npos);
    EXPECT_EQ(Args("[I|DEBUGLV|0]"), kObject);
    EXPECT_EQ(Args("[B|LOUTLIST|1]"),
              std::string("--gdwarf2\n") + kObject + "-a=\"$(CONFIGDIR)\\$(FILELEAF).lis\"\n");
}

TEST(AssemblerArguments, MakefileForm) {
    PathWriter rewrite = [](std::string_view p) { return "\"=" + std::string(p) + "\""; };
    AssemblerModel off("[S|INCDIR|\"i\"] [S|DEFINES|D] [S|ASSIGNA|A=1] [I|DEBUGLV|1]");
    EXPECT_EQ(BuildAssemblerMakefileArguments(off, rewrite),
              "-include=\"=i\"\n-define=D\n-assigna=A=1\n-debug\n"
              "-object=\"=$(CONFIGDIR)\\$(FILELEAF).o\"\n-nolist\n-nologo\n");

    AssemblerModel on("[B|LOUTLIST|1] [B|SOURCE|1] [B|SHOWCOND|1] [B|SHOWCALL|1] "
                      "[B|SHOWCODE|0] [B|SHOWTAB|1] [B|CROSSREF|0] [B|LSECTION|1] [B|SWMESS|1]");
    EXPECT_EQ(BuildAssemblerMakefileArguments(on, rewrite),
              "-nodebug\n-object=\"=$(CONFIGDIR)\\$(FILELEAF).o\"\n"
              "-list=\"=$(CONFIGDIR)\\$(FILELEAF).lis\"\n-source\n"
              "-show=(conditionals,calls,tab=4)\n-noshow=(code,tab=4)\n-nocross_reference\n"
              "-section\n-nologo\n-W\n");

    // A single word needs no parentheses; "do not list the source" drops the show settings.
    AssemblerModel one("[B|LOUTLIST|1] [B|SHOWEXP|0]");
    EXPECT_NE(BuildAssemblerMakefileArguments(one, rewrite).find("\n-noshow=expansions\n"),
              std::string::npos);
    AssemblerModel nosource("[B|LOUTLIST|1] [B|SOURCE|0] [B|SHOWEXP|0]");
    std::string text = BuildAssemblerMakefileArguments(nosource, rewrite);
    EXPECT_NE(text.find("\n-nosource\n"), std::string::npos);
    EXPECT_EQ(text.find("show"), std::string::npos);
}

} // namespace
} // namespace quorle::cmdline
