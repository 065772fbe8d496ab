#include <gtest/gtest.h>

#include "models/linker_model.h"
#include "resources/message_box.h"
#include "sections/layout_tree.h"
#include "support/message_capture.h"

using quorle::models::CLinkerModel;
namespace models = quorle::models;
namespace sections = quorle::sections;

namespace {

const std::string kDefaults = "[V|VERSION|2] [B|DOEXTF|1] [S|OUTFORM|DEFAULT] "
                              "[S|OUTFILE|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"] [S|GROUPDET|] "
                              "[S|PROJECTTYPE|CAPPPROJECT] [B|DOOPTLIB|0] [B|DOPROJBUILT|0]";

// The default string with `tokens` where the carried-over tokens go.
std::string DefaultsWith(const std::string& tokens) {
    return kDefaults + " " + tokens;
}

} // namespace

TEST(LinkerModel, EmptyStringGivesTheDefaults) {
    CLinkerModel model("");
    EXPECT_EQ(model.Serialize(), kDefaults);
    EXPECT_EQ(CLinkerModel(kDefaults).Serialize(), kDefaults);
    EXPECT_EQ(model.m_cpu.m_nFamilyCode, 105);
    EXPECT_EQ(model.m_cpu.m_nEndian, 2);
    EXPECT_EQ(model.m_strMapDir, "$(CONFIGDIR)");
    EXPECT_EQ(model.m_strMapName, "$(PROJECTNAME)");
    EXPECT_EQ(model.m_strRelocCount, "0");
    EXPECT_EQ(model.m_strCrcAddress, "00000000");
}

TEST(LinkerModel, HostDefaultStringKeepsItsUnknownTokensInOrder) {
    const std::string host = "[V|VERSION|2] [B|OPTIMIZE|0] [B|DEBUG|1] "
                             "[S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]";
    CLinkerModel model(host, "$(CONFIGDIR)\\$(PROJECTNAME).bls");
    EXPECT_EQ(
        model.Serialize(),
        DefaultsWith("[B|OPTIMIZE|0] [B|DEBUG|1] [S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]"));
    EXPECT_EQ(model.m_strMapOptimisationFile, "$(CONFIGDIR)\\$(PROJECTNAME).bls");
    // Written strings read back to themselves: the version is not carried.
    EXPECT_EQ(CLinkerModel(model.Serialize()).Serialize(), model.Serialize());
}

TEST(LinkerModel, OptimisationFlagIsTheCarriedOptimizeToken) {
    CLinkerModel model("[B|OPTIMIZE|0] [B|DEBUG|1]");
    EXPECT_FALSE(model.OptimisationFlag());
    model.SetOptimisationFlag(true);
    EXPECT_TRUE(model.OptimisationFlag());
    EXPECT_EQ(model.Serialize(), DefaultsWith("[B|OPTIMIZE|1] [B|DEBUG|1]"));
    model.SetOptimisationFlag(false);
    EXPECT_EQ(model.Serialize(), DefaultsWith("[B|OPTIMIZE|0] [B|DEBUG|1]"));

    CLinkerModel bare("[B|DEBUG|1]");
    bare.SetOptimisationFlag(false);
    EXPECT_EQ(bare.Serialize(), DefaultsWith("[B|DEBUG|1]"));
    bare.SetOptimisationFlag(true);
    bare.SetOptimisationFlag(true);
    EXPECT_EQ(bare.Serialize(), DefaultsWith("[B|DEBUG|1] [B|OPTIMIZE|1]"));
}

TEST(LinkerModel, SwitchTokensWithOtherValuesAreCarriedOver) {
    CLinkerModel model("[B|LTO|0] [B|GCSECTS|0] [B|LTO|1]");
    EXPECT_TRUE(model.m_bLto);
    EXPECT_FALSE(model.m_aSwitches[models::kSwGcSects]);
    std::string text = model.Serialize();
    EXPECT_NE(text.find("[B|LTO|1] [S|OUTFILE|"), std::string::npos);
    EXPECT_TRUE(text.ends_with(" [B|LTO|0] [B|GCSECTS|0]")) << text;
}

TEST(LinkerModel, ShowWordsAreMatchedWhole) {
    CLinkerModel x("[S|SHOW|XREFERENCE]");
    EXPECT_EQ(x.m_aShow, (std::array<bool, 5>{false, false, false, true, false}));
    CLinkerModel r("[S|SHOW|REFERENCE]");
    EXPECT_EQ(r.m_aShow, (std::array<bool, 5>{false, true, false, false, false}));
    CLinkerModel all("[S|SHOW|TOTAL_SIZE|XREFERENCE|SECTION|REFERENCE|SYMBOL]");
    EXPECT_NE(all.Serialize().find("[S|SHOW|SYMBOL|REFERENCE|SECTION|XREFERENCE|TOTAL_SIZE]"),
              std::string::npos);
    EXPECT_EQ(CLinkerModel("").Serialize().find("SHOW"), std::string::npos);
}

TEST(LinkerModel, DefineAcceptsCommaOrEqualsAndWritesComma) {
    CLinkerModel equals("[S|DEFINE|\"A\"=\"1\"|\"B\"=\"x,y\"]");
    CLinkerModel comma("[S|DEFINE|\"A\",\"1\"|\"B\",\"x,y\"]");
    EXPECT_EQ(equals.m_listSymbols,
              (std::vector<models::LinkerSymbol>{{"A", "1"}, {"B", "x,y"}}));
    EXPECT_EQ(equals.Serialize(), comma.Serialize());
    EXPECT_NE(comma.Serialize().find("[S|DEFINE|\"A\",\"1\"|\"B\",\"x,y\"]"), std::string::npos);
}

TEST(LinkerModel, OutputFormsRoundTrip) {
    EXPECT_EQ(CLinkerModel("[S|FORM|LIBRARY|S]").m_nOutputForm, 3);
    EXPECT_EQ(CLinkerModel("[S|FORM|LIBRARY|U]").m_nOutputForm, 4);
    EXPECT_EQ(CLinkerModel("[S|OUTFORM|BOTH]").m_nOutputForm, 1);
    for (const char* form : {"[S|FORM|LIBRARY|S]", "[S|FORM|LIBRARY|U]", "[S|OUTFORM|BOTH]"}) {
        std::string text = CLinkerModel(form).Serialize();
        EXPECT_NE(text.find(std::string("[B|DOEXTF|1] ") + form + " [S|OUTFILE|"),
                  std::string::npos)
            << text;
    }
}

TEST(LinkerModel, ParsingTwiceAppendsEveryList) {
    const std::string text =
        "[S|INCDIR|\"d1\"] [S|ARCHIVE|libc.a] [S|INPUT|\"a.o\"] [S|BINARY|\"b.bin\"|\"(.b)\"] "
        "[S|DEFINE|\"X\",\"1\"] [S|ROM|(D,R)] [S|MULTIOUTPUT|\"p.x\"=.text] "
        "[S|MEMDET|ram|0|0|FF|*] [S|GROUPDET|.g|0|0||0||0|0|<<CEND>>|<<GEND>>|] "
        "[S|FSYMBOL|f] [S|;UNGENERATESYMBOL|u] [S|;CHECKDEVICE|ROM,0,FF] [S|CRC|16|0|1-2] [Q|X|1]";
    CLinkerModel model(text);
    model.Parse(text);
    EXPECT_EQ(model.m_listLibDirs.size(), 2u);
    EXPECT_EQ(model.m_listLibraries.size(), 2u);
    EXPECT_EQ(model.m_listObjects.size(), 2u);
    EXPECT_EQ(model.m_listBinaries.size(), 2u);
    EXPECT_EQ(model.m_listBinarySections.size(), 2u);
    EXPECT_EQ(model.m_listSymbols.size(), 2u);
    EXPECT_EQ(model.m_listRomSections.size(), 2u);
    EXPECT_EQ(model.m_listOutputPieces.size(), 2u);
    EXPECT_EQ(model.m_layout.regions.size(), 2u);
    EXPECT_EQ(model.m_layout.groups.size(), 2u);
    EXPECT_EQ(model.m_listForcedSymbols.size(), 2u);
    EXPECT_EQ(model.m_listSuppressedSymbols.size(), 2u);
    EXPECT_EQ(model.m_listCheckAreas.size(), 2u);
    EXPECT_EQ(model.m_listCrcRanges.size(), 2u);
    EXPECT_EQ(model.m_listCarried.size(), 2u);
}

TEST(LinkerModel, ValueSyntaxOfTheListKeys) {
    CLinkerModel model("[S|INCDIR|\"C:\\a|b\"|\"x\"\"y\"|\"z]]\"] "
                       "[S|ARCHIVE|libc.a*C:\\lib\\libm.a*\"C:\\Program Files\\libq.a\"] "
                       "[S|BINARY|\"one.bin\"|\"(.one)\"] "
                       "[S|BINARY|\"two.bin\"(.two)|\"three.bin\"(.three,x)] "
                       "[S|ROM|(D,R)|(D2,R2)] "
                       "[S|MULTIOUTPUT|\"a.x\"=.text|\"b.x\"=\"sec=1 2\"] "
                       "[S|PLMFILE|\"C:\\maps\\prog.v1.map\"] "
                       "[S|ENTRY|\"_start\"] [B|ENTRY|1] [S|PRELINK|RUN] "
                       "[S|CRC|CCITT|FFFF0000|0-FF|100-1FF] "
                       "[S|;CHECKDEVICE|EXTERNAL,100,1FF|I/O,0x200,2ff|ROM,0,123456789]");
    EXPECT_EQ(model.m_listLibDirs, (std::vector<std::string>{"C:\\a|b", "x\"y", "z]"}));
    EXPECT_EQ(model.m_listLibraries,
              (std::vector<std::string>{"libc.a", "C:\\lib\\libm.a", "C:\\Program Files\\libq.a"}));
    EXPECT_EQ(model.m_listBinaries, (std::vector<std::string>{"one.bin", "two.bin", "three.bin"}));
    EXPECT_EQ(model.m_listBinarySections,
              (std::vector<std::string>{"(.one)", "(.two)", "(.three,x)"}));
    EXPECT_EQ(model.m_listRomSections, (std::vector<std::string>{"D", "D2"}));
    EXPECT_EQ(model.m_listRamSections, (std::vector<std::string>{"R", "R2"}));
    EXPECT_EQ(model.m_listOutputPieces, (std::vector<std::string>{"a.x", "b.x"}));
    EXPECT_EQ(model.m_listPieceSections, (std::vector<std::string>{".text", "sec=1 2"}));
    EXPECT_EQ(model.m_strMapDir, "C:\\maps");
    EXPECT_EQ(model.m_strMapName, "prog.v1");
    EXPECT_EQ(model.MapFilePath(), "C:\\maps\\prog.v1.map");
    EXPECT_EQ(model.m_strEntry, "_start");
    EXPECT_TRUE(model.m_bEntry);
    EXPECT_EQ(model.m_nPrelink, 2);
    EXPECT_EQ(model.m_nCrcType, 1);
    EXPECT_EQ(model.m_strCrcAddress, "FFFF0000");
    EXPECT_EQ(model.m_listCrcRanges, (std::vector<std::string>{"0-FF", "100-1FF"}));
    EXPECT_EQ(model.m_listCheckAreas, (std::vector<models::CpuCheckArea>{
                                          {"RAM", "0x00000100", "0x000001FF"},
                                          {"RAM", "0x00000200", "0x000002FF"},
                                          {"ROM", "0x00000000", "0xFFFFFFFF"}}));
    // An unknown CRC word leaves the type as it was.
    model.Parse("[S|CRC|BOGUS|1]");
    EXPECT_EQ(model.m_nCrcType, 1);
}

TEST(LinkerModel, SerializerOrderTokenForToken) {
    CLinkerModel model;
    model.m_bSubcommand = true;
    model.m_nSubcommandType = 1;
    model.m_strSubcommandFile = "my.cmd";
    model.m_listLibDirs = {"L"};
    model.m_bGroupLibs = model.m_bFixupLibs = true;
    model.m_listLibraries = {"libc.a", "libm.a"};
    model.m_listObjects = {"a.o"};
    model.m_listBinaries = {"b.bin"};
    model.m_listBinarySections = {".b"};
    model.m_listSymbols = {{"S", "1"}};
    model.m_bEntry = true;
    model.m_strEntry = "_go";
    model.m_nPrelink = 1;
    model.m_nOutputForm = 1;
    model.m_nHexRecord = 2;
    model.m_nSRecord = 3;
    model.m_bRelocSplit = true;
    model.m_strRelocCount = "7";
    model.m_listRomSections = {"D"};
    model.m_listRamSections = {"R"};
    model.m_bDivideOutput = true;
    model.m_listOutputPieces = {"p.x"};
    model.m_listPieceSections = {".text"};
    model.m_bWarnUnused = model.m_bDataStuff = model.m_bDataStuffMap = model.m_bMapFile = true;
    model.m_aShow = {true, false, false, false, true};
    model.m_bUseGcc = model.m_bLto = model.m_bObjsOnCmdLine = true;
    model.m_strOutputFile = "o.x";
    model.m_layout.regions = {{"ram", 1, "0", "F"}};
    model.m_listForcedSymbols = {"f1", "f2"};
    model.m_listSuppressedSymbols = {"u"};
    model.m_nCpuCheckMode = 2;
    model.m_listCheckAreas = {{"ROM", "0x00000000", "0x000000FF"}};
    model.m_strCpuInfoFile = "c.cpu";
    model.m_strPsCheck = "P";
    model.m_aSwitches[models::kSwBStatic] = model.m_aSwitches[models::kSwGcSects] = true;
    model.m_strAppText = "--x";
    ASSERT_TRUE(model.m_cpu.SetCpuType("CV2"));
    model.m_cpu.m_nEndian = 1;
    model.m_cpu.m_aFamilyFlags[1] = true;
    model.m_nProjectType = 1;
    model.m_bOptLib = model.m_bProjectIsLibrary = true;
    model.m_listCarried = {"Q|X|1"};
    model.m_bMapBatch = true;
    EXPECT_EQ(model.Serialize(),
              "[V|VERSION|2] [B|SUBCOMMAND|1] [B|DOSEGF|1] [S|EXTFILE|\"my.cmd\"] "
              "[S|INCDIR|\"L\"] [B|RSARCH|1] [B|FIXUPLIBS|1] [S|ARCHIVE|libc.a*libm.a] "
              "[S|INPUT|\"a.o\"] [S|BINARY|\"b.bin\"|\".b\"] [S|DEFINE|\"S\",\"1\"] [B|ENTRY|1] "
              "[S|ENTRY|\"_go\"] [S|PRELINK|SKIP] "
              "[S|OUTFORM|BOTH] [S|RECORD|H20] [S|RECORD|S3] [B|DORELOC|1] [I|SBYRELOC|7] "
              "[S|ROM|(D,R)] [B|DIVIDEOUTPUT|1] [S|MULTIOUTPUT|\"p.x\"=.text] [B|MSG_UNUSED|1] "
              "[B|DATA_STUFF|1] [B|DATA_STUFF_SMAP|1] [B|MFILEGEN|1] "
              "[S|PLMFILE|\"$(CONFIGDIR)\\$(PROJECTNAME).map\"] [S|SHOW|SYMBOL|TOTAL_SIZE] "
              "[B|USEGCCTOLINK|1] [B|LTO|1] [B|LINK_OBJS_VIA_CMDLINE|1] [S|OUTFILE|\"o.x\"] "
              "[S|MEMDET|ram|1|0|F|*] [S|GROUPDET|] [S|FSYMBOL|f1|f2] [S|;UNGENERATESYMBOL|u] "
              "[I|CPUINFORMATIONCHECK|2] [S|;CHECKDEVICE|ROM,0x00000000,0x000000FF] "
              "[S|CPUxx|\"c.cpu\"] [S|PS_CHECK|P] [B|BSTATIC|1] [B|GCSECTS|1] [S|APPTXT|\"--x\"] "
              "[S|CPUTYPE|CV2] [S|ENDIAN|LITTLE] [B|MRELAX|1] [S|PROJECTTYPE|CPPAPPPROJECT] "
              "[B|DOOPTLIB|1] [B|DOPROJBUILT|1] [Q|X|1] [B|MAPBATCH|1]");
    // And it reads back to the same model.
    CLinkerModel back(model.Serialize());
    EXPECT_EQ(static_cast<const models::LinkerFields&>(back),
              static_cast<const models::LinkerFields&>(model));
}

TEST(LinkerModel, ZentaCpuKeysComeWithTheirNumbers) {
    CLinkerModel model("[S|CPUTYPE|ZN200] [S|CPU|ZN610] [B|RMRELAX|1] [S|ENDIAN|BIG]");
    EXPECT_EQ(model.m_cpu.m_nFamilyCode, 104);
    std::string text = model.Serialize();
    EXPECT_NE(text.find("[S|CPUTYPE|ZN200] [S|ENDIAN|BIG] [S|CPU|ZN610] [B|RMRELAX|1] "
                        "[I|RMINTREGVAL|0] [I|RMMAXCONSTVAL|0] [I|RMMAXVARSVAL|0] "
                        "[S|PROJECTTYPE|CAPPPROJECT]"),
              std::string::npos)
        << text;
    // Keys of the compiler's CPU category that the linker does not keep stay
    // carried over.
    EXPECT_NE(CLinkerModel("[S|FPU|SINGLE]").Serialize().find("[S|FPU|SINGLE]"), std::string::npos);
}

TEST(LinkerModel, ResetRestoresDefaultsButKeepsCarriedTokens) {
    CLinkerModel model(
        "[S|INPUT|\"a.o\"] [B|LTO|1] [Z|Z|1] [S|GROUPDET|.g|0|0||0||0|0|<<CEND>>|<<GEND>>|]");
    model.m_bSkipDependency = true;
    model.Reset();
    EXPECT_EQ(model.Serialize(), DefaultsWith("[Z|Z|1]"));
}

TEST(LinkerModel, TruncatedGroupTextIsReported) {
    MessageCapture messages("truncated_groups");
    CLinkerModel model(
        "[S|GROUPDET|.a|0|0||0||0|0|<<CEND>>|<<GEND>>|.g|0|0||0||0|0|0|.text|All-files]");
    ASSERT_EQ(model.m_layout.groups.size(), 1u);
    EXPECT_EQ(model.m_layout.groups[0].name, ".a");
    // The model reports; the caller shows the box.
    EXPECT_EQ(messages.Text(), "");
    ASSERT_EQ(model.ReadMessages().size(), 1u);
    quorle::ShowUserMessages(model.ReadMessages());
    EXPECT_EQ(messages.Text(), "ERROR\tAn error occurred processing section groups.  Please inform "
                               "us of this bug.\tOK\n");
}

TEST(LinkerModel, LayoutTokensRoundTrip) {
    CLinkerModel model;
    model.m_layout.groups = sections::DefaultGroups();
    model.m_layout.groups[0].contents.push_back(sections::LabelItem("_x____=____SIZEOF(\".a]b\")"));
    model.m_layout.regions = {{"rom", 2, "0x0", "0xFFFF"}};
    CLinkerModel back(model.Serialize());
    EXPECT_EQ(back.m_layout, model.m_layout);
    EXPECT_EQ(back.Serialize(), model.Serialize());
}
