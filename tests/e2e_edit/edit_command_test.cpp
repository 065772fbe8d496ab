// quorle-host edit end to end.
#include <gtest/gtest.h>

#include <memory>

#include <algorithm>
#include <filesystem>
#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
namespace platform = quorle::platform;
using nlohmann::ordered_json;
using quorle::testing_support::ReadBytes;

std::string Quote(const std::string& arg) {
    return arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
}

class EditCommand : public ::testing::Test {
  protected:
    void SetUp() override {
        platform::UnsetEnv("QUORLE_SHEET_SCRIPT");
        temp_ = std::make_unique<quorle::testing_support::TempDir>("quorle-edit");
        root_ = temp_->Root();
        const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / "demo";
        fs::create_directories(root_ / "demo");
        for (const char* rel : {"demo.qws", "src", "include"})
            fs::copy(source / rel, root_ / "demo" / rel, fs::copy_options::recursive);
        original_ = ReadBytes(Workspace());
    }

    std::string Workspace() const { return (root_ / "demo" / "demo.qws").string(); }

    platform::ProcessResult Host(const std::vector<std::string>& args) const {
        std::string line = Quote(std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host");
        for (const std::string& a : args) line += " " + Quote(a);
        platform::ProcessOptions options;
        options.timeoutMs = 5 * 60 * 1000;
        return platform::RunProcess(line, options);
    }

    // Runs edit with a script of TAB-separated lines.
    platform::ProcessResult Edit(const std::vector<std::string>& lines) const {
        std::string script;
        for (const std::string& l : lines) script += l + "\n";
        std::string path = (root_ / "script.txt").string();
        EXPECT_TRUE(platform::WriteFile(path, script, false));
        return Host({"edit", Workspace(), "--script", path});
    }

    std::unique_ptr<quorle::testing_support::TempDir> temp_;
    fs::path root_;
    std::string original_;
};

TEST_F(EditCommand, WithoutAScriptItSaysSoAndChangesNothing) {
    auto run = Host({"edit", Workspace()});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("--script"), std::string::npos) << run.output;
    EXPECT_NE(run.output.find("no interactive options sheet"), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

TEST_F(EditCommand, AFailingSheetLeavesTheWorkspaceByteForByte) {
    auto run = Edit({"frobnicate\tall\tthe\toptions", "ok"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("left as it was"), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

TEST_F(EditCommand, UnknownProjectIsRefusedBeforeTheSheetOpens) {
    auto run = Host({"edit", Workspace(), "--project", "nope", "--script", "x"});
    EXPECT_NE(run.exitCode, 0);
    EXPECT_NE(run.output.find("no project named nope"), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

#if defined(QUORLE_TEST_FAKE_SHEET)
// The whole path of edit against a sheet stand-in that overrides EditOptions.
class EditWithFakeSheet : public EditCommand {
  protected:
    void SetUp() override {
        EditCommand::SetUp();
        log_ = (root_ / "sheet.log").string();
        Set("QUORLE_PLUGIN", QUORLE_TEST_FAKE_SHEET);
        Set("FAKE_SHEET_LOG", log_);
    }
    void TearDown() override {
        for (const std::string& name : set_) platform::UnsetEnv(name);
    }
    void Set(const std::string& name, const std::string& value) {
        platform::SetEnv(name, value);
        set_.push_back(name);
    }
    std::string log_;
    std::vector<std::string> set_;
};

TEST_F(EditWithFakeSheet, OneFileInOneConfigurationIsPrintedWrittenAndStillBuilds) {
    Set("FAKE_SHEET_FILE", "src/main.c");
    Set("FAKE_SHEET_CONFIG", "0");
    auto run = Edit({"ok"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    // The stand-in gives no change list: the host names the changed key.
    EXPECT_NE(run.output.find("demo DEBUG Compiler src/main.c: SKIPDEPENDENCY: (none) -> 1\n"),
              std::string::npos)
        << run.output;
    EXPECT_NE(run.output.find("wrote "), std::string::npos) << run.output;
    // The sheet saw the plug-in's path, the script and the first configuration.
    std::string log = ReadBytes(log_);
    EXPECT_NE(log.find(std::string("path=") + QUORLE_TEST_FAKE_SHEET + "\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("script=" + (root_ / "script.txt").string() + "\n"), std::string::npos)
        << log;
    EXPECT_NE(log.find("config=DEBUG\n"), std::string::npos) << log;

    ordered_json before = ordered_json::parse(original_);
    ordered_json after = ordered_json::parse(ReadBytes(Workspace()));
    ordered_json& options = after["projects"][0]["options"];
    ASSERT_EQ(options.size(), before["projects"][0]["options"].size() + 1) << options.dump(2);
    const ordered_json& cDebug = before["projects"][0]["options"][1];
    ASSERT_EQ(cDebug["config"], "DEBUG");
    EXPECT_EQ(options.back()["file"], "src/main.c");
    EXPECT_EQ(options.back()["config"], "DEBUG");
    EXPECT_EQ(options.back()["value"],
              cDebug["value"].get<std::string>() + " [B|SKIPDEPENDENCY|1]");
    options.erase(options.size() - 1);
    EXPECT_EQ(after, before);

    // A second identical OK finds nothing left to change.
    platform::UnsetEnv("FAKE_SHEET_FILE");
    std::string written = ReadBytes(Workspace());
    auto again = Edit({"ok"});
    EXPECT_EQ(again.exitCode, 0) << again.output;
    EXPECT_EQ(ReadBytes(Workspace()), written);

    platform::UnsetEnv("QUORLE_PLUGIN");
    auto layout = Host({"toolchain", (root_ / "tc").string()});
    ASSERT_EQ(layout.exitCode, 0) << layout.output;
    auto build = Host({"build", Workspace(), "--toolchain", (root_ / "tc").string()});
    EXPECT_EQ(build.exitCode, 0) << build.output;
}

TEST_F(EditWithFakeSheet, ConfigAndProjectOptionsReachTheSheet) {
    Set("FAKE_SHEET_FILE", "src/start.s");
    Set("FAKE_SHEET_CONFIG", "1");
    std::string path = (root_ / "script.txt").string();
    ASSERT_TRUE(platform::WriteFile(path, "ok\n", false));
    auto run =
        Host({"edit", Workspace(), "--project", "demo", "--config", "RELEASE", "--script", path});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(ReadBytes(log_).find("config=RELEASE\n"), std::string::npos);
    EXPECT_NE(run.output.find("demo RELEASE Assembler src/start.s: "), std::string::npos)
        << run.output;
    ordered_json after = ordered_json::parse(ReadBytes(Workspace()));
    EXPECT_EQ(after["projects"][0]["options"].back()["config"], "RELEASE");
}

TEST_F(EditWithFakeSheet, AnOkWithoutChangeCancelAndFailureLeaveTheFileByteForByte) {
    auto unchanged = Edit({"ok"});
    EXPECT_EQ(unchanged.exitCode, 0) << unchanged.output;
    EXPECT_NE(unchanged.output.find("no option changed"), std::string::npos) << unchanged.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);

    Set("FAKE_SHEET_FILE", "src/main.c");
    Set("FAKE_SHEET_RESULT", "-1");
    auto cancelled = Edit({"cancel"});
    EXPECT_EQ(cancelled.exitCode, 0) << cancelled.output;
    EXPECT_NE(cancelled.output.find("cancelled"), std::string::npos) << cancelled.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);

    Set("FAKE_SHEET_RESULT", "1");
    auto failed = Edit({"ok"});
    EXPECT_EQ(failed.exitCode, 1) << failed.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

TEST_F(EditWithFakeSheet, AWorkspaceChangedWhileTheSheetWasOpenIsNotOverwritten) {
    Set("FAKE_SHEET_FILE", "src/main.c");
    Set("FAKE_SHEET_TOUCH", Workspace());
    auto run = Edit({"ok"});
    EXPECT_EQ(run.exitCode, 1) << run.output;
    EXPECT_NE(run.output.find("changed on disk"), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_ + " ");
}
#endif

// --- Through the options sheet ---------------------------------------------------

// The compile lines of one configuration, by file name.
std::map<std::string, std::vector<std::string>> CompileLines(const std::string& compdbFile) {
    std::map<std::string, std::vector<std::string>> lines;
    for (const auto& entry : ordered_json::parse(ReadBytes(compdbFile))) {
        std::vector<std::string>& args =
            lines[fs::path(entry["file"].get<std::string>()).filename().string()];
        for (const auto& a : entry["arguments"]) args.push_back(a.get<std::string>());
    }
    return lines;
}

bool Has(const std::vector<std::string>& args, const std::string& flag) {
    return std::find(args.begin(), args.end(), flag) != args.end();
}

bool HasPrefixed(const std::vector<std::string>& args, const std::string& prefix) {
    return std::any_of(args.begin(), args.end(),
                       [&](const std::string& a) { return a.rfind(prefix, 0) == 0; });
}

class EditAndCompile : public EditCommand {
  protected:
    void SetUp() override {
        EditCommand::SetUp();
        auto layout = Host({"toolchain", (root_ / "tc").string()});
        ASSERT_EQ(layout.exitCode, 0) << layout.output;
    }
    std::map<std::string, std::vector<std::string>> Lines(const std::string& config) const {
        auto run = Host(
            {"compdb", Workspace(), "--toolchain", (root_ / "tc").string(), "--config", config});
        EXPECT_EQ(run.exitCode, 0) << run.output;
        return CompileLines((root_ / "demo" / "compile_commands.json").string());
    }
};

TEST_F(EditAndCompile, DebugBuildsUnoptimisedWithDebugInformationAndReleaseTheOtherWay) {
    auto debug = Lines("DEBUG"), release = Lines("RELEASE");
    ASSERT_EQ(debug.size(), 5u);
    ASSERT_EQ(release.size(), 5u);
    for (const auto& [file, args] : debug) {
        EXPECT_TRUE(Has(args, "-g")) << file;
        EXPECT_FALSE(HasPrefixed(args, "-O")) << file;
    }
    for (const auto& [file, args] : release) {
        EXPECT_TRUE(Has(args, "-O2")) << file;
        EXPECT_FALSE(HasPrefixed(args, "-g")) << file;
    }
}

// "-O2 for RELEASE only": optimisation off for every C file, then on again
// for main.c in RELEASE alone. DEBUG's lines never change, and the other
// RELEASE files stay unoptimised.
TEST_F(EditAndCompile, AnEditReachesOnlyTheSelectedConfigurationAndFile) {
    const auto debugBefore = Lines("DEBUG");
    auto off = Edit({"config\tAll Configurations", "select\tCompiler\tdemo\tC source file",
                     "set\tOPTIMIZE\t0", "ok"});
    ASSERT_EQ(off.exitCode, 0) << off.output;
    // Only what changed, one line per option: DEBUG was already unoptimised.
    EXPECT_NE(off.output.find("demo RELEASE Compiler src/led.c: Optimize: on -> off\n"),
              std::string::npos)
        << off.output;
    EXPECT_EQ(off.output.find("DEBUG"), std::string::npos) << off.output;
    EXPECT_EQ(off.output.find("["), std::string::npos) << off.output;

    auto on = Edit({"config\tRELEASE", "select\tCompiler\tdemo\tsrc/main.c", "set\tOPTIMIZE\t1",
                    "set\tOPTLV\t3", "ok"});
    ASSERT_EQ(on.exitCode, 0) << on.output;
    EXPECT_EQ(on.output.substr(0, on.output.find("wrote ")),
              "demo RELEASE Compiler src/main.c: Optimize: off -> on\n");

    EXPECT_EQ(Lines("DEBUG"), debugBefore);
    auto release = Lines("RELEASE");
    EXPECT_TRUE(Has(release["main.c"], "-O2"));
    for (const char* file : {"board.c", "led.c", "util.c"})
        EXPECT_FALSE(HasPrefixed(release[file], "-O")) << file;
    EXPECT_TRUE(Has(release["ring.cpp"], "-O2")); // another file type

    // main.c has its own RELEASE entry; DEBUG's entries are as they were.
    ordered_json before = ordered_json::parse(original_);
    ordered_json after = ordered_json::parse(ReadBytes(Workspace()));
    bool own = false;
    for (const auto& entry : after["projects"][0]["options"]) {
        if (entry.value("file", "") == "src/main.c") {
            own = true;
            EXPECT_EQ(entry.value("config", ""), "RELEASE") << entry.dump(2);
        }
        if (entry.value("config", "") == "DEBUG") {
            const ordered_json& old = before["projects"][0]["options"];
            EXPECT_NE(std::find(old.begin(), old.end(), entry), old.end()) << entry.dump(2);
        }
    }
    EXPECT_TRUE(own) << after.dump(2);
    auto build =
        Host({"build", Workspace(), "--toolchain", (root_ / "tc").string(), "--config", "RELEASE"});
    EXPECT_EQ(build.exitCode, 0) << build.output;
}

TEST_F(EditCommand, AnEditThroughOneFileOfASharedStringChangesThatFileOnly) {
    auto run =
        Edit({"config\tDEBUG", "select\tGNU Compiler\tdemo\tsrc/main.c", "tab\tToolchain Option",
              "set\tSkip dependency scan of nonexistent file\t1", "ok"});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_EQ(run.output.substr(0, run.output.find("wrote ")),
              "demo DEBUG Compiler src/main.c: Skip dependency scan of nonexistent file: off -> "
              "on\n");

    ordered_json after = ordered_json::parse(ReadBytes(Workspace()));
    int changed = 0;
    for (const auto& entry : after["projects"][0]["options"]) {
        if (entry["value"].get<std::string>().find("[B|SKIPDEPENDENCY|1]") == std::string::npos)
            continue;
        ++changed;
        EXPECT_EQ(entry.value("file", ""), "src/main.c") << entry.dump(2);
        EXPECT_EQ(entry.value("config", ""), "DEBUG") << entry.dump(2);
    }
    EXPECT_EQ(changed, 1) << after.dump(2);
}

#if !defined(_WIN32)
// The edit reaches the user's workspace file as it is: through a link (which
// stays a link), with its mode; a read-only workspace is refused.
TEST_F(EditCommand, TheWriteBackKeepsTheWorkspaceLinkAndModeAndRefusesAReadOnlyOne) {
    const std::vector<std::string> script = {
        "select\tGNU Compiler\tdemo\tsrc/main.c", "tab\tToolchain Option",
        "set\tSkip dependency scan of nonexistent file\t1", "ok"};
    const fs::path link = root_ / "demo" / "link.qws";
    fs::create_symlink("demo.qws", link);
    fs::permissions(Workspace(), fs::perms::owner_read | fs::perms::owner_write);
    std::string path = (root_ / "script.txt").string();
    std::string lines;
    for (const std::string& l : script) lines += l + "\n";
    ASSERT_TRUE(platform::WriteFile(path, lines, false));
    auto run = Host({"edit", link.string(), "--script", path});
    ASSERT_EQ(run.exitCode, 0) << run.output;
    EXPECT_TRUE(fs::is_symlink(fs::symlink_status(link)));
    EXPECT_NE(ReadBytes(Workspace()).find("[B|SKIPDEPENDENCY|1]"), std::string::npos);
    EXPECT_EQ(fs::status(Workspace()).permissions(),
              fs::perms::owner_read | fs::perms::owner_write);

    ASSERT_TRUE(platform::WriteFile(Workspace(), original_, false));
    fs::permissions(Workspace(),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    auto refused = Edit(script);
    EXPECT_EQ(refused.exitCode, 1) << refused.output;
    EXPECT_NE(refused.output.find(Workspace() + " is read-only; nothing written"),
              std::string::npos)
        << refused.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}
#endif

TEST_F(EditCommand, CancelLeavesTheWorkspaceByteForByte) {
    auto run = Edit({"select\tGNU Compiler\tdemo\tsrc/main.c", "tab\tToolchain Option",
                     "set\tSkip dependency scan of nonexistent file\t1", "cancel"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("cancelled"), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

TEST_F(EditCommand, AnOkWithoutChangeLeavesTheFileAsItWas) {
    auto run = Edit({"ok"});
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("no option changed"), std::string::npos) << run.output;
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

TEST_F(EditCommand, AChangeNotConfirmedLeavesTheWorkspaceByteForByte) {
    // The confirmation box is on, and answered No.
    ASSERT_TRUE(platform::WriteFile((root_ / "demo" / "demo.Vbp").string(),
                                    "[Setting]\nToolChain=1\n", true));
    const std::string messages = (root_ / "messages.txt").string();
    platform::SetEnv("QUORLE_MESSAGES", messages);
    platform::SetEnv("QUORLE_ANSWERS", "NO");
    auto run = Edit({"select\tGNU Compiler\tdemo\tsrc/main.c", "tab\tToolchain Option",
                     "set\tSkip dependency scan of nonexistent file\t1", "ok"});
    platform::UnsetEnv("QUORLE_MESSAGES");
    platform::UnsetEnv("QUORLE_ANSWERS");
    EXPECT_EQ(run.exitCode, 0) << run.output;
    EXPECT_NE(run.output.find("no option list handed back"), std::string::npos) << run.output;
    EXPECT_NE(ReadBytes(messages).find("Is modification enabled?\tNO"), std::string::npos);
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

} // namespace
