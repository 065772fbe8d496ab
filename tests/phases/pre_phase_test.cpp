// PrePhase through the export: sub-command files, commands, the linker's
// choices and the generator's up-to-date decision.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "interface/quorle.h"
#include "platform/platform.h"
#include "step_fixture.h"

namespace fs = std::filesystem;
using quorle::testing::ScratchProject;

namespace {

struct PreResult {
    int result = -1;
    int32_t ready = 0;
    std::string command;
    std::string directory;
};

PreResult RunPre(ScratchProject& p, const char* phase, const std::string& inputList,
                 const std::string& options, int32_t customLinkage = 0,
                 const QuorleProjectInfo* info = nullptr) {
    static char command[1024];
    static char directory[1024];
    command[0] = directory[0] = '\0';
    PreResult r;
    int value = 1;
    r.result = PrePhase(phase, inputList.c_str(), &value, options.c_str(), "", &r.ready, command,
                        directory, info ? info : p.Info(), customLinkage);
    r.command = command;
    r.directory = directory;
    return r;
}

std::string List(std::initializer_list<std::string> entries) {
    std::string list;
    for (const std::string& e : entries) list += e + '\0';
    return list + '\0';
}

std::string Native(std::string path) {
    for (char& c : path)
        if (c == '\\') c = '/';
    return path;
}

} // namespace

TEST(PrePhaseCompiler, WritesTheProtectedSubcommandFileAndHandsOverTheCommand) {
    ScratchProject p;
    std::string obj = p.configDir + "/obj/my main.o";
    std::string options = "[V|VERSION|2] [S|OBJPATH|\"" + obj + "\"]";
    PreResult r = RunPre(p, "GNU Compiler", List({p.root + "/main.c|C source file"}), options);
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.ready, 1);
    std::string sub = p.configDir + "\\my~main.gcc";
    EXPECT_EQ(r.command, "@\"" + sub + "\"");
    EXPECT_EQ(r.directory, p.configDir);
    EXPECT_EQ(p.ReadBytes(Native(sub)),
              "-c -x c\r\n-O2\r\n\"" + p.root + "/main.c\"\r\n-g\r\n-g3\r\n-o \"" + obj + "\"\r\n");
    auto attributes = quorle::platform::GetFileAttributes(sub);
    ASSERT_TRUE(attributes);
    EXPECT_TRUE(*attributes & quorle::platform::kAttrReadOnly);
    EXPECT_TRUE(*attributes & quorle::platform::kAttrHidden);
    EXPECT_TRUE(fs::is_directory(p.configDir + "/obj"));
    // The next build replaces the read-only file.
    EXPECT_EQ(RunPre(p, "GNU Compiler", List({p.root + "/b.c|C source file"}), options).result, 0);
    EXPECT_NE(p.ReadBytes(Native(sub)).find("/b.c\""), std::string::npos);
}

TEST(PrePhaseCompiler, AnUnresolvedObjectDirectoryIsNotCreated) {
    ScratchProject p;
    // Without OBJPATH the object path is the model's default, which still
    // holds the configuration directory's placeholder.
    std::error_code ec;
    fs::path before = fs::current_path(ec);
    ASSERT_FALSE(ec);
    fs::current_path(p.root);
    PreResult r =
        RunPre(p, "GNU Compiler", List({p.root + "/main.c|C source file"}), "[V|VERSION|2]");
    fs::current_path(before);
    ASSERT_EQ(r.result, 0);
    EXPECT_FALSE(fs::exists(p.root + "/$(CONFIGDIR)"));
    // The sub-command file is still written, in the configuration directory.
    EXPECT_EQ(r.command.rfind("@\"" + p.configDir + "\\", 0), 0u) << r.command;
}

TEST(PrePhaseCompiler, NothingToDoAndRefusals) {
    ScratchProject p;
    EXPECT_EQ(RunPre(p, "Compiler", List({}), "").result, 2);
    EXPECT_EQ(RunPre(p, "Assembler", List({}), "").result, 2);
    EXPECT_TRUE(fs::is_empty(p.configDir));
    // An entry without a file type.
    EXPECT_EQ(RunPre(p, "Compiler", List({p.root + "/a.c"}), "").result, 1);
    // A record of the wrong size, or a missing configuration directory.
    QuorleProjectInfo bad = *p.Info();
    bad.size = 12;
    EXPECT_EQ(RunPre(p, "Compiler", List({"a.c|C source file"}), "", 0, &bad).result, 1);
    bad = *p.Info();
    bad.configDir = nullptr;
    EXPECT_EQ(RunPre(p, "Compiler", List({"a.c|C source file"}), "", 0, &bad).result, 1);
    int32_t ready = 0;
    char buf[1024];
    int value = 1;
    EXPECT_EQ(PrePhase("Compiler", List({"a.c|C source file"}).c_str(), nullptr, "", "", &ready,
                       buf, buf, p.Info(), 0),
              1);
    EXPECT_EQ(PrePhase("Debug", "", &value, "", "", &ready, buf, buf, p.Info(), 0), 1);
    EXPECT_EQ(ready, 0);
}

TEST(PrePhaseAssembler, InputsThenTheAssemblerArguments) {
    ScratchProject p;
    std::string options = "[V|VERSION|2] [S|OBJPATH|\"" + p.configDir + "/start.o\"]";
    PreResult r =
        RunPre(p, "GNU Assembler", List({p.root + "/start.s|Assembly source file"}), options);
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.command, "@\"" + p.configDir + "\\start.gas\"");
    EXPECT_EQ(p.ReadBytes(p.configDir + "/start.gas"),
              "\"" + p.root + "/start.s\"\r\n--gdwarf2\r\n-o \"" + p.configDir + "/start.o\"\r\n");
}

TEST(PrePhaseLinker, CustomLinkageIsRefusedWithItsWarning) {
    ScratchProject p;
    EXPECT_EQ(RunPre(p, "Linker", List({}), "[V|VERSION|2]", 1).result, 1);
    auto lines = p.MessageLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 56), "WARNING\tDravik GNU tools do not currently support custom");
    EXPECT_TRUE(fs::is_empty(p.configDir));
    // Other phases ignore the flag.
    EXPECT_EQ(RunPre(p, "Compiler", List({}), "", 1).result, 2);
}

TEST(PrePhaseLinker, UserSubcommandFileIsUsedAsItStands) {
    ScratchProject p;
    std::string options = "[V|VERSION|2] [B|SUBCOMMAND|1] [B|DOEXTF|1] [S|EXTFILE|\"C:\\my.sub\"]";
    PreResult r = RunPre(p, "Linker", List({}), options);
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(r.command, "@\"C:\\my.sub\"");
    EXPECT_TRUE(fs::is_empty(p.configDir));
    r = RunPre(p, "Linker", List({}), options + " [B|USEGCCTOLINK|1]");
    EXPECT_EQ(r.command, "--use-gcc-to-link @\"C:\\my.sub\"");
    // A null input list is refused; an empty one is fine.
    int32_t ready = 0;
    char buf[1024];
    int value = 1;
    EXPECT_EQ(
        PrePhase("Linker", nullptr, &value, options.c_str(), "", &ready, buf, buf, p.Info(), 0), 1);
}

TEST(PrePhaseLinker, ConfigurationDirectoryLengthLimit) {
    ScratchProject p;
    std::string options = "[V|VERSION|2] [B|SUBCOMMAND|1] [B|DOEXTF|1] [S|EXTFILE|\"C:\\my.sub\"]";
    p.configDir = "C:\\" + std::string(1020, 'd');
    EXPECT_EQ(p.configDir.size(), 1023u);
    PreResult r = RunPre(p, "Linker", List({}), options);
    EXPECT_EQ(r.result, 0);
    EXPECT_EQ(r.directory, p.configDir);
    p.configDir += 'd';
    EXPECT_EQ(RunPre(p, "Linker", List({}), options).result, 1);
    // The marker counts against the command buffer too.
    p.configDir = "C:\\cfg";
    std::string longFile = "C:\\" + std::string(998, 'f');
    std::string gcc =
        "[V|VERSION|2] [B|SUBCOMMAND|1] [B|DOEXTF|1] [B|USEGCCTOLINK|1] [S|EXTFILE|\"";
    EXPECT_EQ(RunPre(p, "Linker", List({}), gcc + longFile + "\"]").result, 0);
    EXPECT_EQ(RunPre(p, "Linker", List({}), gcc + longFile + "f\"]").result, 1);
}

TEST(PrePhaseLinker, GeneratedSubcommandFileWithScriptAndInputFile) {
    ScratchProject p;
    std::string options =
        "[V|VERSION|2] [S|OUTFORM|DEFAULT] [S|OUTFILE|\"" + p.configDir + "/my prog.x\"]";
    PreResult r = RunPre(p, "OptLinker", List({p.configDir + "/main.o|Object file"}), options);
    ASSERT_EQ(r.result, 0);
    std::string gld = p.configDir + "\\my~prog.gld";
    EXPECT_EQ(r.command, "@\"" + gld + "\"");
    std::string text = p.ReadBytes(Native(gld));
    std::string script = p.configDir + "\\my~prog_DEBUG_auto.gsi";
    // The script first, then the link text with its linker input file.
    EXPECT_EQ(text, "-T \"" + script + "\"\r\n-T \"" + p.configDir +
                        "\\my~prog_input.tmp\" \r\n-o \"" + p.configDir + "/my prog.x\"\r\n");
    EXPECT_EQ(p.ReadBytes(Native(script)).substr(0, 20), "OUTPUT_ARCH(corvo)\r\n");
    EXPECT_EQ(p.ReadBytes(p.configDir + "/my~prog_input.tmp"),
              "INPUT(\"" + p.configDir + "/main.o\")\r\n");
    auto attributes = quorle::platform::GetFileAttributes(gld);
    ASSERT_TRUE(attributes);
    EXPECT_TRUE(*attributes & quorle::platform::kAttrHidden);

    // A user linker script (type 1): no script is generated.
    fs::remove(Native(script));
    std::string scriptOptions = options + " [B|SUBCOMMAND|1] [B|DOSEGF|1] [S|EXTFILE|\"u.ld\"]";
    ASSERT_EQ(RunPre(p, "Linker", List({}), scriptOptions).result, 0);
    EXPECT_FALSE(fs::exists(Native(script)));
    EXPECT_EQ(p.ReadBytes(Native(gld)).find("-T \"" + script), std::string::npos);
}

TEST(PrePhaseLinker, ScriptThatCannotBeWrittenFailsTheStep) {
    ScratchProject p;
    std::string options = "[V|VERSION|2] [S|OUTFILE|\"" + p.configDir + "/prog.x\"]";
    // A directory stands where the script should go.
    fs::create_directories(p.configDir + "/prog_DEBUG_auto.gsi");
    EXPECT_EQ(RunPre(p, "Linker", List({}), options).result, 1);
    auto lines = p.MessageLines();
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), "ERROR\tError writing to sections file\tOK");
    EXPECT_FALSE(fs::exists(p.configDir + "/prog.gld"));
}

TEST(PrePhaseLinker, ObjectsThatCannotReachTheInputFileFailTheStep) {
    ScratchProject p;
    std::string options = "[V|VERSION|2] [S|OUTFILE|\"" + p.configDir + "/prog.x\"]";
    fs::create_directories(p.configDir + "/prog_input.tmp");
    EXPECT_EQ(RunPre(p, "Linker", List({p.configDir + "/a.o|Object file"}), options).result, 1);
    auto lines = p.MessageLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].substr(0, 6), "ERROR\t");
    EXPECT_NE(lines[0].find("/a.o"), std::string::npos);
    EXPECT_FALSE(fs::exists(p.configDir + "/prog.gld"));
}

// The reading's box and the link text's come once each, in that order.
TEST(PrePhaseLinker, BoxesOfTheReadAndOfTheLinkTextInTheirOrder) {
    ScratchProject p;
    std::string options =
        "[V|VERSION|2] [S|OUTFILE|\"" + p.configDir +
        "/prog.x\"] [S|GROUPDET|.a|0|0||0||0|0|<<CEND>>|<<GEND>>|.g|0|0||0||0|0|0|.text|All-files]";
    fs::create_directories(p.configDir + "/prog_input.tmp");
    EXPECT_EQ(RunPre(p, "Linker", List({p.configDir + "/a.o|Object file"}), options).result, 1);
    auto lines = p.MessageLines();
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], "ERROR\tAn error occurred processing section groups.  Please inform us "
                        "of this bug.\tOK");
    EXPECT_EQ(lines[1].substr(0, 6), "ERROR\t");
    EXPECT_NE(lines[1].find("/a.o"), std::string::npos);
}

// A stored layout with an entry ld cannot read stops at the plug-in, which
// names the group and the entry, instead of handing ld a broken script.
TEST(PrePhaseLinker, ASectionEntryLdCannotReadStopsTheLinkNamingIt) {
    ScratchProject p;
    std::string options = "[V|VERSION|2] [S|OUTFILE|\"" + p.configDir +
                          "/prog.x\"] [S|GROUPDET|.ctors|0|0||1|0x1000|0|1|0|KEEP(*(.ctors))|"
                          "All-files|<<FEND>>|<<CEND>>|<<GEND>>|]";
    EXPECT_EQ(RunPre(p, "Linker", List({p.configDir + "/a.o|Object file"}), options).result, 1);
    auto lines = p.MessageLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_TRUE(lines[0].starts_with("ERROR\tERROR: The section layout holds section entries that "
                                     "ld cannot read"))
        << lines[0];
    EXPECT_NE(lines[0].find("group .ctors: \"KEEP(*(.ctors))\""), std::string::npos) << lines[0];
    EXPECT_TRUE(fs::is_empty(p.configDir)); // no script, input file or sub-command file

    // A user linker script takes the place of the layout: nothing to check.
    EXPECT_EQ(RunPre(p, "Linker", List({}),
                     options + " [B|SUBCOMMAND|1] [B|DOSEGF|1] [S|EXTFILE|\"u.ld\"]")
                  .result,
              0);
}

TEST(PrePhaseGenerator, BuildsOnlyWhenOptionsOrLibraryChanged) {
    ScratchProject p;
    std::string lib = p.configDir + "/libdemo.a";
    std::string options =
        "[V|VERSION|2] [S|MODE|BUILD/CHANGED] [B|DOPROJBUILT|1] [S|OUTPUTPATH|\"" + lib + "\"]";
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", "[V|VERSION|2] [B|DOPROJBUILT|0]").result, 2);
    EXPECT_TRUE(fs::is_empty(p.configDir));
    PreResult first = RunPre(p, "GNU Library Generator", "", options);
    ASSERT_EQ(first.result, 0);
    EXPECT_EQ(first.command, "@\"" + p.configDir + "\\libdemo.glg\"");
    // Still no library: the generator has to run again.
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", options).result, 0);
    p.WriteText(lib, "!<arch>\n");
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", options).result, 2);
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", options + " [B|MATH|1]").result, 0);
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", options + " [B|MATH|1]").result, 2);
    fs::remove(lib);
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", options + " [B|MATH|1]").result, 0);
    // Always-build mode writes every time.
    p.WriteText(lib, "!<arch>\n");
    std::string always =
        "[V|VERSION|2] [S|MODE|BUILD] [B|DOPROJBUILT|1] [S|OUTPUTPATH|\"" + lib + "\"]";
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", always).result, 0);
    EXPECT_EQ(RunPre(p, "GNU Library Generator", "", always).result, 0);
}
