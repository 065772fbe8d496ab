#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "cmdline/generator_command.h"
#include "platform/platform.h"
#include "support/temp_dir.h"

namespace quorle::cmdline {
namespace {

using models::GeneratorModel;

std::string Text(std::string_view options) {
    return BuildGeneratorSubcommand(GeneratorModel(options));
}

const char kTail[] = "--output=\"$(CONFIGDIR)\\lib$(PROJECTNAME).a\"\n--select-lib=newlib\n"
                     "--header-files=\n";

TEST(GeneratorSubcommand, Defaults) {
    EXPECT_EQ(Text(""), std::string("--compiler-options=-O2\n") + kTail);
    EXPECT_EQ(Text("[B|OPTIMIZE|0]"), std::string("--compiler-options=\n") + kTail);
    EXPECT_EQ(Text("[B|DOPROJBUILT|0]"), "");
}

TEST(GeneratorSubcommand, HeaderGroupsAndLibrary) {
    EXPECT_NE(Text("[B|CTYPE|1] [B|MATH|1] [B|STDIO|1] [B|STDLIB|1] [B|STRING|1]")
                  .find("\n--header-files=all\n"),
              std::string::npos);
    EXPECT_NE(Text("[B|STRING|1] [B|MATH|1] [B|DOOPTLIB|1]")
                  .find("--select-lib=optlib\n--header-files=math,string\n"),
              std::string::npos);
}

TEST(GeneratorSubcommand, CompilerOptionGroups) {
    EXPECT_EQ(Text("[S|CPUTYPE|PK3M] [B|HMRELAX|1] [I|OPTTYPE|1] [B|FSCHAR|1] [B|UNDEF|1] "
                   "[S|APPTXTCMP|\"-DA -DB\"]"),
              std::string("--compiler-options=-mpk3,-mpkmac,-mrelax,-Os,-fdata-sections,"
                          "-ffunction-sections,-falign-jumps,-fno-function-cse,"
                          "-funit-at-a-time,-fsigned-char,-undef,-DA,-DB\n") +
                  kTail);
    EXPECT_NE(Text("[I|OPTTYPE|0]")
                  .find("=-O3,-fno-function-cse,-funit-at-a-time,"
                        "-funroll-loops,-fno-gcse\n"),
              std::string::npos);
    // The first ",," is reduced to one comma.
    EXPECT_NE(Text("[B|OPTIMIZE|0] [S|APPTXTCMP|\"-a, -b\"]").find("=-a,-b\n"), std::string::npos);
}

TEST(GeneratorSubcommand, ZentaCompilerAndAssemblerOptions) {
    std::string s = Text("[S|CPUTYPE|ZN600]");
    EXPECT_EQ(s, std::string("--compiler-options=-mcpu=zn600,-mbig-endian-data,"
                             "-mint-register=0,-O2\n"
                             "--assembler-options=--mbig-endian-data,--m32bit-doubles\n") +
                     kTail);
    std::string full = Text("[S|CPUTYPE|ZN200] [S|ENDIAN|LITTLE] [B|RMPID|1] [B|RMDOUBLE64|1] "
                            "[B|RMRELAX|1] [B|RMUSECONV|1] [B|RMMAXVARSVAL|1] "
                            "[I|RMMAXVARSVAL|8] [I|RMINTREGVAL|5] [B|OPTIMIZE|0] "
                            "[S|APPTXTASM|\"-x\"]");
    EXPECT_EQ(full, std::string("--compiler-options=-mcpu=zn200,-mlittle-endian-data,-mpid,"
                                "-m64bit-doubles,-mrelax,-msmall-data-limit=8\n"
                                "--assembler-options=--mlittle-endian-data,--mpid,"
                                "--m64bit-doubles,-relax,--muse-conventional-section-names,"
                                "--msmall-data-limit,-x\n") +
                        kTail);
    // Other families get the line only for user assembler options.
    EXPECT_NE(
        Text("[S|CPUTYPE|CV1] [S|APPTXTASM|\"-y  -z\"]").find("\n--assembler-options=-y,-z\n"),
        std::string::npos);
    EXPECT_EQ(Text("[S|CPUTYPE|CV1]").find("assembler"), std::string::npos);
}

TEST(GeneratorSubcommand, MakefileTextKeepsOnlyUserAssemblerOptions) {
    GeneratorModel m("[S|CPUTYPE|ZN600] [S|APPTXTASM|\"-q\"]");
    PathWriter rewrite = [](std::string_view p) { return "'" + std::string(p) + "'"; };
    EXPECT_EQ(BuildGeneratorMakefileText(m, rewrite),
              "--compiler-options=-mcpu=zn600,-mbig-endian-data,-mint-register=0,-O2\n"
              "--assembler-options=-q\n--output='$(CONFIGDIR)\\lib$(PROJECTNAME).a'\n"
              "--select-lib=newlib\n--header-files=\n");
}

TEST(GeneratorModel, ReadWriteOrderAndFirstModeWins) {
    GeneratorModel m("[S|MODE|BUILD] [S|MODE|BUILD/CHANGED] [B|GLOBAL_VOLATILE|1] "
                     "[I|GV_LEVEL|3] [S|OPT_RANGE|NOLOOP] [B|STDIO|1] [B|RXDISABLEPREBUILT|1] "
                     "[B|FFMATH|1] [S|APPTXTCMP|\"-a\"] [S|APPTXTCMP|\"-b\"] [B|MAPBATCH|1]");
    EXPECT_EQ(m.mode_, models::kGenModeAlways);
    EXPECT_EQ(m.userCompiler_, "-b");
    EXPECT_EQ(m.Write(),
              "[V|VERSION|2] [S|MODE|BUILD] [B|STDIO|1] [B|DOPROJBUILT|1] [B|DOOPTLIB|0] "
              "[B|RXDISABLEPREBUILT|1] [S|OUTPUTPATH|\"$(CONFIGDIR)\\lib$(PROJECTNAME).a\"] "
              "[B|OPTIMIZE|1] [I|OPTTYPE|2] [B|FFMATH|1] [S|APPTXTCMP|\"-b\"] [S|ENDIAN|BIG] "
              "[B|MAPBATCH|1]");
    GeneratorModel z("[S|CPUTYPE|ZN200] [S|CPU|ZN610] [B|RMMAXVARSVAL|1]");
    EXPECT_NE(z.Write().find("[S|CPUTYPE|ZN200] [S|ENDIAN|BIG] [S|CPU|ZN610] [I|RMINTREGVAL|0] "
                             "[I|RMMAXCONSTVAL|0] [B|RMMAXVARSVAL|1] [I|RMMAXVARSVAL|0]"),
              std::string::npos);
}

class GeneratorPrePhaseTest : public ::testing::Test {
  protected:
    quorle::testing_support::TempDir temp_{"quorle-gen"};
    std::filesystem::path dir_ = temp_.Root();
};

TEST_F(GeneratorPrePhaseTest, BuildOnlyWhenOptionsChange) {
    const std::string lib = (dir_ / "lib my proj.a").string();
    GeneratorModel m("[S|OUTPUTPATH|\"" + lib + "\"]");
    EXPECT_EQ(GeneratorSubcommandFileName(lib), "lib~my~proj.glg");

    GeneratorPrePhase first = DecideGeneratorPrePhase(m, dir_.string());
    EXPECT_TRUE(first.run);
    EXPECT_EQ(first.subcommandPath, dir_.string() + "\\lib~my~proj.glg");
    EXPECT_EQ(first.text, BuildGeneratorSubcommand(m));
    ASSERT_TRUE(platform::WriteFile(first.subcommandPath, first.text, true));

    // No archive yet: it runs again.
    EXPECT_TRUE(DecideGeneratorPrePhase(m, dir_.string()).run);
    ASSERT_TRUE(platform::WriteFile(lib, "!<arch>\n", false));
    EXPECT_FALSE(DecideGeneratorPrePhase(m, dir_.string()).run);

    // Changed options, or the "every time" mode, run it.
    GeneratorModel changed("[S|OUTPUTPATH|\"" + lib + "\"] [B|MATH|1]");
    EXPECT_TRUE(DecideGeneratorPrePhase(changed, dir_.string()).run);
    GeneratorModel always("[S|MODE|BUILD] [S|OUTPUTPATH|\"" + lib + "\"]");
    EXPECT_TRUE(DecideGeneratorPrePhase(always, dir_.string()).run);

    // Deleting the archive makes it run again.
    ASSERT_TRUE(platform::DeleteFile(lib));
    EXPECT_TRUE(DecideGeneratorPrePhase(m, dir_.string()).run);
}

TEST_F(GeneratorPrePhaseTest, LibraryNotBuiltMeansNothingToDo) {
    GeneratorModel m("[B|DOPROJBUILT|0]");
    GeneratorPrePhase d = DecideGeneratorPrePhase(m, dir_.string());
    EXPECT_FALSE(d.run);
    EXPECT_TRUE(d.text.empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir_));
}

} // namespace
} // namespace quorle::cmdline
