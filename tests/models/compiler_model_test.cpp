#include <gtest/gtest.h>

#include "models/compiler_model.h"

namespace quorle::models {
namespace {

const char kDefaultC[] =
    "[V|VERSION|2] [S|OUTPUT|OBJECT] [S|OBJPATH|\"$(CONFIGDIR)\\$(FILELEAF).o\"] [B|DEBUG|1] "
    "[S|DEBUGFT|Native] [I|DEBUGLV|3] [S|ALIGN4|ALL] [B|OPTIMIZE|1] [B|LTO|0] [I|OPTLV|3] "
    "[S|ENDIAN|BIG] [S|PROJECTTYPE|CAPPPROJECT] [B|DOOPTLIB|0]";

TEST(CompilerModel, EmptyStringWritesTheDefaultTokensInOrder) {
    CompilerModel m("C source file", "");
    EXPECT_EQ(m.Write(), kDefaultC);
    EXPECT_EQ(m.cpu_.familyCode_, 105);
    EXPECT_EQ(m.OutputDirectory(), "$(CONFIGDIR)");
}

TEST(CompilerModel, LanguageComesFromTheFileTypeAndSetsExtensions) {
    EXPECT_EQ(CompilerModel::LanguageOf("C source file"), kLangC);
    EXPECT_EQ(CompilerModel::LanguageOf("C++ source file"), kLangCpp);
    EXPECT_EQ(CompilerModel::LanguageOf("Preprocess Assembly file"), kLangPreproAsm);
    EXPECT_EQ(CompilerModel::LanguageOf(""), kLangC);

    CompilerModel cpp("C++ source file", "");
    EXPECT_EQ(cpp.listPath_.ext, ".lpp");
    cpp.SetOutputKind(kOutPreprocessor);
    EXPECT_EQ(cpp.objPath_.ext, ".pp");
    EXPECT_NE(cpp.Write().find("[S|LANG|CPP]"), std::string::npos);

    // Reading the output kind alone keeps the extension.
    CompilerModel read("C++ source file", "[S|OUTPUT|PREPROCESSOR]");
    EXPECT_EQ(read.output_, kOutPreprocessor);
    EXPECT_EQ(read.objPath_.ext, ".o");

    CompilerModel c("C source file", "");
    c.SetOutputKind(kOutPreprocessorNoLine);
    EXPECT_EQ(c.objPath_.ext, ".p");
    c.SetOutputKind(kOutAsmCode);
    EXPECT_EQ(c.objPath_.ext, ".s");
    c.SetLanguage(kLangPreproAsm);
    EXPECT_EQ(c.listPath_.ext, ".lis");

    auto entry = CompilerModel::FromFileEntry("C:\\src\\a.cpp|C++ source file", "");
    EXPECT_EQ(entry.fileType_, "C++ source file");
    EXPECT_EQ(entry.language_, kLangCpp);
}

TEST(CompilerModel, WarningsAllAndGroupOne) {
    CompilerModel m("C source file", "");
    m.warn1_.fill(true);
    std::string s = m.Write();
    EXPECT_NE(s.find("[B|WALL|1]"), std::string::npos);
    EXPECT_EQ(s.find("[B|WNIMPORT|1]"), std::string::npos);
    EXPECT_EQ(s.find("[B|WSCOMP|1]"), std::string::npos);

    CompilerModel r("C source file", "[B|WALL|1] [B|WERROR|1] [B|WINHIBIT|1]");
    EXPECT_TRUE(r.AllGroup1Warnings());
    EXPECT_TRUE(r.warn2_[6]);
    EXPECT_EQ(r.wInhibit_, 1);

    r.warn1_[0] = false;
    std::string partial = r.Write();
    EXPECT_EQ(partial.find("[B|WALL|1]"), std::string::npos);
    EXPECT_NE(partial.find("[B|WCSUB|1] [B|WCOMMENT|1]"), std::string::npos);
    EXPECT_NE(partial.find("[B|WERROR|1] [B|WINHIBIT|1]"), std::string::npos);
}

TEST(CompilerModel, FunctionSectionsAliasIsDroppedAndChangesNothing) {
    CompilerModel plain("C source file", "");
    CompilerModel m("C source file", "[B|FFUNCSECTS|1]");
    EXPECT_EQ(m, plain);
    EXPECT_EQ(m.Write(), kDefaultC);
}

TEST(CompilerModel, DefinitionsReadAsListAndWriteBackUnquoted) {
    CompilerModel m("C source file", "[S|DEFINES|A=1|B]");
    ASSERT_EQ(m.defines_, (std::vector<std::string>{"A=1", "B"}));
    EXPECT_NE(m.Write().find("[S|DEFINES|A=1|B]"), std::string::npos);

    // A definition with a quote or blank makes the whole value quoted.
    m.defines_ = {"S=\"a b\"", "C"};
    std::string s = m.Write();
    EXPECT_NE(s.find("[S|DEFINES|\"S=\"\"a b\"\"|C\"]"), std::string::npos) << s;
    CompilerModel back("C source file", s);
    EXPECT_EQ(back.defines_, m.defines_);
}

TEST(CompilerModel, DebugLevelZeroTurnsDebugOff) {
    CompilerModel m("C source file", "[I|DEBUGLV|0]");
    EXPECT_EQ(m.debug_, 0);
    EXPECT_EQ(m.debugLevel_, 2);
    std::string s = m.Write();
    EXPECT_NE(s.find("[B|DEBUG|0] [S|DEBUGFT|Native] [I|DEBUGLV|3]"), std::string::npos);
}

TEST(CompilerModel, ListsAppendAcrossTokensAndScalarsKeepTheLaterValue) {
    CompilerModel m("C source file", "[S|INCDIR|\"a\"|\"b\"] [S|OUTPUT|ASMCODE] [S|INCDIR|\"c\"] "
                                     "[S|OUTPUT|OBJECT] [S|APPTXT|\"-x\"] [S|APPTXT|\"-y z\"]");
    EXPECT_EQ(m.incDirs_, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(m.output_, kOutObject);
    EXPECT_EQ(m.userOptions_, "-x -y z");
}

TEST(CompilerModel, SmallMapDoesNotReplaceFullMap) {
    CompilerModel m("C source file", "[B|MAP|1] [B|SMAP|1]");
    EXPECT_EQ(m.map_, 2);
    EXPECT_NE(m.Write().find("[B|MAP|1] [S|MAPPATH|\"$(CONFIGDIR)\\$(PROJECTNAME).bls\"]"),
              std::string::npos);
    CompilerModel s("C source file", "[B|SMAP|1]");
    EXPECT_EQ(s.map_, 1);
    EXPECT_EQ(s.Write().find("MAPPATH"), std::string::npos);
}

TEST(CompilerModel, ReadOnlyOptimiseKeysAreNeverWritten) {
    CompilerModel m("C source file", "[B|OPTIMIZEOLD|2] [B|GOPTIMIZE|1]");
    EXPECT_EQ(m.optimizeOld_, 2);
    EXPECT_EQ(m.gOptimize_, 1);
    EXPECT_EQ(m.Write(), kDefaultC);
}

TEST(CompilerModel, ZentaWritesItsNumbersEvenWhenZero) {
    CompilerModel m("C source file", "[S|CPUTYPE|ZN600]");
    EXPECT_EQ(m.cpu_.familyCode_, 104);
    std::string s = m.Write();
    EXPECT_NE(s.find("[S|CPUTYPE|ZN600] [S|ENDIAN|BIG] [S|CPU|Other] [I|RMINTREGVAL|0] "
                     "[I|RMMAXCONSTVAL|0] [I|RMMAXVARSVAL|0] [S|PROJECTTYPE|CAPPPROJECT]"),
              std::string::npos)
        << s;
    CompilerModel c("C source file", "[S|CPUTYPE|CV2] [B|RMPID|1]");
    // A family key names its family.
    EXPECT_EQ(c.cpu_.familyCode_, 104);
    CompilerModel corvo("C source file", "[S|CPUTYPE|CV2] [I|RMINTREGVAL|3]");
    EXPECT_EQ(corvo.Write().find("RMINTREGVAL"), std::string::npos);
}

TEST(CompilerModel, UnknownCpuTypeLeavesFamilyAndWritesNoCpuType) {
    CompilerModel m("C source file", "[S|CPUTYPE|NOSUCH]");
    EXPECT_EQ(m.cpu_.familyCode_, 105);
    EXPECT_EQ(m.Write().find("CPUTYPE"), std::string::npos);
}

TEST(CompilerModel, OverflowingNumbersClamp) {
    CompilerModel m("C source file",
                    "[S|CPUTYPE|ZN200] [I|RMINTREGVAL|99999999999999999999999] "
                    "[I|RMMAXCONSTVAL|-99999999999999999999] [I|RMMAXVARSVAL|x12]");
    EXPECT_EQ(m.cpu_.intRegisters_, 2147483647);
    EXPECT_EQ(m.cpu_.maxConstSize_, -2147483647 - 1);
    EXPECT_EQ(m.cpu_.smallDataLimit_, 0);
}

TEST(CompilerModel, ShortAndUnquotedValuesStayInsideTheToken) {
    // A lone quote would join the following tokens, so each case stands alone.
    EXPECT_TRUE(CompilerModel("C source file", "[S|INCDIR|\"]").incDirs_.empty());
    EXPECT_EQ(CompilerModel("C source file", "[S|INCDIR|x]").incDirs_,
              (std::vector<std::string>{"x"}));
    EXPECT_EQ(CompilerModel("C source file", "[S|PREINCLUDE|\"p\"|q|\"\"]").preIncludes_,
              (std::vector<std::string>{"p", "q"}));
    EXPECT_EQ(CompilerModel("C source file", "[S|OBJPATH|\"]").objPath_.Join(), "");
    EXPECT_EQ(CompilerModel("C source file", "[S|LFILE|]").listPath_.Join(), "");
    EXPECT_EQ(CompilerModel("C source file", "[S|APPTXT|\"]").userOptions_, "");
    EXPECT_EQ(CompilerModel("C source file", "[S|MAPPATH|a]").mapPath_.Join(), "a");
    EXPECT_EQ(CompilerModel("C source file", "[S|DEFINES|\"]").defines_,
              (std::vector<std::string>{"\""}));
    // A one-character token has no body at all.
    EXPECT_EQ(CompilerModel("C source file", "[").Write(), kDefaultC);
}

TEST(CompilerModel, HostCompilerKeysRoundTrip) {
    const std::string in =
        "[S|SECTION|P=PX|B=BX] [S|STRING|DATA] [S|ABS16|PROGRAM|CONST] [S|ABS20|DATA] "
        "[S|DIVISION|CPURUNTIME] [B|NOLINE|1] [B|IFUNC|1] [B|ALIGN16|1] [S|ALIGN4|LOOP] "
        "[S|TEMPLATE|USED] [S|ASSEMBLY|\"asm]]x\"] [S|STUFF_SECTION|CONST,BSS] [B|STUFF_GBR|1] "
        "[S|DIVISION|NOMASK] [S|FPU|DOUBLE] [S|ROUND|NEAREST] [B|CPP_NOINLINE|1] "
        "[S|CASE|TABLE] [S|SHIFT|RUNTIME] [S|BLOCKCOPY|INLINE] [S|UNALIGNED|RUNTIME] "
        "[B|SOFTPIPE|1] [S|FILE_INLINE|\"f1\"|\"f2\"]";
    CompilerModel m("C source file", in);
    EXPECT_EQ(m.sectionNames_[0], "PX");
    EXPECT_EQ(m.sectionNames_[3], "BX");
    EXPECT_EQ(m.align_, 1);
    EXPECT_EQ(m.assembly_, "asm]x");
    EXPECT_TRUE(m.stuff_[0]);
    EXPECT_FALSE(m.stuff_[1]);
    EXPECT_TRUE(m.stuff_[2]);
    // The 20-bit class folds into the 32-bit class for a CPU type that is
    // not the fourth or fifth row.
    std::string s = m.Write();
    EXPECT_NE(s.find("[S|ABS16|PROGRAM|CONST] [S|DIVISION|CPURUNTIME]"), std::string::npos) << s;
    EXPECT_EQ(s.find("ABS20"), std::string::npos);
    EXPECT_NE(s.find("[S|ALIGN4|LOOP] [S|TEMPLATE|USED] [S|ASSEMBLY|\"asm]]x\"] "
                     "[S|STUFF_SECTION|CONST|BSS] [B|STUFF_GBR|1]"),
              std::string::npos)
        << s;
    EXPECT_NE(s.find("[B|CPP_NOINLINE|1] [S|CASE|TABLE] [S|SHIFT|RUNTIME] [S|BLOCKCOPY|INLINE] "
                     "[S|UNALIGNED|RUNTIME] [B|SOFTPIPE|1] [S|FILE_INLINE|\"f1\"|\"f2\"]"),
              std::string::npos);
    EXPECT_NE(s.find("[S|ENDIAN|BIG] [S|DIVISION|NOMASK] [S|FPU|DOUBLE] [S|ROUND|NEAREST]"),
              std::string::npos);
    EXPECT_EQ(CompilerModel("C source file", s).Write(), s);

    CompilerModel row4("C source file", "[S|CPUTYPE|CV2X] [S|ABS28|ALL]");
    EXPECT_NE(row4.Write().find("[S|ABS28|PROGRAM|CONST|DATA|BSS|RUN]"), std::string::npos);
}

TEST(CompilerModel, SwitchToolchainHeaderDirectories) {
    CompilerModel m("C source file", "");
    m.incDirs_ = {"$(TCINSTALL)\\zenta-elf\\include", "C:\\mine\\include",
                  "$(TCINSTALL)\\corvo-elf\\include\\sub\\include"};
    m.optLib_ = 1;
    m.SwitchToolchainHeaderDirs();
    EXPECT_EQ(m.incDirs_[0], "$(TCINSTALL)\\zenta-elf\\optlibinc");
    EXPECT_EQ(m.incDirs_[1], "C:\\mine\\include");
    EXPECT_EQ(m.incDirs_[2], "$(TCINSTALL)\\corvo-elf\\optlibinc\\sub\\optlibinc");
    EXPECT_EQ(m.headerForm_, 1);
    m.optLib_ = 0;
    m.SwitchToolchainHeaderDirs();
    EXPECT_EQ(m.incDirs_[0], "$(TCINSTALL)\\zenta-elf\\include");
    EXPECT_EQ(m.headerForm_, 0);
}

TEST(CompilerModel, ListingWritesPathOnlyWhenOnButContentsAlways) {
    CompilerModel m("C source file", "[B|LINCSYM|1] [S|LFILE|\"x\\y.lst\"]");
    std::string s = m.Write();
    EXPECT_EQ(s.find("LFILE"), std::string::npos);
    EXPECT_NE(s.find("[B|LINCSYM|1]"), std::string::npos);
    m.listing_ = 1;
    EXPECT_NE(m.Write().find("[B|LOUTLIST|1] [S|LFILE|\"x\\y.lst\"] [B|LINCSYM|1]"),
              std::string::npos);
}

TEST(CompilerModel, BuildControlSwitchesAreWrittenLastInFixedOrder) {
    CompilerModel m("C source file",
                    "[B|MAPBATCH|1] [B|CHGINCPATH|1] [N|DEPENDSCAN|1] [B|SKIPDEPENDENCY|1]");
    std::string s = m.Write();
    const std::string tail =
        "[B|DOOPTLIB|0] [B|CHGINCPATH|1] [B|SKIPDEPENDENCY|1] [N|DEPENDSCAN|1] [B|MAPBATCH|1]";
    ASSERT_GE(s.size(), tail.size());
    EXPECT_EQ(s.substr(s.size() - tail.size()), tail);
    m.Reset();
    EXPECT_FALSE(m.mapBatch_);
    EXPECT_EQ(m.chgIncPath_, 0);
    EXPECT_EQ(m.fileType_, "C source file");
}

TEST(CompilerModel, SeparatorsAndVersionDoNotMatter) {
    CompilerModel a("C source file", "[V|VERSION|7]\t[B|ANSI|1]\r\n[B|PEDANTIC|1]   [B|FNOB|1]");
    CompilerModel b("C source file", "[B|ANSI|1] [B|PEDANTIC|1] [B|FNOB|1]");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.Write().substr(0, 13), "[V|VERSION|2]");
}

} // namespace
} // namespace quorle::models

namespace quorle::models {
namespace {

TEST(CompilerModel, ValuesMadeOnlyOfQuotesKeepTheirCount) {
    for (std::string value : {"\"", "\"\"", "\"\"\""}) {
        CompilerModel m("C source file", "");
        m.userOptions_ = value;
        m.incDirs_ = {value, "x"};
        m.assembly_ = value;
        CompilerModel back("C source file", m.Write());
        EXPECT_EQ(back.userOptions_, value);
        EXPECT_EQ(back.incDirs_, m.incDirs_);
        EXPECT_EQ(back.assembly_, value);
    }
}

} // namespace
} // namespace quorle::models

namespace quorle::models {
namespace {

TEST(CompilerModel, OtherConstructorsAgree) {
    const char* opts = "[B|ANSI|1] [S|LANG|CPP]";
    CompilerModel scan("C:\\a\\b.cpp", "C++ source file", opts);
    EXPECT_EQ(scan, CompilerModel("C++ source file", opts));
    CompilerModel bare = CompilerModel::FromOptions(opts);
    EXPECT_EQ(bare.fileType_, "");
    EXPECT_EQ(bare.language_, kLangCpp);
    EXPECT_EQ(bare.listPath_.ext, ".lst");
}

} // namespace
} // namespace quorle::models

namespace quorle::models {
namespace {

TEST(PathParts, SplitJoinAndEmptyParts) {
    for (const char* path : {"$(CONFIGDIR)\\$(FILELEAF).o", "a/b.c.d", "x", "\\root.o", "dir\\",
                             ".hidden", "a.b\\c", ""}) {
        EXPECT_EQ(PathParts::Split(path).Join(), path);
    }
    PathParts p = PathParts::Split("out\\name.o");
    EXPECT_EQ(p.dir, "out");
    EXPECT_EQ(p.leaf, "name");
    EXPECT_EQ(p.ext, ".o");
    p.SetDir("");
    EXPECT_EQ(p.Join(), "name.o");
    p.SetDir("d2");
    EXPECT_EQ(p.Join(), "d2\\name.o");
    p.leaf.clear();
    EXPECT_EQ(p.Join(), "d2\\.o");
}

} // namespace
} // namespace quorle::models
