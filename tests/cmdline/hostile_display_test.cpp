// The command display must answer at once and within its size cap whatever
// the sub-command file names: FIFOs, devices, and scripts that would make a
// display text of gigabytes.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "support/export_call.h"
#include "core/limits.h"
#include "interface/quorle.h"
#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace fs = std::filesystem;

namespace {

class HostileDisplay : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = temp_.Root();
        messages_ = (dir_ / "messages.txt").string();
        quorle::platform::SetEnv("QUORLE_MESSAGES", messages_);
    }
    void TearDown() override {
        quorle::platform::UnsetEnv("QUORLE_MESSAGES");
    }

    ExportAnswer Convert(const std::string& path) {
        std::string command = "@\"" + path + "\"";
        return CallExport([&](char* b, int32_t* l) {
            return ConvertOptionsForCommandLineDisplay("", "", command.c_str(), b, l);
        });
    }

    // A FIFO nobody writes to; skips the test where none can be made.
    std::string Fifo(const std::string& name) {
        std::string path = (dir_ / name).string();
        if (std::system(("mkfifo '" + path + "' 2>/dev/null").c_str()) != 0) return {};
        return path;
    }

    quorle::testing_support::TempDir temp_{"hostile_display"};
    fs::path dir_;
    std::string messages_;
};

} // namespace

TEST_F(HostileDisplay, NonRegularFilesAreNotOpenedForReading) {
    std::string fifo = Fifo("pipe");
    if (fifo.empty()) GTEST_SKIP() << "mkfifo not available";
    for (const std::string& path : {fifo, std::string("/dev/zero"), dir_.string()}) {
        ExportAnswer answer = Convert(path);
        EXPECT_EQ(answer.result, 0) << path;
        EXPECT_EQ(Filled(answer), std::string("\nCan not open sub-command file.\0", 32)) << path;
    }
    // A FIFO named as a temporary script inside a readable file: reported,
    // and the rest of the display is still given.
    std::string script = fifo + ".tmp";
    ASSERT_EQ(std::system(("mkfifo '" + script + "'").c_str()), 0);
    std::string file = (dir_ / "sub.glg").string();
    std::ofstream(file, std::ios::binary) << "-T \"" << script << "\" \n-o \"a.x\"\n";
    ExportAnswer answer = Convert(file);
    EXPECT_EQ(answer.result, 0);
    EXPECT_NE(Filled(answer).find("    -o \"a.x\"\n"), std::string::npos);
    EXPECT_NE(quorle::testing_support::ReadBytes(messages_).find("Error reading input subcommand file"),
              std::string::npos);
}

TEST_F(HostileDisplay, TextPastTheCapFailsCleanly) {
    // 20,000 lines each naming a 1 MB script would make 20 GB of text.
    std::string script = (dir_ / "big.tmp").string();
    std::ofstream(script, std::ios::binary) << std::string(1 << 20, 'x');
    std::string file = (dir_ / "many.glg").string();
    {
        std::ofstream out(file, std::ios::binary);
        for (int i = 0; i < 20000; ++i) out << "-T \"" << script << "\" \n";
    }
    ExportAnswer answer = Convert(file);
    EXPECT_EQ(answer.result, 1);
    EXPECT_TRUE(Untouched(answer));

    // Under the cap the same script is shown in full.
    std::string few = (dir_ / "few.glg").string();
    std::ofstream(few, std::ios::binary) << "-T \"" << script << "\" \n";
    // A buffer too small: the call gives 1 but stores the size it needs.
    char small[16];
    int32_t length = sizeof small;
    std::string command = "@\"" + few + "\"";
    EXPECT_EQ(ConvertOptionsForCommandLineDisplay("", "", command.c_str(), small, &length), 1);
    EXPECT_GT(static_cast<size_t>(length), size_t{1} << 20);
}

TEST_F(HostileDisplay, FilesOverTheReadCapAreNotRead) {
    std::string path = (dir_ / "huge.glg").string();
    {
        std::ofstream out(path, std::ios::binary);
        out.seekp(static_cast<std::streamoff>(quorle::kMaxTextBytes));
        out << 'x'; // one byte past the cap, sparse
    }
    EXPECT_FALSE(quorle::platform::ReadFile(path, false).has_value());
    fs::resize_file(path, quorle::kMaxTextBytes);
    auto whole = quorle::platform::ReadFile(path, false);
    ASSERT_TRUE(whole.has_value());
    EXPECT_EQ(whole->size(), quorle::kMaxTextBytes);
}
