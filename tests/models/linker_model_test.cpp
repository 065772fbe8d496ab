#include <gtest/gtest.h>

#include "models/linker_model.h"
#include "resources/message_box.h"
#include "sections/layout_tree.h"
#include "support/message_capture.h"

using quorle::models::LinkerModel;
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
    LinkerModel model("");
    EXPECT_EQ(model.Serialize(), kDefaults);
    EXPECT_EQ(LinkerModel(kDefaults).Serialize(), kDefaults);
    EXPECT_EQ(model.cpu_.familyCode_, 105);
    EXPECT_EQ(model.cpu_.endian_, 2);
    EXPECT_EQ(model.mapDir_, "$(CONFIGDIR)");
    EXPECT_EQ(model.mapName_, "$(PROJECTNAME)");
    EXPECT_EQ(model.relocCount_, "0");
    EXPECT_EQ(model.crcAddress_, "00000000");
}

TEST(LinkerModel, HostDefaultStringKeepsItsUnknownTokensInOrder) {
    const std::string host = "[V|VERSION|2] [B|OPTIMIZE|0] [B|DEBUG|1] "
                             "[S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]";
    LinkerModel model(host, "$(CONFIGDIR)\\$(PROJECTNAME).bls");
    EXPECT_EQ(
        model.Serialize(),
        DefaultsWith("[B|OPTIMIZE|0] [B|DEBUG|1] [S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]"));
    EXPECT_EQ(model.MapOptimisationFile(), "$(CONFIGDIR)\\$(PROJECTNAME).bls");
    // Written strings read back to themselves: the version is not carried.
    EXPECT_EQ(LinkerModel(model.Serialize()).Serialize(), model.Serialize());
}

TEST(LinkerModel, OptimisationFlagIsTheCarriedOptimizeToken) {
    LinkerModel model("[B|OPTIMIZE|0] [B|DEBUG|1]");
    EXPECT_FALSE(model.OptimisationFlag());
    model.SetOptimisationFlag(true);
    EXPECT_TRUE(model.OptimisationFlag());
    EXPECT_EQ(model.Serialize(), DefaultsWith("[B|OPTIMIZE|1] [B|DEBUG|1]"));
    model.SetOptimisationFlag(false);
    EXPECT_EQ(model.Serialize(), DefaultsWith("[B|OPTIMIZE|0] [B|DEBUG|1]"));

    LinkerModel bare("[B|DEBUG|1]");
    bare.SetOptimisationFlag(false);
    EXPECT_EQ(bare.Serialize(), DefaultsWith("[B|DEBUG|1]"));
    bare.SetOptimisationFlag(true);
    bare.SetOptimisationFlag(true);
    EXPECT_EQ(bare.Serialize(), DefaultsWith("[B|DEBUG|1] [B|OPTIMIZE|1]"));
}

TEST(LinkerModel, SwitchTokensWithOtherValuesAreCarriedOver) {
    LinkerModel model("[B|LTO|0] [B|GCSECTS|0] [B|LTO|1]");
    EXPECT_TRUE(model.lto_);
    EXPECT_FALSE(model.switches_[models::kSwGcSects]);
    std::string text = model.Serialize();
    EXPECT_NE(text.find("[B|LTO|1] [S|OUTFILE|"), std::string::npos);
    EXPECT_TRUE(text.ends_with(" [B|LTO|0] [B|GCSECTS|0]")) << text;
}

TEST(LinkerModel, ShowWordsAreMatchedWhole) {
    LinkerModel x("[S|SHOW|XREFERENCE]");
    EXPECT_EQ(x.show_, (std::array<bool, 5>{false, false, false, true, false}));
    LinkerModel r("[S|SHOW|REFERENCE]");
    EXPECT_EQ(r.show_, (std::array<bool, 5>{false, true, false, false, false}));
    LinkerModel all("[S|SHOW|TOTAL_SIZE|XREFERENCE|SECTION|REFERENCE|SYMBOL]");
    EXPECT_NE(all.Serialize().find("[S|SHOW|SYMBOL|REFERENCE|SECTION|XREFERENCE|TOTAL_SIZE]"),
              std::string::npos);
    EXPECT_EQ(LinkerModel("").Serialize().find("SHOW"), std::string::npos);
}

TEST(LinkerModel, DefineAcceptsCommaOrEqualsAndWritesComma) {
    LinkerModel equals("[S|DEFINE|\"A\"=\"1\"|\"B\"=\"x,y\"]");
    LinkerModel comma("[S|DEFINE|\"A\",\"1\"|\"B\",\"x,y\"]");
    EXPECT_EQ(equals.symbols_, (std::vector<models::LinkerSymbol>{{"A", "1"}, {"B", "x,y"}}));
    EXPECT_EQ(equals.Serialize(), comma.Serialize());
    EXPECT_NE(comma.Serialize().find("[S|DEFINE|\"A\",\"1\"|\"B\",\"x,y\"]"), std::string::npos);
}

TEST(LinkerModel, OutputFormsRoundTrip) {
    EXPECT_EQ(LinkerModel("[S|FORM|LIBRARY|S]").outputForm_, 3);
    EXPECT_EQ(LinkerModel("[S|FORM|LIBRARY|U]").outputForm_, 4);
    EXPECT_EQ(LinkerModel("[S|OUTFORM|BOTH]").outputForm_, 1);
    for (const char* form : {"[S|FORM|LIBRARY|S]", "[S|FORM|LIBRARY|U]", "[S|OUTFORM|BOTH]"}) {
        std::string text = LinkerModel(form).Serialize();
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
    LinkerModel model(text);
    model.Parse(text);
    EXPECT_EQ(model.libDirs_.size(), 2u);
    EXPECT_EQ(model.libraries_.size(), 2u);
    EXPECT_EQ(model.objects_.size(), 2u);
    EXPECT_EQ(model.binaries_.size(), 2u);
    EXPECT_EQ(model.binarySections_.size(), 2u);
    EXPECT_EQ(model.symbols_.size(), 2u);
    EXPECT_EQ(model.romSections_.size(), 2u);
    EXPECT_EQ(model.outputPieces_.size(), 2u);
    EXPECT_EQ(model.layout_.regions.size(), 2u);
    EXPECT_EQ(model.layout_.groups.size(), 2u);
    EXPECT_EQ(model.forcedSymbols_.size(), 2u);
    EXPECT_EQ(model.suppressedSymbols_.size(), 2u);
    EXPECT_EQ(model.checkAreas_.size(), 2u);
    EXPECT_EQ(model.crcRanges_.size(), 2u);
    EXPECT_EQ(model.Carried().size(), 2u);
}

TEST(LinkerModel, ValueSyntaxOfTheListKeys) {
    LinkerModel model("[S|INCDIR|\"C:\\a|b\"|\"x\"\"y\"|\"z]]\"] "
                      "[S|ARCHIVE|libc.a*C:\\lib\\libm.a*\"C:\\Program Files\\libq.a\"] "
                      "[S|BINARY|\"one.bin\"|\"(.one)\"] "
                      "[S|BINARY|\"two.bin\"(.two)|\"three.bin\"(.three,x)] "
                      "[S|ROM|(D,R)|(D2,R2)] "
                      "[S|MULTIOUTPUT|\"a.x\"=.text|\"b.x\"=\"sec=1 2\"] "
                      "[S|PLMFILE|\"C:\\maps\\prog.v1.map\"] "
                      "[S|ENTRY|\"_start\"] [B|ENTRY|1] [S|PRELINK|RUN] "
                      "[S|CRC|CCITT|FFFF0000|0-FF|100-1FF] "
                      "[S|;CHECKDEVICE|EXTERNAL,100,1FF|I/O,0x200,2ff|ROM,0,123456789]");
    EXPECT_EQ(model.libDirs_, (std::vector<std::string>{"C:\\a|b", "x\"y", "z]"}));
    EXPECT_EQ(model.libraries_,
              (std::vector<std::string>{"libc.a", "C:\\lib\\libm.a", "C:\\Program Files\\libq.a"}));
    EXPECT_EQ(model.binaries_, (std::vector<std::string>{"one.bin", "two.bin", "three.bin"}));
    EXPECT_EQ(model.binarySections_, (std::vector<std::string>{"(.one)", "(.two)", "(.three,x)"}));
    EXPECT_EQ(model.romSections_, (std::vector<std::string>{"D", "D2"}));
    EXPECT_EQ(model.ramSections_, (std::vector<std::string>{"R", "R2"}));
    EXPECT_EQ(model.outputPieces_, (std::vector<std::string>{"a.x", "b.x"}));
    EXPECT_EQ(model.pieceSections_, (std::vector<std::string>{".text", "sec=1 2"}));
    EXPECT_EQ(model.mapDir_, "C:\\maps");
    EXPECT_EQ(model.mapName_, "prog.v1");
    EXPECT_EQ(model.MapFilePath(), "C:\\maps\\prog.v1.map");
    EXPECT_EQ(model.entry_, "_start");
    EXPECT_TRUE(model.entryOn_);
    EXPECT_EQ(model.prelink_, 2);
    EXPECT_EQ(model.crcType_, 1);
    EXPECT_EQ(model.crcAddress_, "FFFF0000");
    EXPECT_EQ(model.crcRanges_, (std::vector<std::string>{"0-FF", "100-1FF"}));
    EXPECT_EQ(model.checkAreas_,
              (std::vector<models::CpuCheckArea>{{"RAM", "0x00000100", "0x000001FF"},
                                                 {"RAM", "0x00000200", "0x000002FF"},
                                                 {"ROM", "0x00000000", "0xFFFFFFFF"}}));
    // An unknown CRC word leaves the type as it was.
    model.Parse("[S|CRC|BOGUS|1]");
    EXPECT_EQ(model.crcType_, 1);
}

TEST(LinkerModel, SerializerOrderTokenForToken) {
    LinkerModel model;
    model.subcommand_ = true;
    model.subcommandType_ = 1;
    model.subcommandFile_ = "my.cmd";
    model.libDirs_ = {"L"};
    model.groupLibs_ = model.fixupLibs_ = true;
    model.libraries_ = {"libc.a", "libm.a"};
    model.objects_ = {"a.o"};
    model.binaries_ = {"b.bin"};
    model.binarySections_ = {".b"};
    model.symbols_ = {{"S", "1"}};
    model.entryOn_ = true;
    model.entry_ = "_go";
    model.prelink_ = 1;
    model.outputForm_ = 1;
    model.hexRecord_ = 2;
    model.sRecord_ = 3;
    model.relocSplit_ = true;
    model.relocCount_ = "7";
    model.romSections_ = {"D"};
    model.ramSections_ = {"R"};
    model.divideOutput_ = true;
    model.outputPieces_ = {"p.x"};
    model.pieceSections_ = {".text"};
    model.warnUnused_ = model.dataStuff_ = model.dataStuffMap_ = model.mapFile_ = true;
    model.show_ = {true, false, false, false, true};
    model.useGcc_ = model.lto_ = model.objsOnCmdLine_ = true;
    model.outputFile_ = "o.x";
    model.layout_.regions = {{"ram", 1, "0", "F"}};
    model.forcedSymbols_ = {"f1", "f2"};
    model.suppressedSymbols_ = {"u"};
    model.cpuCheckMode_ = 2;
    model.checkAreas_ = {{"ROM", "0x00000000", "0x000000FF"}};
    model.cpuInfoFile_ = "c.cpu";
    model.psCheck_ = "P";
    model.switches_[models::kSwBStatic] = model.switches_[models::kSwGcSects] = true;
    model.appText_ = "--x";
    ASSERT_TRUE(model.cpu_.SetCpuType("CV2"));
    model.cpu_.endian_ = 1;
    model.cpu_.familyFlags_[1] = true;
    model.projectType_ = 1;
    model.optLib_ = model.projectIsLibrary_ = true;
    model.SetCarried({"Q|X|1"});
    model.mapBatch_ = true;
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
    LinkerModel back(model.Serialize());
    EXPECT_EQ(static_cast<const models::LinkerFields&>(back),
              static_cast<const models::LinkerFields&>(model));
}

TEST(LinkerModel, ZentaCpuKeysComeWithTheirNumbers) {
    LinkerModel model("[S|CPUTYPE|ZN200] [S|CPU|ZN610] [B|RMRELAX|1] [S|ENDIAN|BIG]");
    EXPECT_EQ(model.cpu_.familyCode_, 104);
    std::string text = model.Serialize();
    EXPECT_NE(text.find("[S|CPUTYPE|ZN200] [S|ENDIAN|BIG] [S|CPU|ZN610] [B|RMRELAX|1] "
                        "[I|RMINTREGVAL|0] [I|RMMAXCONSTVAL|0] [I|RMMAXVARSVAL|0] "
                        "[S|PROJECTTYPE|CAPPPROJECT]"),
              std::string::npos)
        << text;
    // Keys of the compiler's CPU category that the linker does not keep stay
    // carried over.
    EXPECT_NE(LinkerModel("[S|FPU|SINGLE]").Serialize().find("[S|FPU|SINGLE]"), std::string::npos);
}

TEST(LinkerModel, ResetRestoresDefaultsButKeepsCarriedTokens) {
    LinkerModel model(
        "[S|INPUT|\"a.o\"] [B|LTO|1] [Z|Z|1] [S|GROUPDET|.g|0|0||0||0|0|<<CEND>>|<<GEND>>|]");
    model.skipDependency_ = true;
    model.Reset();
    EXPECT_EQ(model.Serialize(), DefaultsWith("[Z|Z|1]"));
}

TEST(LinkerModel, TruncatedGroupTextIsReported) {
    MessageCapture messages("truncated_groups");
    const std::string truncated =
        "[S|GROUPDET|.a|0|0||0||0|0|<<CEND>>|<<GEND>>|.g|0|0||0||0|0|0|.text|All-files]";
    models::LinkerRead read = models::ReadLinkerModel(truncated, "m.bls");
    ASSERT_EQ(read.model.layout_.groups.size(), 1u);
    EXPECT_EQ(read.model.layout_.groups[0].name, ".a");
    EXPECT_EQ(read.model.MapOptimisationFile(), "m.bls");
    // The model reports; the caller shows the box.
    EXPECT_EQ(messages.Text(), "");
    ASSERT_EQ(read.messages.size(), 1u);
    quorle::ShowUserMessages(read.messages);
    EXPECT_EQ(messages.Text(), "ERROR\tAn error occurred processing section groups.  Please inform "
                               "us of this bug.\tOK\n");
    // Each read answers for its own tokens: one message per truncated text.
    EXPECT_EQ(read.model.Parse(truncated + " " + truncated).size(), 2u);
    EXPECT_TRUE(read.model.Parse("[S|GROUPDET|.g|0|0||0||0|0|<<CEND>>|<<GEND>>|]").empty());
    // The read model is the one the constructor builds.
    EXPECT_EQ(models::ReadLinkerModel(truncated, "m.bls").model.Serialize(),
              LinkerModel(truncated, "m.bls").Serialize());
}

TEST(LinkerModel, LayoutTokensRoundTrip) {
    LinkerModel model;
    model.layout_.groups = sections::DefaultGroups();
    model.layout_.groups[0].contents.push_back(sections::LabelItem("_x____=____SIZEOF(\".a]b\")"));
    model.layout_.regions = {{"rom", 2, "0x0", "0xFFFF"}};
    LinkerModel back(model.Serialize());
    EXPECT_EQ(back.layout_, model.layout_);
    EXPECT_EQ(back.Serialize(), model.Serialize());
}
