#include <gtest/gtest.h>

#include "cmdline/command_text.h"
#include "cmdline/compiler_command.h"

namespace quorle::cmdline {
namespace {

using models::CompilerModel;

const char kSource[] = "\"C:\\src\\main.c\"";

std::string Command(std::string_view options, std::string_view fileType = "C source file") {
    return BuildCompilerCommand(CompilerModel(fileType, options), kSource);
}

bool HasLine(const std::string& text, std::string_view line) {
    return ("\n" + text).find("\n" + std::string(line) + "\n") != std::string::npos;
}

TEST(CompilerCommand, DefaultCModel) {
    EXPECT_EQ(Command(""),
              "-c -x c\n-O2\n\"C:\\src\\main.c\"\n-g\n-g3\n-o \"$(CONFIGDIR)\\$(FILELEAF).o\"\n");
}

TEST(CompilerCommand, LanguageLines) {
    EXPECT_EQ(Command("", "C++ source file").substr(0, 10), "-c -x c++\n");
    EXPECT_EQ(Command("", "Preprocess Assembly file").substr(0, 25), "-c -x assembler-with-cpp\n");
}

TEST(CompilerCommand, WarningsWithInhibitGiveOnlyTheInhibitLine) {
    std::string all = Command("[B|WALL|1] [B|WSHADOW|1]");
    EXPECT_TRUE(HasLine(all, "-Wall"));
    EXPECT_TRUE(HasLine(all, "-Wshadow"));

    std::string inhibited = Command("[B|WALL|1] [B|WSHADOW|1] [B|WINHIBIT|1]");
    EXPECT_TRUE(HasLine(inhibited, "-w -Wno-analyze"));
    EXPECT_FALSE(HasLine(inhibited, "-Wall"));
    EXPECT_FALSE(HasLine(inhibited, "-Wshadow"));

    std::string some = Command("[B|WCOMMENT|1] [B|WSCOMP|1] [B|PEWARN|1]");
    EXPECT_NE(some.find("-Wcomment\n-Wsign-compare\n-W\n"), std::string::npos);
    EXPECT_FALSE(HasLine(some, "-Wall"));
}

TEST(CompilerCommand, PreprocessedOutputKinds) {
    std::string kind2 = Command("[S|OUTPUT|PREPROCESSOR] [B|LTO|1]");
    EXPECT_FALSE(HasLine(kind2, "-O2"));
    EXPECT_FALSE(HasLine(kind2, "-flto"));
    EXPECT_TRUE(HasLine(kind2, "-E -o \"$(CONFIGDIR)\\$(FILELEAF).o\""));

    std::string kind3 = Command("[S|OUTPUT|PREPROCESSORNOLINE] [B|LTO|1]");
    EXPECT_NE(kind3.find("-O2\n-flto\n"), std::string::npos);
    EXPECT_TRUE(HasLine(kind3, "-P -E -o \"$(CONFIGDIR)\\$(FILELEAF).o\""));

    EXPECT_TRUE(HasLine(Command("[S|OUTPUT|ASMCODE]"), "-S -o \"$(CONFIGDIR)\\$(FILELEAF).o\""));
    // Optimisation off still passes link-time optimisation.
    std::string off = Command("[B|OPTIMIZE|0] [B|LTO|1]");
    EXPECT_FALSE(HasLine(off, "-O2"));
    EXPECT_TRUE(HasLine(off, "-flto"));
    EXPECT_TRUE(HasLine(Command("[I|OPTLV|1]"),
                        "-O3 -fno-function-cse -funit-at-a-time -funroll-loops -fno-gcse"));
    EXPECT_TRUE(HasLine(Command("[I|OPTLV|2]"),
                        "-Os -fno-function-cse -funit-at-a-time "
                        "-falign-jumps -fdata-sections -ffunction-sections"));
}

TEST(CompilerCommand, PreprocessAssemblyWithDotSRedirects) {
    CompilerModel m("Preprocess Assembly file", "[S|OBJPATH|\"out\\x.S\"]");
    EXPECT_TRUE(HasLine(BuildCompilerCommand(m, kSource), "-S > \"out\\x.S\""));
    CompilerModel c("C source file", "[S|OBJPATH|\"out\\x.s\"]");
    EXPECT_TRUE(HasLine(BuildCompilerCommand(c, kSource), "-o \"out\\x.s\""));
}

TEST(CompilerCommand, ListingLetters) {
    std::string none = Command("[B|LOUTLIST|1]");
    EXPECT_TRUE(HasLine(none, "-Wa,-a=\"$(CONFIGDIR)\\$(FILELEAF).lst\""));
    std::string letters = Command("[B|LOUTLIST|1] [B|LOMITFP|1] [B|LINCASS|1] [B|LINCHLS|1] "
                                  "[B|LINCSYM|1] [B|LOMITDD|1]");
    EXPECT_TRUE(HasLine(letters, "-Wa,-alshdn=\"$(CONFIGDIR)\\$(FILELEAF).lst\""));
    // Contents without listing give nothing.
    EXPECT_EQ(Command("[B|LINCASS|1]").find("-Wa,-a"), std::string::npos);
}

TEST(CompilerCommand, ZentaNumbersAndFlags) {
    std::string plain = Command("[S|CPUTYPE|ZN600]");
    EXPECT_EQ(plain, "-c -x c\n-mcpu=zn600\n-mbig-endian-data\n-mint-register=0\n-O2\n"
                     "\"C:\\src\\main.c\"\n-g\n-g3\n-o \"$(CONFIGDIR)\\$(FILELEAF).o\"\n");
    EXPECT_EQ(plain.find("-mmax-constant-size"), std::string::npos);

    std::string full = Command("[S|CPUTYPE|ZN200] [S|ENDIAN|LITTLE] [S|CPU|ZN610] [B|RNOFPU|1] "
                               "[B|RMUSECONV|1] [I|RMINTREGVAL|5] [I|RMMAXCONSTVAL|2] "
                               "[B|RMMAXVARSVAL|1] [I|RMMAXVARSVAL|16]");
    EXPECT_NE(full.find("-mcpu=zn610\n-mlittle-endian-data\n-nofpu\n"
                        "-Wa,--muse-conventional-section-names\n-mmax-constant-size=2\n"
                        "-msmall-data-limit=16\n"),
              std::string::npos)
        << full;
    EXPECT_EQ(full.find("-mint-register"), std::string::npos);
}

TEST(CompilerCommand, CorvoByteOrderOnlyWhereTheRowAllowsAChoice) {
    EXPECT_NE(Command("[S|CPUTYPE|CV2] [S|ENDIAN|LITTLE]").find("-mcv2\n-ml\n"), std::string::npos);
    EXPECT_NE(Command("[S|CPUTYPE|CV4X-DSP]").find("-mcv4x-dsp\n-mb\n"), std::string::npos);
    std::string fixed = Command("[S|CPUTYPE|CV1] [S|ENDIAN|LITTLE] [B|MALIGN|1] [B|MSPACE|1]");
    EXPECT_NE(fixed.find("-mcv1\n-mdalign\n-mspace\n"), std::string::npos);
    EXPECT_FALSE(HasLine(fixed, "-ml"));
    EXPECT_FALSE(HasLine(fixed, "-mb"));
}

TEST(CompilerCommand, PelkaAndTamsinTargetFlags) {
    EXPECT_NE(Command("[S|CPUTYPE|PK3M] [B|HMNORMAL|1] [B|HMINT32|1]")
                  .find("-c -x c\n-mpk3 -mpkmac\n-mn\n-mint32\n"),
              std::string::npos);
    EXPECT_EQ(Command("[S|CPUTYPE|PK1]").substr(0, 12), "-c -x c\n-O2\n");
    EXPECT_NE(Command("[S|CPUTYPE|TM16C]").find("\n-mcpu=tm16\n"), std::string::npos);
    EXPECT_NE(Command("[S|CPUTYPE|TM32C]").find("\n-mcpu=tm32b\n"), std::string::npos);
}

TEST(CompilerCommand, SourceFlags) {
    std::string s = Command("[S|INCDIR|\"a\"|\"b b\"|\"c\"] [S|PREINCLUDE|\"p1.h\"|\"p2.h\"] "
                            "[S|DEFINES|A=1|B] [S|FILE_INLINE_PATH|\"i1\"|\"i2\"]");
    EXPECT_NE(s.find("-I \"a\"\n-I \"b b\"\n-I \"c\"\n-preinclude=\"p1.h\",\"p2.h\"\n-D A=1\n-D B\n"
                     "-file_inline_path=\"i1\",\"i2\"\n"),
              std::string::npos)
        << s;
}

// A definition or directory with a blank or a quote stays one argument in the
// argument file; all others are written exactly as before.
TEST(CompilerCommand, DefinitionsAndDirectoriesStayOneArgument) {
    std::string s = Command("[S|DEFINES|\"X -o /victim|FOO=1\"]");
    EXPECT_TRUE(HasLine(s, "-D \"X -o /victim\"")) << s;
    EXPECT_TRUE(HasLine(s, "-D FOO=1")) << s;
    EXPECT_FALSE(HasLine(s, "-D X -o /victim")) << s;
    EXPECT_EQ(QuotePath("a\"b"), "\"a\\\"b\"");
    EXPECT_EQ(QuotePath("C:\\My Dir"), "\"C:\\My Dir\"");
    EXPECT_EQ(OneArgument("FOO=a b"), "\"FOO=a b\"");
    EXPECT_EQ(OneArgument("say=\"hi\""), "\"say=\\\"hi\\\"\"");
    EXPECT_EQ(OneArgument("A=1"), "A=1");
    EXPECT_EQ(OneArgument("T=a\tb"), "\"T=a\tb\"");
}

TEST(CompilerCommand, UserOptionsWithAQuotedPhraseAfterTheInput) {
    std::string s = Command("[S|APPTXT|\"-DX=1  -DMSG=\"\"hello world\"\" -v\"] [B|ANSI|1]");
    EXPECT_NE(s.find("-ansi\n\"C:\\src\\main.c\"\n-DX=1\n-DMSG=\"hello world\"\n-v\n-g\n"),
              std::string::npos)
        << s;
}

TEST(CompilerCommand, OtherFlagsInTableOrder) {
    std::string s = Command("[B|FDATASECTS|1] [B|COMMENTS|1] [B|FFSECTS|1] [B|MBTABLE|1]");
    EXPECT_NE(s.find("-O2\n-C\n-ffunction-sections\n-mbigtable\n-fdata-sections\n"),
              std::string::npos)
        << s;
}

TEST(CompilerCommand, HostCompilerFlags) {
    std::string cpp = BuildCompilerCommand(
        CompilerModel("C++ source file", "[S|TEMPLATE|STATIC] [S|SECTION|C=CX|B=BX] "
                                         "[S|STRING|DATA] [S|ABS16|ALL] [B|IFUNC|1] "
                                         "[S|CPUTYPE|CV2E] [I|ALIGN|4] [S|ALIGN4|INMOSTLOOP] "
                                         "[S|STUFF_SECTION|DATA]"),
        kSource);
    EXPECT_NE(cpp.find("-template=static\n-g\n-g3\n-section=const=CX,bss=BX\n-string=data\n"
                       "-abs16=all\n-ifunc\n-align4=inmostloop\n-stuff=data\n-o "),
              std::string::npos)
        << cpp;
    // Templates only for C++ objects; interrupt functions only for some rows.
    std::string c = Command("[S|TEMPLATE|STATIC] [B|IFUNC|1] [S|CPUTYPE|CV1] [I|ALIGN|32] "
                            "[S|STUFF_SECTION|CONST,DATA,BSS] [S|ABS20|PROGRAM|RUN]");
    EXPECT_FALSE(HasLine(c, "-template=static"));
    EXPECT_FALSE(HasLine(c, "-ifunc"));
    EXPECT_TRUE(HasLine(c, "-align32"));
    EXPECT_TRUE(HasLine(c, "-stuff"));
    EXPECT_EQ(c.find("-abs20"), std::string::npos); // folded for the first row
    std::string row5 = Command("[S|CPUTYPE|CV2X-NF] [S|ABS20|PROGRAM|RUN] [S|ABS28|CONST]");
    EXPECT_NE(row5.find("-abs20=program,run\n-abs28=const\n"), std::string::npos) << row5;
    EXPECT_TRUE(HasLine(Command("[B|DEBUG|1] [S|DEBUGFT|stabs+] [I|DEBUGLV|1]"), "-gstabs+"));
    EXPECT_TRUE(HasLine(Command("[I|DEBUGLV|2]"), "-g2"));
    EXPECT_FALSE(HasLine(Command("[B|DEBUG|0]"), "-g"));
}

TEST(CompilerCommand, MakefileVariantOrderAndPathHook) {
    CompilerModel m("C source file", "[S|INCDIR|\"inc\"] [B|LOUTLIST|1] [B|ANSI|1] "
                                     "[S|CPUTYPE|TM32A] [S|APPTXT|\"-q\"]");
    PathWriter rewrite = [](std::string_view p) { return "<" + std::string(p) + ">"; };
    EXPECT_EQ(BuildCompilerMakefileCommand(m, kSource, rewrite),
              "-mcpu=tm32a\n-I <inc>\n-g\n-g3\n-o <$(CONFIGDIR)\\$(FILELEAF).o>\n"
              "-Wa,-a=<$(CONFIGDIR)\\$(FILELEAF).lst>\n-O2\n-ansi\n\"C:\\src\\main.c\"\n-q\n");
}

} // namespace
} // namespace quorle::cmdline
