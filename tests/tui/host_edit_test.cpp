// quorle-host edit in a terminal on a copy of the example workspace: the
// interactive sheet, what the host writes back, and the terminal after it.
#include <nlohmann/json.hpp>

#include "tmux_sheet.h"

namespace {

using namespace quorle::tui_test;
using nlohmann::ordered_json;

class HostEdit : public TmuxSheet {
  protected:
    void SetUp() override {
        TmuxSheet::SetUp();
        if (IsSkipped()) return;
        const fs::path source = fs::path(QUORLE_SOURCE_TREE) / "examples" / "demo";
        fs::create_directories(dir_ / "demo");
        for (const char* rel : {"demo.qws", "src", "include"})
            fs::copy(source / rel, dir_ / "demo" / rel, fs::copy_options::recursive);
        original_ = ReadBytes(Workspace());
    }

    fs::path Workspace() const { return dir_ / "demo" / "demo.qws"; }

    void Start() {
        StartCommand("env -u QUORLE_MESSAGES -u QUORLE_SHEET_SCRIPT " +
                     std::string(QUORLE_HOST_PROGRAM) + " edit " + Workspace().string());
    }

    int ExitCode() {
        WaitForEnd();
        std::string rc = ReadBytes(dir_ / "rc");
        return rc.empty() ? -100 : std::stoi(rc);
    }

    // The option entries the edit added to the workspace.
    ordered_json Added() const {
        ordered_json before = ordered_json::parse(original_);
        ordered_json after = ordered_json::parse(ReadBytes(Workspace()));
        ordered_json added = ordered_json::array();
        for (const auto& entry : after["projects"][0]["options"]) {
            bool old = false;
            for (const auto& was : before["projects"][0]["options"]) old = old || was == entry;
            if (!old) added.push_back(entry);
        }
        return added;
    }

    // From the controls: the linker's record in the tree, then its switch
    // "Generate &map file".
    void SetLinkerMapFile() {
        Keys("Tab");
        Keys("Tab");
        ASSERT_TRUE(WaitFor("Enter:select")) << Screen();
        MoveTo(true, "Link");
        Keys("Enter");
        ASSERT_TRUE(WaitFor("[Link/Library]")) << Screen();
        Keys("Tab");
        Keys("Tab");
        Keys("Tab");
        Toggle("Generate map file");
        ASSERT_TRUE(WaitFor("[x] Generate map file")) << Screen();
    }

    std::string original_;
};

TEST_F(HostEdit, ASwitchOnOneFileAndALinkerSwitchThenOk) {
    Start();
    SelectNode("main.c", "C/C++");
    Toggle("Link-time optimization");
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    SetLinkerMapFile();
    Keys("F10");
    ASSERT_EQ(ExitCode(), 0) << Printed();
    ordered_json added = Added();
    bool file = false, linker = false;
    for (const auto& entry : added) {
        const std::string value = entry["value"].get<std::string>();
        // main.c shares its string with the other C files of the
        // configuration, so the shared entry carries the change.
        file = file || value.find("[B|LTO|1]") != std::string::npos;
        linker = linker || value.find("[B|MFILEGEN|1]") != std::string::npos;
    }
    EXPECT_TRUE(file) << added.dump(2);
    EXPECT_TRUE(linker) << added.dump(2);
}

TEST_F(HostEdit, ADefineOnOneFileAndALinkerSwitchThenOk) {
    Start();
    SelectNode("main.c", "C/C++");
    Type("/");
    ASSERT_TRUE(WaitFor("Label or tool flag")) << Screen();
    Type("DEFINES");
    Keys("Enter");
    ASSERT_FALSE(WaitFor("Nothing matches", 1)) << Screen();
    if (WaitFor("Search: DEFINES", 1)) Keys("Enter"); // the first of several
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("a:Add")) << Screen();
    Type("a");
    ASSERT_TRUE(WaitFor("New entry:")) << Screen();
    Type("EXTRA=1");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("EXTRA=1")) << Screen();
    Keys("Escape");
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    SetLinkerMapFile();
    Keys("F10");
    ASSERT_EQ(ExitCode(), 0) << Printed();
    ordered_json added = Added();
    bool define = false, linker = false;
    for (const auto& entry : added) {
        const std::string value = entry["value"].get<std::string>();
        // As with the switch: main.c's string is shared, so its entry is
        // the shared one, never one of main.c's own.
        if (value.find("EXTRA=1") != std::string::npos) {
            define = true;
            EXPECT_EQ(entry.value("file", ""), "") << added.dump(2);
        }
        linker = linker || value.find("[B|MFILEGEN|1]") != std::string::npos;
    }
    EXPECT_TRUE(define) << added.dump(2);
    EXPECT_TRUE(linker) << added.dump(2);
}

TEST_F(HostEdit, CancelAfterChangesLeavesTheWorkspaceByteForByte) {
    Start();
    SelectNode("main.c", "C/C++");
    Toggle("Link-time optimization");
    ASSERT_TRUE(WaitFor("Link-time optimization")) << Screen();
    Keys("Escape");
    ASSERT_TRUE(WaitFor("Discard the changes?")) << Screen();
    Keys("y");
    EXPECT_EQ(ExitCode(), 0) << Printed();
    EXPECT_NE(Printed().find("cancelled"), std::string::npos);
    EXPECT_EQ(ReadBytes(Workspace()), original_);
}

} // namespace
