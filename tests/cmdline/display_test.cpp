#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "support/export_call.h"
#include "interface/quorle.h"
#include "platform/platform.h"

namespace fs = std::filesystem;
using namespace std::string_literals;

namespace {

class CommandDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ =
            fs::temp_directory_path() /
            ("quorle_display_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
             "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(dir_);
        fs::create_directories(dir_);
        messages_ = (dir_ / "messages.txt").string();
        quorle::platform::SetEnv("QUORLE_MESSAGES", messages_);
    }
    void TearDown() override {
        quorle::platform::UnsetEnv("QUORLE_MESSAGES");
        fs::remove_all(dir_);
    }

    std::string Write(const std::string& name, const std::string& bytes) {
        fs::path p = dir_ / name;
        std::ofstream(p, std::ios::binary) << bytes;
        return p.string();
    }

    ExportAnswer Convert(const std::string& command, int32_t capacity = 4096) {
        return CallExport(
            [&](char* b, int32_t* l) {
                return ConvertOptionsForCommandLineDisplay("", "", command.c_str(), b, l);
            },
            capacity);
    }

    std::string Messages() const {
        std::ifstream in(messages_);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }

    fs::path dir_;
    std::string messages_;
};

} // namespace

TEST_F(CommandDisplay, ListsTheSubCommandFileIndented) {
    // Written in text mode by the pre-phase: CR LF line ends.
    std::string sub = Write("main.gcc", "-c\r\n-O2\r\n\"C:\\src\\main.c\"\r\n");
    std::string command = "gcc @\"" + sub + "\"";
    ExportAnswer a = Convert(command);
    ASSERT_EQ(a.result, 0);
    std::string expected = " " + command + "\n    -c\n    -O2\n    \"C:\\src\\main.c\"\n";
    EXPECT_EQ(Filled(a), expected + '\0');
    EXPECT_EQ(a.length, static_cast<int32_t>(expected.size() + 1));
    EXPECT_EQ(Messages(), "");

    // String form: the NUL counts, a capacity one short fails untouched.
    ExportAnswer shortBy1 = Convert(command, static_cast<int32_t>(expected.size()));
    EXPECT_EQ(shortBy1.result, 1);
    EXPECT_EQ(shortBy1.length, static_cast<int32_t>(expected.size() + 1));
    EXPECT_TRUE(Untouched(shortBy1));
    ExportAnswer negative = Convert(command, -5);
    EXPECT_EQ(negative.result, 1);
    EXPECT_TRUE(Untouched(negative));
}

TEST_F(CommandDisplay, ExpandsTheTemporaryLinkerScript) {
    std::string script = Write("lnk1.tmp", "SECTIONS\r\n{\r\n  .text : { *(.text) }\r\n}");
    std::string sub = Write("prog.gld", "-Map \"prog.map\"\n-T \"" + script + "\" \n\"a.o\"\n");
    std::string command = "@\"" + sub + "\"";
    ExportAnswer a = Convert(command);
    ASSERT_EQ(a.result, 0);
    // The script's lines come as read: the last one has no line feed.
    std::string expected = " " + command + "\n    -Map \"prog.map\"\n    -T \"" + script +
                           "\" \n        SECTIONS\n        {\n        "
                           "  .text : { *(.text) }\n        }    \"a.o\"\n";
    EXPECT_EQ(Filled(a), expected + '\0');
}

TEST_F(CommandDisplay, ExpandsTheLinkerInputFileOfAGccDrivenLink) {
    std::string inputs = Write("prog_input.tmp", "INPUT(\"a.o\")\n");
    std::string sub = Write("prog.gld", "-Xlinker -T -Xlinker \"" + inputs + "\" \n-l \"c\"\n");
    std::string command = "--use-gcc-to-link @\"" + sub + "\"";
    ExportAnswer a = Convert(command);
    ASSERT_EQ(a.result, 0);
    EXPECT_EQ(Filled(a), " " + command + "\n    -Xlinker -T -Xlinker \"" + inputs +
                             "\" \n        INPUT(\"a.o\")\n    -l \"c\"\n" + '\0');
}

TEST_F(CommandDisplay, ScriptLinesAreShownInPiecesOf269) {
    std::string longLine(300, 'x');
    std::string script = Write("long.TMP", longLine + "\nEND\n");
    // Prefix and suffix are compared without regard to case.
    std::string sub = Write("p.gld", "-t \"" + script + "\" \n");
    ExportAnswer a = Convert("@\"" + sub + "\"");
    ASSERT_EQ(a.result, 0);
    std::string expected = " @\"" + sub + "\"\n    -t \"" + script + "\" \n        " +
                           longLine.substr(0, 269) + "        " + longLine.substr(269) +
                           "\n        END\n";
    EXPECT_EQ(Filled(a), expected + '\0');
}

TEST_F(CommandDisplay, LinesThatDoNotNameAScriptAreNotFollowed) {
    std::string script = Write("s.tmp", "SCRIPT\n");
    // No trailing blank, another extension, another option.
    std::string sub =
        Write("p.gld", "-T \"" + script + "\"\n-T \"" + script + "x\" \n-L \"" + script + "\" \n");
    ExportAnswer a = Convert("@\"" + sub + "\"");
    ASSERT_EQ(a.result, 0);
    EXPECT_EQ(Filled(a).find("SCRIPT"), std::string::npos);
    EXPECT_EQ(Messages(), "");
}

TEST_F(CommandDisplay, MissingScriptIsReportedAndSkipped) {
    std::string missing = (dir_ / "gone.tmp").string();
    std::string sub = Write("p.gld", "-T \"" + missing + "\" \n\"b.o\"\n");
    ExportAnswer a = Convert("@\"" + sub + "\"");
    ASSERT_EQ(a.result, 0);
    EXPECT_EQ(Filled(a), " @\"" + sub + "\"\n    -T \"" + missing + "\" \n    \"b.o\"\n" + '\0');
    EXPECT_NE(Messages().find("Error reading input subcommand file"), std::string::npos);
}

TEST_F(CommandDisplay, UnreadableOrDegenerateCommands) {
    const std::string cannotOpen = "\nCan not open sub-command file.";
    for (std::string command : {"@\"" + (dir_ / "none.gcc").string() + "\"", ""s, "\""s, "@"s,
                                "x\"\""s, "@\"" + dir_.string() + "\""}) {
        ExportAnswer a = Convert(command);
        EXPECT_EQ(a.result, 0) << command;
        EXPECT_EQ(Filled(a), cannotOpen + '\0') << command;
    }
    // Without any quote the whole text but its last character is the path.
    std::string sub = Write("q.gcc", "-g\n");
    std::string command = sub + "Z";
    ExportAnswer a = Convert(command);
    EXPECT_EQ(Filled(a), " " + command + "\n    -g\n" + '\0');

    // The first two strings are required although not read.
    int32_t len = 100;
    char buf[100];
    EXPECT_EQ(ConvertOptionsForCommandLineDisplay(nullptr, "", "@\"x\"", buf, &len), 1);
    EXPECT_EQ(ConvertOptionsForCommandLineDisplay("", nullptr, "@\"x\"", buf, &len), 1);
    EXPECT_EQ(ConvertOptionsForCommandLineDisplay("", "", nullptr, buf, &len), 1);
    EXPECT_EQ(len, 100);
}
