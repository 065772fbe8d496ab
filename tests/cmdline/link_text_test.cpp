#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "cmdline/linker_inputs.h"
#include "cmdline/linker_text.h"
#include "models/linker_model.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

using namespace quorle::cmdline;
using quorle::models::LinkerModel;
namespace models = quorle::models;
namespace fs = std::filesystem;

using quorle::testing_support::ReadBytes;
using quorle::testing_support::TempDir;

namespace {

std::string Build(LinkerModel& model, std::vector<std::string> inputs = {}, bool inputFile = false,
                  std::string dir = "C:\\cfg") {
    std::string out;
    EXPECT_TRUE(BuildLinkText(model, std::move(inputs), out, dir, inputFile).ok);
    return out;
}

// The option lines of a model that has nothing to report.
std::string OptionLines(const LinkerModel& model) {
    quorle::cmdline::OptionLineText lines = LinkerOptionLines(model);
    EXPECT_TRUE(lines.messages.empty());
    return lines.text;
}

} // namespace

TEST(LinkText, DefaultModelWithoutInputs) {
    LinkerModel model;
    EXPECT_EQ(Build(model), "-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n");
}

TEST(LinkText, InputFileComesFirstAndReceivesTheObjects) {
    TempDir temp("quorle-link_inputfile");
    fs::path dir = temp.Root();
    LinkerModel model;
    model.outputFile_ = "$(CONFIGDIR)\\my prog.x";
    std::string out = Build(model,
                            {"C:\\o\\a.o|Object file", "C:\\o\\b.o|Object file",
                             "C:\\l\\libx.a|Library file", "d.rel|Relocatable file"},
                            true, dir.string());
    fs::path file = dir / "my~prog_input.tmp";
    // The path is formed the Windows way; the platform layer maps it.
    EXPECT_EQ(out, "-T \"" + dir.string() + "\\my~prog_input.tmp\" \n" +
                       "-l \"C:\\l\\libx\"\n-o \"$(CONFIGDIR)\\my prog.x\"\n");
    // Walked from the last input; each line ends CR LF as a Windows text file.
    EXPECT_EQ(ReadBytes(file),
              "INPUT(\"d.rel\")\r\nINPUT(\"C:\\o\\b.o\")\r\nINPUT(\"C:\\o\\a.o\")\r\n");
    // A second build starts the file afresh.
    Build(model, {"x.o|Object file"}, true, dir.string());
    EXPECT_EQ(ReadBytes(file), "INPUT(\"x.o\")\r\n");
    // No objects: the file exists and is empty.
    Build(model, {}, true, dir.string());
    EXPECT_TRUE(fs::exists(file));
    EXPECT_EQ(fs::file_size(file), 0u);
}

// gcc moves every -T behind the libraries; -Xlinker keeps the input file in
// front of them, where ld then reads its objects. The file is the same.
TEST(LinkText, AGccDrivenLinkNamesTheInputFileBeforeTheLibraries) {
    TempDir temp("quorle-link_gccinput");
    fs::path dir = temp.Root();
    LinkerModel model;
    model.useGcc_ = true;
    model.outputFile_ = "$(CONFIGDIR)\\prog.x";
    std::string out =
        Build(model, {"C:\\o\\a.o|Object file", "libgcc.a|Library file"}, true, dir.string());
    EXPECT_EQ(out, "-Xlinker -T -Xlinker \"" + dir.string() + "\\prog_input.tmp\" \n" +
                       "-nostartfiles\n-l \"gcc\"\n-o \"$(CONFIGDIR)\\prog.x\"\n");
    EXPECT_EQ(ReadBytes(dir / "prog_input.tmp"), "INPUT(\"C:\\o\\a.o\")\r\n");
    EXPECT_EQ(LinkerInputFileLine(model, "C:\\a,b\\p_input.tmp"),
              "-Xlinker -T -Xlinker \"C:\\a,b\\p_input.tmp\" ");
    model.useGcc_ = false;
    EXPECT_EQ(LinkerInputFileLine(model, "C:\\p_input.tmp"), "-T \"C:\\p_input.tmp\" ");
}

TEST(LinkText, ObjectsOnTheCommandLine) {
    LinkerModel model;
    model.objsOnCmdLine_ = true;
    // Reordered to binaries then objects, then walked from the last entry.
    EXPECT_EQ(Build(model, {"a.o|Object file", "b.bin|Binary file"}, true),
              "\"a.o\"\n\"b.bin\"\n-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n");
    model.objsOnCmdLine_ = false;
    EXPECT_EQ(Build(model, {"a.o|Object file", "b.bin|Binary file", "c.rel|Relocatable file"}),
              "-input=\"c.rel\"\n\"a.o\"\n-binary=\"b.bin\"\n"
              "-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n");
}

TEST(LinkText, UnwritableInputFileIsReported) {
    TempDir temp("quorle-link_unwritable");
    fs::path dir = temp.Root() / "missing";
    LinkerModel model;
    std::string out;
    LinkTextResult result =
        BuildLinkText(model, {"a.o|Object file", "b.o|Object file"}, out, dir.string(), true);
    EXPECT_TRUE(result.ok);
    EXPECT_EQ(result.unwrittenInputs, (std::vector<std::string>{"b.o", "a.o"}));
    ASSERT_EQ(result.messages.size(), 1u);
    EXPECT_EQ(result.messages[0].kind, quorle::MessageKind::Error);
    EXPECT_TRUE(result.messages[0].text.ends_with("missing from the link:\nb.o\na.o"));
}

TEST(LinkText, BadInputsFailWithTheTextBuiltSoFar) {
    LinkerModel model;
    std::string out;
    EXPECT_FALSE(BuildLinkText(model, {"a.o|Object file", "noBar"}, out, "", false).ok);
    EXPECT_FALSE(
        BuildLinkText(model, {"a.o|Object file", "b.o|Weird file"}, out, "", false, true).ok);
    EXPECT_EQ(out, "|-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"");
}

TEST(LinkText, LibrariesWalkedBackwardsAndGrouped) {
    LinkerModel model;
    model.useGcc_ = true;
    model.groupLibs_ = true;
    std::string out = Build(model, {"libm.a|Library file", "libc.a|Library file"});
    EXPECT_NE(out.find("\n-Wl,--start-group -l \"c\" -l \"m\" -Wl,--end-group\n"),
              std::string::npos)
        << out;
    model.useGcc_ = false;
    out = Build(model, {"libm.a|Library file", "libc.a|Library file"});
    EXPECT_TRUE(out.starts_with("--start-group -l \"c\" -l \"m\" --end-group\n")) << out;
    model.groupLibs_ = false;
    out = Build(model, {"C:\\libs\\libfoo.a|Library file", "mylib|Library file"});
    EXPECT_TRUE(out.starts_with("-l \"mylib\" -l \"C:\\libs\\libfoo\"\n")) << out;
}

TEST(LinkText, LongLinesAreFoldedFrom511Characters) {
    for (size_t length : {510u, 511u}) {
        std::string line(length, 'x');
        line.replace(10, 1, ",");
        line.replace(20, 1, ":");
        std::string folded = FoldLongLines(line + "\nshort,line:\n");
        if (length == 511)
            EXPECT_EQ(folded, line.substr(0, 11) + " &\n" + line.substr(11, 10) + " &\n" +
                                  line.substr(21) + "\nshort,line:\n");
        else
            EXPECT_EQ(folded, line + "\nshort,line:\n");
    }
}

TEST(LinkText, BarLinesMoveLastThenAdditionalOptions) {
    LinkerModel model;
    model.outputForm_ = models::kFormBoth;
    model.mapFile_ = true;
    model.appText_ = "--user-option";
    EXPECT_EQ(Build(model, {"a.o|Object file"}),
              "-Map \"$(CONFIGDIR)\\$(PROJECTNAME).map\"\n\"a.o\"\n"
              "-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n--user-option\n");
}

TEST(LinkText, OptionLinesInOrderForLd) {
    LinkerModel model;
    model.entryOn_ = true;
    model.entry_ = "_start";
    model.symbols_ = {{"A", "1"}, {"B", "0x10"}};
    model.libDirs_ = {"$(TCINSTALL)\\lib", "C:\\my libs"};
    model.relocSplit_ = true;
    model.relocCount_ = "12";
    model.lto_ = true;
    model.mapFile_ = true;
    model.sectionStarts_ = {"P,C(1000)", "{D:B}(2000)"};
    model.forcedSymbols_ = {"f1", "f2"};
    model.cpuCheckMode_ = 1;
    model.checkAreas_ = {{"ROM", "0x00000000", "0x0000FFFF"}, {"RAM", "0x00100000", "0x0010FFFF"}};
    model.psCheck_ = "x";
    model.switches_[models::kSwBStatic] = true;
    model.switches_[models::kSwDelLs] = true;
    model.switches_[models::kSwGcSects] = true;
    EXPECT_EQ(OptionLines(model), "-entry=_start\n"
                                  "-defsym A=1\n"
                                  "-defsym B=0x10\n"
                                  "-L \"$(TCINSTALL)\\lib\"\n"
                                  "-L \"C:\\my libs\"\n"
                                  "-split-by-reloc=12\n"
                                  "-flto\n"
                                  "|-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n"
                                  "-Map \"$(CONFIGDIR)\\$(PROJECTNAME).map\"\n"
                                  "-start=P,C/1000,(D:B)/2000\n"
                                  "-fsymbol=f1\n"
                                  "-fsymbol=f2\n"
                                  "-cpu=ROM=0x00000000-0x0000FFFF,RAM=0x00100000-0x0010FFFF\n"
                                  "-ps_check=x\n"
                                  "-Bstatic\n"
                                  "-x\n"
                                  "--gc-sections");
    model.cpuCheckMode_ = 2;
    model.cpuInfoFile_ = "C:\\cpu.cpu";
    EXPECT_NE(OptionLines(model).find("\n-cpu=C:\\cpu.cpu\n"), std::string::npos);
}

TEST(LinkText, OptionLinesThroughGcc) {
    LinkerModel model;
    model.useGcc_ = true;
    model.entryOn_ = true;
    model.entry_ = "Reset_Handler";
    model.symbols_ = {{"A", "1"}};
    model.relocSplit_ = true;
    model.relocCount_ = "3";
    model.mapFile_ = true;
    model.switches_[models::kSwBStatic] = true;
    EXPECT_EQ(OptionLines(model), "-Wl,-entry=Reset_Handler\n"
                                  "-Wl,-defsym -Wl,A=1\n"
                                  "-Wl,-split-by-reloc=3\n"
                                  "-nostartfiles\n"
                                  "|-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"\n"
                                  "-Wl,-Map=\"$(CONFIGDIR)\\$(PROJECTNAME).map\"\n"
                                  "-Wl,-Bstatic");
    EXPECT_EQ(GccMarker(model), "--use-gcc-to-link");
    model.useGcc_ = false;
    EXPECT_EQ(GccMarker(model), "");
    // A count of "0" or nothing gives no split.
    model.relocCount_ = "0";
    EXPECT_EQ(OptionLines(model).find("split-by-reloc"), std::string::npos);
}

TEST(LinkText, LibraryFormsHaveNoEntrySymbolsStartsOrChecks) {
    for (int form : {models::kFormLibraryS, models::kFormLibraryU}) {
        LinkerModel model;
        model.outputForm_ = form;
        model.entryOn_ = true;
        model.entry_ = "_start";
        model.symbols_ = {{"A", "1"}};
        model.sectionStarts_ = {"P(0)"};
        model.forcedSymbols_ = {"f"};
        model.cpuCheckMode_ = 2;
        model.psCheck_ = "x";
        EXPECT_EQ(OptionLines(model), "|-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"") << form;
    }
}

TEST(LinkText, UserSubcommandFileReplacesTheOptionLines) {
    LinkerModel model;
    model.subcommand_ = true;
    model.subcommandFile_ = "C:\\my.sub";
    model.useGcc_ = true;
    model.lto_ = true;
    EXPECT_EQ(OptionLines(model), "-Wl,@\"C:\\my.sub\"");
    model.useGcc_ = false;
    EXPECT_EQ(OptionLines(model), "@\"C:\\my.sub\"");
    model.subcommandType_ = 1;
    EXPECT_EQ(OptionLines(model), "-T \"C:\\my.sub\"");
    model.subcommandType_ = 2;
    quorle::cmdline::OptionLineText invalid = LinkerOptionLines(model);
    EXPECT_EQ(invalid.text, "");
    EXPECT_EQ(invalid.messages,
              quorle::UserMessages{quorle::ErrorText("Invalid sub-command file type")});
    // Without a file name the ordinary lines are written.
    model.subcommandFile_.clear();
    EXPECT_NE(OptionLines(model).find("-flto"), std::string::npos);
}

TEST(LinkText, FamilyFlags) {
    LinkerModel corvo("[S|CPUTYPE|CV2] [S|ENDIAN|LITTLE] [B|MMORVATH|1] [B|MRELAX|1]");
    EXPECT_TRUE(OptionLines(corvo).ends_with("\n-EL -mcorvolelf\n-morvath\n-relax"));
    LinkerModel corvoBig("[S|CPUTYPE|CV2] [S|ENDIAN|BIG]");
    EXPECT_EQ(OptionLines(corvoBig).find("-EL"), std::string::npos);
    LinkerModel pelka("[S|CPUTYPE|PK2] [B|HMRELAX|1] [B|HMNORMAL|1]");
    EXPECT_TRUE(OptionLines(pelka).ends_with("\n-relax"));
    LinkerModel tamsin("[S|CPUTYPE|TM16A] [S|ENDIAN|LITTLE]");
    EXPECT_EQ(OptionLines(tamsin), "|-o \"$(CONFIGDIR)\\$(PROJECTNAME).x\"");
    LinkerModel zenta("[S|CPUTYPE|ZN600] [S|ENDIAN|BIG] [B|RMRELAX|1] [B|USEGCCTOLINK|1]");
    EXPECT_TRUE(OptionLines(zenta).ends_with("\n-Wl,-EB -Wl,--oformat=elf32-zenta-be \n-relax"));
    LinkerModel zentaLd("[S|CPUTYPE|ZN600] [S|ENDIAN|BIG]");
    EXPECT_TRUE(OptionLines(zentaLd).ends_with("\n-EB --oformat=elf32-zenta-be "));
    LinkerModel zentaUnset("[S|CPUTYPE|ZN600]");
    EXPECT_EQ(OptionLines(zentaUnset).find("-EB"), std::string::npos);
}

TEST(LinkText, ReorderByTheLinkOrderLists) {
    LinkerModel model;
    model.libraries_ = {"libc.a", "LIBUSER.A", "libm.a"};
    model.objects_ = {"start.o", "main.o"};
    model.binaries_ = {"font.bin"};
    std::vector<std::string> inputs = {
        "C:\\p\\Main.O|Object file",     "C:\\p\\extra.o|Object file",
        "C:\\l\\libuser.a|Library file", "D:\\start.o|Object file",
        "E:\\font.bin|Binary file",      "C:\\p\\late.rel|Relocatable file",
        "C:\\l\\other.a|Library file",   "F:\\pic.bin|Binary file"};
    ASSERT_TRUE(ReorderInputs(model, inputs));
    EXPECT_EQ(model.libraries_, (std::vector<std::string>{"libc.a", "C:\\l\\libuser.a", "libm.a"}));
    EXPECT_EQ(model.objects_, (std::vector<std::string>{"D:\\start.o", "C:\\p\\Main.O"}));
    EXPECT_EQ(model.binaries_, (std::vector<std::string>{"E:\\font.bin"}));
    EXPECT_EQ(inputs, (std::vector<std::string>{
                          "E:\\font.bin|Binary file", "F:\\pic.bin|Binary file",
                          "D:\\start.o|Object file", "C:\\p\\Main.O|Object file",
                          "C:\\p\\extra.o|Object file", "C:\\p\\late.rel|Relocatable file",
                          "libc.a|Library file", "C:\\l\\libuser.a|Library file",
                          "libm.a|Library file", "C:\\l\\other.a|Library file"}));
    std::vector<std::string> bad = {"a.o|Object file", "b.o"};
    EXPECT_FALSE(ReorderInputs(model, bad));
}

TEST(LinkText, ReorderMatchesLibrariesBeforeObjectsAndKeepsDuplicates) {
    LinkerModel model;
    model.libraries_ = {"x.o"};
    model.objects_ = {"x.o", "y.o", "y.o"};
    std::vector<std::string> inputs = {"a\\x.o|Object file", "a\\y.o|Object file",
                                       "b\\y.o|Object file", "c\\y.o|Object file"};
    ASSERT_TRUE(ReorderInputs(model, inputs));
    // The libraries list takes "x.o" first, though it is an object.
    EXPECT_EQ(model.libraries_, (std::vector<std::string>{"a\\x.o"}));
    EXPECT_EQ(model.objects_, (std::vector<std::string>{"x.o", "c\\y.o", "b\\y.o"}));
    // Every input stays in the link, however many share a name.
    EXPECT_EQ(inputs, (std::vector<std::string>{"x.o|Object file", "c\\y.o|Object file",
                                                "b\\y.o|Object file", "a\\y.o|Object file",
                                                "a\\x.o|Library file"}));
}

TEST(LinkText, BuildReordersUnlessTold) {
    LinkerModel model;
    model.objects_ = {"b.o", "a.o"};
    std::string out;
    ASSERT_TRUE(
        BuildLinkText(model, {"x\\a.o|Object file", "x\\b.o|Object file"}, out, "", false).ok);
    // Walked from the last input: a.o is named first, then b.o.
    EXPECT_TRUE(out.starts_with("\"x\\a.o\"\n\"x\\b.o\"\n")) << out;
    LinkerModel untouched;
    untouched.objects_ = {"b.o", "a.o"};
    ASSERT_TRUE(
        BuildLinkText(untouched, {"x\\a.o|Object file", "x\\b.o|Object file"}, out, "", false, true)
            .ok);
    EXPECT_TRUE(out.starts_with("\"x\\b.o\"\n\"x\\a.o\"\n")) << out;
    EXPECT_EQ(untouched.objects_, (std::vector<std::string>{"b.o", "a.o"}));
}
