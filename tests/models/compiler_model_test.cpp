#include <gtest/gtest.h>

#include "models/compiler_model.h"

namespace quorle::models {
namespace {

const char kDefaultC[] =
    "[V|VERSION|2] [S|OUTPUT|OBJECT] [S|OBJPATH|\"$(CONFIGDIR)\\$(FILELEAF).o\"] [B|DEBUG|1] "
    "[S|DEBUGFT|Native] [I|DEBUGLV|3] [S|ALIGN4|ALL] [B|OPTIMIZE|1] [B|LTO|0] [I|OPTLV|3] "
    "[S|ENDIAN|BIG] [S|PROJECTTYPE|CAPPPROJECT] [B|DOOPTLIB|0]";

TEST(CompilerModel, EmptyStringWritesTheDefaultTokensInOrder) {
    CCompilerModel m("C source file", "");
    EXPECT_EQ(m.Write(), kDefaultC);
    EXPECT_EQ(m.m_cpu.m_nFamilyCode, 105);
    EXPECT_EQ(m.OutputDirectory(), "$(CONFIGDIR)");
}

TEST(CompilerModel, LanguageComesFromTheFileTypeAndSetsExtensions) {
    EXPECT_EQ(CCompilerModel::LanguageOf("C source file"), kLangC);
    EXPECT_EQ(CCompilerModel::LanguageOf("C++ source file"), kLangCpp);
    EXPECT_EQ(CCompilerModel::LanguageOf("Preprocess Assembly file"), kLangPreproAsm);
    EXPECT_EQ(CCompilerModel::LanguageOf(""), kLangC);

    CCompilerModel cpp("C++ source file", "");
    EXPECT_EQ(cpp.m_listPath.ext, ".lpp");
    cpp.SetOutputKind(kOutPreprocessor);
    EXPECT_EQ(cpp.m_objPath.ext, ".pp");
    EXPECT_NE(cpp.Write().find("[S|LANG|CPP]"), std::string::npos);

    // Reading the output kind alone keeps the extension.
    CCompilerModel read("C++ source file", "[S|OUTPUT|PREPROCESSOR]");
    EXPECT_EQ(read.m_nOutput, kOutPreprocessor);
    EXPECT_EQ(read.m_objPath.ext, ".o");

    CCompilerModel c("C source file", "");
    c.SetOutputKind(kOutPreprocessorNoLine);
    EXPECT_EQ(c.m_objPath.ext, ".p");
    c.SetOutputKind(kOutAsmCode);
    EXPECT_EQ(c.m_objPath.ext, ".s");
    c.SetLanguage(kLangPreproAsm);
    EXPECT_EQ(c.m_listPath.ext, ".lis");

    auto entry = CCompilerModel::FromFileEntry("C:\\src\\a.cpp|C++ source file", "");
    EXPECT_EQ(entry.m_strFileType, "C++ source file");
    EXPECT_EQ(entry.m_nLanguage, kLangCpp);
}

TEST(CompilerModel, WarningsAllAndGroupOne) {
    CCompilerModel m("C source file", "");
    m.m_aWarn1.fill(true);
    std::string s = m.Write();
    EXPECT_NE(s.find("[B|WALL|1]"), std::string::npos);
    EXPECT_EQ(s.find("[B|WNIMPORT|1]"), std::string::npos);
    EXPECT_EQ(s.find("[B|WSCOMP|1]"), std::string::npos);

    CCompilerModel r("C source file", "[B|WALL|1] [B|WERROR|1] [B|WINHIBIT|1]");
    EXPECT_TRUE(r.AllGroup1Warnings());
    EXPECT_TRUE(r.m_aWarn2[6]);
    EXPECT_EQ(r.m_nWInhibit, 1);

    r.m_aWarn1[0] = false;
    std::string partial = r.Write();
    EXPECT_EQ(partial.find("[B|WALL|1]"), std::string::npos);
    EXPECT_NE(partial.find("[B|WCSUB|1] [B|WCOMMENT|1]"), std::string::npos);
    EXPECT_NE(partial.find("[B|WERROR|1] [B|WINHIBIT|1]"), std::string::npos);
}

TEST(CompilerModel, FunctionSectionsAliasIsDroppedAndChangesNothing) {
    CCompilerModel plain("C source file", "");
    CCompilerModel m("C source file", "[B|FFUNCSECTS|1]");
    EXPECT_EQ(m, plain);
    EXPECT_EQ(m.Write(), kDefaultC);
}

TEST(CompilerModel, DefinitionsReadAsListAndWriteBackUnquoted) {
    CCompilerModel m("C source file", "[S|DEFINES|A=1|B]");
    ASSERT_EQ(m.m_lstDefines, (std::vector<std::string>{"A=1", "B"}));
    EXPECT_NE(m.Write().find("[S|DEFINES|A=1|B]"), std::string::npos);

    // A definition with a quote or blank makes the whole value quoted.
    m.m_lstDefines = {"S=\"a b\"", "C"};
    std::string s = m.Write();
    EXPECT_NE(s.find("[S|DEFINES|\"S=\"\"a b\"\"|C\"]"), std::string::npos) << s;
    CCompilerModel back("C source file", s);
    EXPECT_EQ(back.m_lstDefines, m.m_lstDefines);
}

TEST(CompilerModel, DebugLevelZeroTurnsDebugOff) {
    CCompilerModel m("C source file", "[I|DEBUGLV|0]");
    EXPECT_EQ(m.m_nDebug, 0);
    EXPECT_EQ(m.m_nDebugLevel, 2);
    std::string s = m.Write();
    EXPECT_NE(s.find("[B|DEBUG|0] [S|DEBUGFT|Native] [I|DEBUGLV|3]"), std::string::npos);
}

TEST(CompilerModel, ListsAppendAcrossTokensAndScalarsKeepTheLaterValue) {
    CCompilerModel m("C source file", "[S|INCDIR|\"a\"|\"b\"] [S|OUTPUT|ASMCODE] [S|INCDIR|\"c\"] "
                                      "[S|OUTPUT|OBJECT] [S|APPTXT|\"-x\"] [S|APPTXT|\"-y z\"]");
    EXPECT_EQ(m.m_lstIncDirs, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(m.m_nOutput, kOutObject);
    EXPECT_EQ(m.m_strUserOptions, "-x -y z");
}

TEST(CompilerModel, SmallMapDoesNotReplaceFullMap) {
    CCompilerModel m("C source file", "[B|MAP|1] [B|SMAP|1]");
    EXPECT_EQ(m.m_nMap, 2);
    EXPECT_NE(m.Write().find("[B|MAP|1] [S|MAPPATH|\"$(CONFIGDIR)\\$(PROJECTNAME).bls\"]"),
              std::string::npos);
    CCompilerModel s("C source file", "[B|SMAP|1]");
    EXPECT_EQ(s.m_nMap, 1);
    EXPECT_EQ(s.Write().find("MAPPATH"), std::string::npos);
}

TEST(CompilerModel, ReadOnlyOptimiseKeysAreNeverWritten) {
    CCompilerModel m("C source file", "[B|OPTIMIZEOLD|2] [B|GOPTIMIZE|1]");
    EXPECT_EQ(m.m_nOptimizeOld, 2);
    EXPECT_EQ(m.m_nGOptimize, 1);
    EXPECT_EQ(m.Write(), kDefaultC);
}

TEST(CompilerModel, ZentaWritesItsNumbersEvenWhenZero) {
    CCompilerModel m("C source file", "[S|CPUTYPE|ZN600]");
    EXPECT_EQ(m.m_cpu.m_nFamilyCode, 104);
    std::string s = m.Write();
    EXPECT_NE(s.find("[S|CPUTYPE|ZN600] [S|ENDIAN|BIG] [S|CPU|Other] [I|RMINTREGVAL|0] "
                     "[I|RMMAXCONSTVAL|0] [I|RMMAXVARSVAL|0] [S|PROJECTTYPE|CAPPPROJECT]"),
              std::string::npos)
        << s;
    CCompilerModel c("C source file", "[S|CPUTYPE|CV2] [B|RMPID|1]");
    // A family key names its family.
    EXPECT_EQ(c.m_cpu.m_nFamilyCode, 104);
    CCompilerModel corvo("C source file", "[S|CPUTYPE|CV2] [I|RMINTREGVAL|3]");
    EXPECT_EQ(corvo.Write().find("RMINTREGVAL"), std::string::npos);
}

TEST(CompilerModel, UnknownCpuTypeLeavesFamilyAndWritesNoCpuType) {
    CCompilerModel m("C source file", "[S|CPUTYPE|NOSUCH]");
    EXPECT_EQ(m.m_cpu.m_nFamilyCode, 105);
    EXPECT_EQ(m.Write().find("CPUTYPE"), std::string::npos);
}

TEST(CompilerModel, OverflowingNumbersClamp) {
    CCompilerModel m("C source file",
                     "[S|CPUTYPE|ZN200] [I|RMINTREGVAL|99999999999999999999999] "
                     "[I|RMMAXCONSTVAL|-99999999999999999999] [I|RMMAXVARSVAL|x12]");
    EXPECT_EQ(m.m_cpu.m_nIntRegisters, 2147483647);
    EXPECT_EQ(m.m_cpu.m_nMaxConstSize, -2147483647 - 1);
    EXPECT_EQ(m.m_cpu.m_nSmallDataLimit, 0);
}

TEST(CompilerModel, ShortAndUnquotedValuesStayInsideTheToken) {
    // A lone quote would join the following tokens, so each case stands alone.
    EXPECT_TRUE(CCompilerModel("C source file", "[S|INCDIR|\"]").m_lstIncDirs.empty());
    EXPECT_EQ(CCompilerModel("C source file", "[S|INCDIR|x]").m_lstIncDirs,
              (std::vector<std::string>{"x"}));
    EXPECT_EQ(CCompilerModel("C source file", "[S|PREINCLUDE|\"p\"|q|\"\"]").m_lstPreIncludes,
              (std::vector<std::string>{"p", "q"}));
    EXPECT_EQ(CCompilerModel("C source file", "[S|OBJPATH|\"]").m_objPath.Join(), "");
    EXPECT_EQ(CCompilerModel("C source file", "[S|LFILE|]").m_listPath.Join(), "");
    EXPECT_EQ(CCompilerModel("C source file", "[S|APPTXT|\"]").m_strUserOptions, "");
    EXPECT_EQ(CCompilerModel("C source file", "[S|MAPPATH|a]").m_mapPath.Join(), "a");
    EXPECT_EQ(CCompilerModel("C source file", "[S|DEFINES|\"]").m_lstDefines,
              (std::vector<std::string>{"\""}));
    // A one-character token has no body at all.
    EXPECT_EQ(CCompilerModel("C source file", "[").Write(), kDefaultC);
}

TEST(CompilerModel, HostCompilerKeysRoundTrip) {
    const std::string in =
        "[S|SECTION|P=PX|B=BX] [S|STRING|DATA] [S|ABS16|PROGRAM|CONST] [S|ABS20|DATA] "
        "[S|DIVISION|CPURUNTIME] [B|NOLINE|1] [B|IFUNC|1] [B|ALIGN16|1] [S|ALIGN4|LOOP] "
        "[S|TEMPLATE|USED] [S|ASSEMBLY|\"asm]]x\"] [S|STUFF_SECTION|CONST,BSS] [B|STUFF_GBR|1] "
        "[S|DIVISION|NOMASK] [S|FPU|DOUBLE] [S|ROUND|NEAREST] [B|CPP_NOINLINE|1] "
        "[S|CASE|TABLE] [S|SHIFT|RUNTIME] [S|BLOCKCOPY|INLINE] [S|UNALIGNED|RUNTIME] "
        "[B|SOFTPIPE|1] [S|FILE_INLINE|\"f1\"|\"f2\"]";
    CCompilerModel m("C source file", in);
    EXPECT_EQ(m.m_aSectionNames[0], "PX");
    EXPECT_EQ(m.m_aSectionNames[3], "BX");
    EXPECT_EQ(m.m_nAlign, 1);
    EXPECT_EQ(m.m_strAssembly, "asm]x");
    EXPECT_TRUE(m.m_aStuff[0]);
    EXPECT_FALSE(m.m_aStuff[1]);
    EXPECT_TRUE(m.m_aStuff[2]);
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
    EXPECT_EQ(CCompilerModel("C source file", s).Write(), s);

    CCompilerModel row4("C source file", "[S|CPUTYPE|CV2X] [S|ABS28|ALL]");
    EXPECT_NE(row4.Write().find("[S|ABS28|PROGRAM|CONST|DATA|BSS|RUN]"), std::string::npos);
}

TEST(CompilerModel, SwitchToolchainHeaderDirectories) {
    CCompilerModel m("C source file", "");
    m.m_lstIncDirs = {"$(TCINSTALL)\\zenta-elf\\include", "C:\\mine\\include",
                      "$(TCINSTALL)\\corvo-elf\\include\\sub\\include"};
    m.m_nOptLib = 1;
    m.SwitchToolchainHeaderDirs();
    EXPECT_EQ(m.m_lstIncDirs[0], "$(TCINSTALL)\\zenta-elf\\optlibinc");
    EXPECT_EQ(m.m_lstIncDirs[1], "C:\\mine\\include");
    EXPECT_EQ(m.m_lstIncDirs[2], "$(TCINSTALL)\\corvo-elf\\optlibinc\\sub\\optlibinc");
    EXPECT_EQ(m.m_nHeaderForm, 1);
    m.m_nOptLib = 0;
    m.SwitchToolchainHeaderDirs();
    EXPECT_EQ(m.m_lstIncDirs[0], "$(TCINSTALL)\\zenta-elf\\include");
    EXPECT_EQ(m.m_nHeaderForm, 0);
}

TEST(CompilerModel, ListingWritesPathOnlyWhenOnButContentsAlways) {
    CCompilerModel m("C source file", "[B|LINCSYM|1] [S|LFILE|\"x\\y.lst\"]");
    std::string s = m.Write();
    EXPECT_EQ(s.find("LFILE"), std::string::npos);
    EXPECT_NE(s.find("[B|LINCSYM|1]"), std::string::npos);
    m.m_nListing = 1;
    EXPECT_NE(m.Write().find("[B|LOUTLIST|1] [S|LFILE|\"x\\y.lst\"] [B|LINCSYM|1]"),
              std::string::npos);
}

TEST(CompilerModel, BuildControlSwitchesAreWrittenLastInFixedOrder) {
    CCompilerModel m("C source file",
                     "[B|MAPBATCH|1] [B|CHGINCPATH|1] [N|DEPENDSCAN|1] [B|SKIPDEPENDENCY|1]");
    std::string s = m.Write();
    const std::string tail =
        "[B|DOOPTLIB|0] [B|CHGINCPATH|1] [B|SKIPDEPENDENCY|1] [N|DEPENDSCAN|1] [B|MAPBATCH|1]";
    ASSERT_GE(s.size(), tail.size());
    EXPECT_EQ(s.substr(s.size() - tail.size()), tail);
    m.Reset();
    EXPECT_FALSE(m.m_bMapBatch);
    EXPECT_EQ(m.m_nChgIncPath, 0);
    EXPECT_EQ(m.m_strFileType, "C source file");
}

TEST(CompilerModel, SeparatorsAndVersionDoNotMatter) {
    CCompilerModel a("C source file", "[V|VERSION|7]\t[B|ANSI|1]\r\n[B|PEDANTIC|1]   [B|FNOB|1]");
    CCompilerModel b("C source file", "[B|ANSI|1] [B|PEDANTIC|1] [B|FNOB|1]");
    EXPECT_EQ(a, b);
    EXPECT_EQ(a.Write().substr(0, 13), "[V|VERSION|2]");
}

} // namespace
} // namespace quorle::models

namespace quorle::models {
namespace {

TEST(CompilerModel, ValuesMadeOnlyOfQuotesKeepTheirCount) {
    for (std::string value : {"\"", "\"\"", "\"\"\""}) {
        CCompilerModel m("C source file", "");
        m.m_strUserOptions = value;
        m.m_lstIncDirs = {value, "x"};
        m.m_strAssembly = value;
        CCompilerModel back("C source file", m.Write());
        EXPECT_EQ(back.m_strUserOptions, value);
        EXPECT_EQ(back.m_lstIncDirs, m.m_lstIncDirs);
        EXPECT_EQ(back.m_strAssembly, value);
    }
}

} // namespace
} // namespace quorle::models

namespace quorle::models {
namespace {

TEST(CompilerModel, OtherConstructorsAgree) {
    const char* opts = "[B|ANSI|1] [S|LANG|CPP]";
    CCompilerModel scan("C:\\a\\b.cpp", "C++ source file", opts);
    EXPECT_EQ(scan, CCompilerModel("C++ source file", opts));
    CCompilerModel bare = CCompilerModel::FromOptions(opts);
    EXPECT_EQ(bare.m_strFileType, "");
    EXPECT_EQ(bare.m_nLanguage, kLangCpp);
    EXPECT_EQ(bare.m_listPath.ext, ".lst");
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
