// GenerateMakefileCommand through the export. Keep the warning test first:
// the warning is shown once per loaded module.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "interface/quorle.h"
#include "platform/platform.h"

namespace {

class MakefileExport : public ::testing::Test {
  protected:
    void SetUp() override {
        // One file per test: ctest runs the tests of this program in parallel.
        messages_ = ::testing::TempDir() + "quorle-makefile-" +
                    ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".log";
        std::remove(messages_.c_str());
        quorle::platform::SetEnv("QUORLE_MESSAGES", messages_);
        info_.size = sizeof(QuorleProjectInfo);
        info_.cpuSeries = "";
        info_.toolchainName = "Dravik GNUCORVO [ELF]";
        info_.projectName = "demo";
        info_.projectDir = "C:\\work\\demo";
        info_.configName = "DEBUG";
        info_.configDir = "C:\\work\\demo\\DEBUG";
        info_.toolchainDir = "C:\\Dravik\\GNU\\v4";
    }
    void TearDown() override {
        std::free(command_);
        std::free(subcommand_);
        quorle::platform::UnsetEnv("QUORLE_MESSAGES");
        std::remove(messages_.c_str());
    }

    int Generate(const char* phase, const std::string& inputs, const std::string& options,
                 int32_t inlineFlag = 0) {
        std::free(command_);
        std::free(subcommand_);
        command_ = subcommand_ = nullptr;
        textBuffer_[0] = 'x';
        int value = 1;
        return GenerateMakefileCommand(phase, inputs.c_str(), &value, options.c_str(),
                                       "C:\\work\\demo", textBuffer_, &command_, &subcommand_,
                                       &info_, inlineFlag, 0, 0);
    }

    // The command block as the list it is: entries up to the empty one.
    std::vector<std::string> CommandEntries() const {
        std::vector<std::string> entries;
        for (const char* e = command_; *e != '\0'; e += std::strlen(e) + 1) entries.push_back(e);
        return entries;
    }

    std::vector<std::string> Messages() const {
        std::vector<std::string> lines;
        std::ifstream in(messages_);
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

    static std::string List(std::initializer_list<std::string> entries) {
        std::string list;
        for (const std::string& e : entries) list += e + '\0';
        return list + '\0';
    }

    QuorleProjectInfo info_{};
    char textBuffer_[8] = {};
    char* command_ = nullptr;
    char* subcommand_ = nullptr;
    std::string messages_;
};

const char kWarning[] = "WARNING\tCorrect makefile generation is not currently guaranteed for "
                        "Dravik GNU toolchains\tOK";

} // namespace

TEST_F(MakefileExport, CompilerWarningOnceAndRelativeSubcommandText) {
    std::string inputs = List({"C:\\work\\demo\\src\\main.c|C source file"});
    std::string options =
        "[V|VERSION|2] [S|INCDIR|\"C:\\Dravik\\GNU\\v4\\corvo-elf\\include\"|"
        "\"C:\\work\\common\\inc\"] [S|OBJPATH|\"C:\\work\\demo\\DEBUG\\main.o\"]";
    ASSERT_EQ(Generate("GNU Compiler", inputs, options), 0);
    ASSERT_EQ(Generate("GNU Compiler", inputs, options), 0);
    EXPECT_EQ(Messages(), std::vector<std::string>{kWarning});
    EXPECT_EQ(textBuffer_[0], '\0');
    EXPECT_EQ(CommandEntries(),
              std::vector<std::string>{"\"$(EXEDIR)\\$(EXENAME)\" -subcommand=$(SUB)"});
    std::string sub = subcommand_;
    EXPECT_NE(sub.back(), '\n');
    EXPECT_NE(sub.find("-I \"$(TC_INSTALL_DIR)\\corvo-elf\\include\""), std::string::npos) << sub;
    EXPECT_NE(sub.find("-I \"..\\common\\inc\""), std::string::npos) << sub;
    EXPECT_NE(sub.find("\"src\\main.c\""), std::string::npos) << sub;
    EXPECT_NE(sub.find("\"DEBUG\\main.o\""), std::string::npos) << sub;
    EXPECT_EQ(sub.find("C:\\"), std::string::npos) << sub;
}

TEST_F(MakefileExport, InlineFlagPutsTheToolInvocationInTheCommand) {
    std::string inputs = List({"C:\\work\\demo\\start.s|Assembly source file"});
    std::string options = "[V|VERSION|2] [S|OBJPATH|\"C:\\work\\demo\\DEBUG\\start.o\"]";
    ASSERT_EQ(Generate("GNU Assembler", inputs, options), 0);
    std::string sub = subcommand_;
    EXPECT_EQ(sub.substr(0, 11), "\"start.s\"\n-");
    EXPECT_NE(sub.find("-object=\"DEBUG\\start.o\""), std::string::npos) << sub;
    ASSERT_EQ(Generate("GNU Assembler", inputs, options, 1), 0);
    EXPECT_EQ(subcommand_, nullptr);
    EXPECT_EQ(std::string(command_), sub);
    // Any inline value but 1 keeps both texts.
    ASSERT_EQ(Generate("GNU Assembler", inputs, options, 2), 0);
    EXPECT_NE(subcommand_, nullptr);
}

TEST_F(MakefileExport, NothingToDoAndFailures) {
    EXPECT_EQ(Generate("Compiler", List({}), ""), 2);
    EXPECT_EQ(Generate("Assembler", List({}), ""), 2);
    EXPECT_EQ(Generate("GNU Library Generator", "", "[V|VERSION|2] [B|DOPROJBUILT|0]"), 2);
    EXPECT_EQ(command_, nullptr);
    EXPECT_EQ(subcommand_, nullptr);
    EXPECT_EQ(Generate("Assembler", List({"C:\\a.s"}), ""), 1);
    EXPECT_EQ(command_, nullptr);
    EXPECT_EQ(Generate("Debug", List({"C:\\a.s|Assembly source file"}), ""), 1);
    info_.size = 4;
    EXPECT_EQ(Generate("Linker", "", ""), 1);
}

TEST_F(MakefileExport, GeneratorOutputPathIsRelative) {
    ASSERT_EQ(Generate("GNU Library Generator", "",
                       "[V|VERSION|2] [S|OUTPUTPATH|\"C:\\work\\demo\\DEBUG\\libdemo.a\"]"),
              0);
    std::string sub = subcommand_;
    EXPECT_NE(sub.find("--output=\"DEBUG\\libdemo.a\""), std::string::npos) << sub;
    EXPECT_NE(sub.back(), '\n');
}

TEST_F(MakefileExport, LinkerUserFileOrGeneratedSubcommand) {
    std::string user = "[V|VERSION|2] [B|SUBCOMMAND|1] [B|DOEXTF|1] "
                       "[S|EXTFILE|\"C:\\work\\shared\\link.sub\"]";
    ASSERT_EQ(Generate("Linker", List({}), user), 0);
    EXPECT_EQ(CommandEntries(), std::vector<std::string>{
                                    "\"$(EXEDIR)\\$(EXENAME)\" -subcommand=..\\shared\\link.sub"});
    EXPECT_EQ(std::string(subcommand_), "");

    std::string generated = "[V|VERSION|2] [S|OUTFILE|\"C:\\work\\demo\\DEBUG\\demo.x\"]";
    ASSERT_EQ(Generate("OptLinker", List({"C:\\work\\demo\\DEBUG\\main.o|Object file"}), generated),
              0);
    std::string sub = subcommand_;
    EXPECT_FALSE(sub.empty());
    EXPECT_NE(sub.back(), '\n');
    // Inputs are relative to the makefile; the output stays as the options name it.
    EXPECT_NE(sub.find("\n\"DEBUG\\main.o\"\n"), std::string::npos) << sub;
    EXPECT_EQ(Generate("OptLinker", List({"main.o"}), generated), 1);
}
