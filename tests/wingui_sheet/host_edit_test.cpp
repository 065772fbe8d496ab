// quorle-host.exe edit on a real workspace: the sheet opens as a window in
// the host's own process. It is driven from here with messages that carry no
// pointers, or only window texts, which the system copies between processes.
#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <thread>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "wingui_sheet/driver/driver.h"

using namespace quorle;
namespace drive = quorle::wingui::driver;

namespace {

const std::string kTitle = "Dravik GNUCORVO [ELF] Toolchain";
const std::string kWorkspace =
    R"({ "workspace": "w", "toolchain": "Dravik GNUCORVO [ELF]", "cpuSeries": "CORVO",
  "projects": [ { "name": "demo", "dir": ".", "configurations": { "DEBUG": "Debug" },
    "files": ["main.c"],
    "options": [ { "phase": "Compiler", "fileType": "C source file", "value": "[V|VERSION|2]" } ] } ] }
)";

class HostEdit {
  public:
    explicit HostEdit(const std::string& name) : dir_(name) {
        workspace_ = dir_.Path() + "\\w.qws";
        platform::WriteFile(workspace_, kWorkspace, false);
        platform::WriteFile(dir_.Path() + "\\main.c", "int main(void) { return 0; }\n", false);
        const std::string command =
            "\"" + drive::ExecutableDirectory() + "quorle-host.exe\" edit \"" + workspace_ + "\"";
        platform::ProcessOptions options;
        options.workingDirectory = dir_.Path();
        options.timeoutMs = 120000;
        options.environment = {"QUORLE_REGISTRY=" + dir_.Path() + "\\registry.ini"};
        run_ = std::async(std::launch::async,
                          [command, options] { return platform::RunProcess(command, options); });
        if (auto window = drive::WaitForWindow(kTitle, 60000)) sheet_ = *window;
    }
    ~HostEdit() {
        if (run_.valid() && run_.wait_for(std::chrono::seconds(0)) != std::future_status::ready) {
            drive::PressCancel(sheet_);
            run_.wait_for(std::chrono::seconds(20));
        }
    }
    drive::Handle sheet() const { return sheet_; }
    std::optional<platform::ProcessResult> Finished() {
        if (run_.wait_for(std::chrono::seconds(30)) != std::future_status::ready)
            return std::nullopt;
        return run_.get();
    }
    std::string Workspace() const { return platform::ReadFile(workspace_, false).value_or(""); }

  private:
    testing_support::TempDir dir_;
    std::string workspace_;
    std::future<platform::ProcessResult> run_;
    drive::Handle sheet_ = nullptr;
};

} // namespace

TEST(HostEdit, CancelLeavesTheWorkspaceAsItWas) {
    HostEdit edit("host_cancel");
    ASSERT_NE(edit.sheet(), nullptr) << "the host's sheet did not show";
    drive::PressCancel(edit.sheet());
    auto result = edit.Finished();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(edit.Workspace(), kWorkspace) << result->output;
}

TEST(HostEdit, AnEditInTheHostsSheetIsWrittenToTheWorkspaceOnOk) {
    HostEdit edit("host_ok");
    auto sheet = edit.sheet();
    ASSERT_NE(sheet, nullptr) << "the host's sheet did not show";
    // Down the tree to the first node that brings tabs, then to the last
    // tab, "Toolchain Option", by keys: the tabs' titles and the tree's
    // texts cannot be read from another process.
    for (int i = 0; i < 8 && drive::TabCount(sheet) == 0; ++i)
        drive::PressKeyIn(sheet, drive::Pane::Tree, 0x28 /* VK_DOWN */);
    ASSERT_GT(drive::TabCount(sheet), 0);
    for (int i = 0; i < drive::TabCount(sheet); ++i)
        drive::PressKeyIn(sheet, drive::Pane::Tabs, 0x27 /* VK_RIGHT */);
    const std::string box = "Skip dependency scan of nonexistent file";
    // The posted keys may still wait behind the messages sent to the sheet:
    // the page shows once they are taken.
    for (int i = 0; i < 250 && !drive::CheckState(sheet, box).has_value(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    ASSERT_EQ(drive::CheckState(sheet, box), 0);
    ASSERT_TRUE(drive::Click(sheet, box));
    EXPECT_EQ(drive::CheckState(sheet, box), 1);
    drive::PressOk(sheet);
    auto result = edit.Finished();
    ASSERT_TRUE(result.has_value());
    EXPECT_EQ(result->exitCode, 0) << result->output;
    EXPECT_NE(edit.Workspace().find("[B|SKIPDEPENDENCY|1]"), std::string::npos)
        << edit.Workspace() << result->output;
}
