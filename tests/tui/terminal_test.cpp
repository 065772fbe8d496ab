// The options sheet in a real terminal: the sheet driver runs inside tmux
// (escape-time 0), keys go in with send-keys and the screen comes back with
// capture-pane. Every run also checks that the terminal settings after the
// sheet equal those before it.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
namespace platform = quorle::platform;
using quorle::testing_support::ReadBytes;

platform::ProcessResult Shell(const std::string& line) {
    platform::ProcessOptions options;
    options.timeoutMs = 20000;
    return platform::RunProcess(line, options);
}

bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// True when the captured screen sets a foreground or background colour
// (SGR 30-38 or 40-48; 39 and 49 only restore the defaults).
bool HasColour(const std::string& screen) {
    for (size_t at = screen.find("\x1b["); at != std::string::npos; at = screen.find("\x1b[", at + 2)) {
        size_t end = screen.find('m', at);
        if (end == std::string::npos) break;
        std::string params = screen.substr(at + 2, end - at - 2);
        size_t start = 0;
        while (start <= params.size()) {
            size_t semi = params.find(';', start);
            std::string p = params.substr(start, semi == std::string::npos ? semi : semi - start);
            if (p.size() == 2 && (p[0] == '3' || p[0] == '4') && p[1] >= '0' && p[1] <= '8') return true;
            if (semi == std::string::npos) break;
            start = semi + 1;
        }
    }
    return false;
}

// The line that starts with `head`, or "".
std::string LineOf(const std::string& text, const std::string& head) {
    size_t at = text.find(head);
    if (at == std::string::npos || (at > 0 && text[at - 1] != '\n')) return "";
    return text.substr(at, text.find('\n', at) - at);
}

class TerminalSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        if (Shell("tmux -V").exitCode != 0) GTEST_SKIP() << "tmux is not installed";
        name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        dir_ = quorle::testing_support::FreshDir("tui_" + name_);
        socket_ = "quorle-tui-" + name_;
        platform::WriteFile((dir_ / "tmux.conf").string(),
                            "set -g escape-time 0\nset -g remain-on-exit on\nset -g status off\n",
                            false);
    }

    void TearDown() override {
        if (!socket_.empty()) Shell(Tmux("kill-server"));
    }

    std::string Tmux(const std::string& args) const {
        return "tmux -L " + socket_ + " -f " + (dir_ / "tmux.conf").string() + " " + args;
    }

    // Starts the sheet in a fresh terminal of the given size. `env` goes
    // before the driver (e.g. "NO_COLOR=1").
    void Start(const std::string& env = "", int columns = 80, int lines = 24) {
        Shell(Tmux("kill-server")); // one left by an interrupted run
        const std::string d = dir_.string();
        for (const char* file : {"before", "after", "rc", "result", "pid"}) fs::remove(dir_ / file);
        std::string plugin = fs::path(QUORLE_PLUGIN_FILE).parent_path().string() + "/Quorle.dll";
        std::string inner = "echo $$ > " + d + "/pid; exec env -u QUORLE_MESSAGES " + env + " " +
                            QUORLE_TUI_DRIVER + " " + d + "/result " + plugin + " " + d;
        std::string script = "stty -g > " + d + "/before; sh -c '" + inner + "'; echo $? > " + d +
                             "/rc; stty -g > " + d + "/after.tmp; mv " + d + "/after.tmp " + d + "/after";
        platform::WriteFile((dir_ / "run.sh").string(), script + "\n", false);
        auto started = Shell(Tmux("new-session -d -s sheet -x " + std::to_string(columns) + " -y " +
                                std::to_string(lines) + " \"sh " + d + "/run.sh\""));
        ASSERT_EQ(started.exitCode, 0) << started.output;
        ASSERT_TRUE(WaitFor("Toolchain")) << Screen();
    }

    void Keys(const std::string& keys) { Shell(Tmux("send-keys -t sheet " + keys)); }
    void Type(const std::string& text) { Shell(Tmux("send-keys -t sheet -l \"" + text + "\"")); }

    std::string Screen(bool escapes = false) const {
        return Shell(Tmux(std::string("capture-pane -p ") + (escapes ? "-e " : "") + "-t sheet")).output;
    }

    bool WaitFor(const std::string& text, int seconds = 10) {
        for (int i = 0; i < seconds * 20; ++i) {
            if (Contains(Screen(), text)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // The line of the screen that carries the cursor mark of a pane.
    std::string CursorLine(bool tree) {
        std::string screen = Screen();
        size_t start = 0;
        while (start < screen.size()) {
            size_t end = screen.find('\n', start);
            std::string line = screen.substr(start, end == std::string::npos ? end : end - start);
            start = end == std::string::npos ? screen.size() : end + 1;
            size_t bar = line.find("\xe2\x94\x82"); // the divider between the panes
            if (bar == std::string::npos) bar = line.find('|');
            if (bar == std::string::npos) continue;
            std::string left = line.substr(0, bar);
            std::string right = line.substr(line.find_first_not_of("\xe2\x94\x82|", bar) == std::string::npos
                                                ? line.size()
                                                : bar + (line[bar] == '|' ? 1 : 3));
            if (tree && !left.empty() && left[0] == '>') return left;
            if (!tree && right.size() > 1 && right[1] == '>') return right; // after one blank
        }
        return "";
    }

    // Moves a pane's cursor with Down until its line holds `text`.
    void MoveTo(bool tree, const std::string& text) {
        for (int i = 0; i < 40; ++i) {
            if (Contains(CursorLine(tree), text)) return;
            std::string before = Screen();
            Keys("Down");
            for (int w = 0; w < 40 && Screen() == before; ++w)
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        FAIL() << "no line with " << text << " in\n" << Screen();
    }

    // Selects a tree node and moves the focus to the controls of its page.
    void SelectNode(const std::string& label, const std::string& tab) {
        MoveTo(true, label);
        Keys("Enter");
        ASSERT_TRUE(WaitFor("[" + tab + "]")) << Screen();
        Keys("Tab");
        Keys("Tab");
        Keys("Tab");
        ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    }

    // Waits for the sheet to close; its result file and the terminal check.
    std::string Finish() {
        for (int i = 0; i < 200 && !fs::exists(dir_ / "after"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(fs::exists(dir_ / "after")) << Screen();
        EXPECT_FALSE(ReadBytes(dir_ / "before").empty());
        EXPECT_EQ(ReadBytes(dir_ / "before"), ReadBytes(dir_ / "after")) << "terminal left changed";
        return ReadBytes(dir_ / "result");
    }

    std::string name_, socket_;
    fs::path dir_;
};

TEST_F(TerminalSheet, SwitchOfOneFileAndALinkerSwitchThenOk) {
    Start();
    SelectNode("main.c", "C/C++");
    EXPECT_FALSE(Contains(Screen(), "-flto"));
    Type("t"); // the mnemonic of "Link-&time optimization"
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    // The preview follows the page.
    EXPECT_TRUE(WaitFor("-flto")) << Screen();
    Keys("Tab");
    Keys("Tab"); // back in the tree
    ASSERT_TRUE(WaitFor("Enter:select")) << Screen();
    SelectNode("(OptLinker)", "Link/Library");
    // The mnemonic of "Generate &map file".
    Type("m");
    ASSERT_TRUE(WaitFor("[x] Generate map file")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: 0")) << result;
    // Only main.c in the configuration shown changes; the linker likewise.
    EXPECT_TRUE(Contains(LineOf(result, "file main.c Debug:"), "[B|LTO|1]")) << result;
    EXPECT_FALSE(Contains(LineOf(result, "file main.c Release:"), "LTO|1")) << result;
    EXPECT_FALSE(Contains(LineOf(result, "file util.c Debug:"), "LTO|1")) << result;
    EXPECT_TRUE(Contains(LineOf(result, "linker Debug:"), "MFILEGEN|1]")) << result;
    EXPECT_FALSE(Contains(LineOf(result, "linker Release:"), "MFILEGEN|1]")) << result;
}

TEST_F(TerminalSheet, CancelAfterAChangeAsksAndHandsNothingBack) {
    Start();
    SelectNode("util.c", "C/C++");
    Type("t");
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    Keys("Escape");
    ASSERT_TRUE(WaitFor("Discard the changes?")) << Screen();
    Keys("n"); // No: the sheet stays
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    EXPECT_FALSE(Contains(Screen(), "Discard"));
    Keys("C-c"); // the same as Escape
    ASSERT_TRUE(WaitFor("Discard the changes?")) << Screen();
    Keys("y");
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: -1")) << result;
    EXPECT_FALSE(Contains(result, "file ")) << result;
}

TEST_F(TerminalSheet, AllConfigurationsAndTwoFilesAtOnce) {
    Start();
    Keys("BTab"); // from the tree back to the configuration choice
    ASSERT_TRUE(WaitFor("Enter:choose")) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Multiple Configurations...")) << Screen();
    Keys("Down");
    Keys("Down");
    Keys("Enter"); // "All Configurations"
    ASSERT_TRUE(WaitFor("[All Configurations ")) << Screen();
    Keys("Tab");
    MoveTo(true, "main.c");
    Keys("Space");
    Keys("Down");
    Keys("Space"); // util.c joins the selection
    ASSERT_TRUE(WaitFor("[C/C++]")) << Screen();
    ASSERT_TRUE(Contains(Screen(), ">*          util.c")) << Screen();
    ASSERT_TRUE(Contains(Screen(), " *          main.c")) << Screen();
    Keys("Tab");
    Keys("Tab");
    Keys("Tab");
    Type("t");
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: 0")) << result;
    for (const char* place : {"file main.c Debug:", "file main.c Release:", "file util.c Debug:",
                              "file util.c Release:"})
        EXPECT_TRUE(Contains(LineOf(result, place), "[B|LTO|1]")) << place << "\n" << result;
}

TEST_F(TerminalSheet, MultipleConfigurationsPicker) {
    Start();
    Keys("BTab");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Multiple Configurations...")) << Screen();
    Keys("End");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Select project configurations to modify")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "[x] Debug")) << Screen();
    Keys("Space"); // Debug off
    Keys("Down");
    Keys("Space"); // Release on
    ASSERT_TRUE(WaitFor("[x] Release")) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[Release ")) << Screen();
    Keys("Tab");
    MoveTo(true, "main.c");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[C/C++]")) << Screen();
    Keys("Tab");
    Keys("Tab");
    Keys("Tab");
    Type("t");
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(LineOf(result, "file main.c Release:"), "[B|LTO|1]")) << result;
    EXPECT_FALSE(Contains(LineOf(result, "file main.c Debug:"), "LTO|1")) << result;
}

TEST_F(TerminalSheet, SearchAFlagAndSetIt) {
    Start();
    SelectNode("(OptLinker)", "Link/Library");
    Keys("Tab"); // away from the controls: the search finds its way back
    Type("/");
    ASSERT_TRUE(WaitFor("Label or tool flag")) << Screen();
    Type("split-by-reloc");
    Keys("Enter");
    // Two controls name the flag: the switch and its count.
    ASSERT_TRUE(WaitFor("Search: split-by-reloc")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "Relocations per section")) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    EXPECT_TRUE(Contains(CursorLine(false), "Split sections by relocation count")) << Screen();
    Type("?");
    ASSERT_TRUE(WaitFor("(--split-by-reloc)")) << Screen();
    Keys("Enter");
    Keys("Space");
    ASSERT_TRUE(WaitFor("[x] Split sections")) << Screen();
    Keys("C-s");
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: 0")) << result;
    EXPECT_TRUE(Contains(LineOf(result, "linker Debug:"), "[B|DORELOC|1]")) << result;
}

TEST_F(TerminalSheet, ANumberOutOfRangeShowsTheMessageAndKeepsTheSheetOpen) {
    Start();
    SelectNode("(OptLinker)", "Link/Library");
    Type("s"); // "&Split sections by relocation count" enables the number
    ASSERT_TRUE(WaitFor("[x] Split sections")) << Screen();
    Type("r");
    ASSERT_TRUE(WaitFor("Relocations per section (0..65535)")) << Screen();
    Keys("C-u");
    Type("70000");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[70000]")) << Screen();
    Keys("F10");
    ASSERT_TRUE(WaitFor("Please enter an integer between 0 and 65535")) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    Type("r");
    ASSERT_TRUE(WaitFor("Relocations per section (0..65535)")) << Screen();
    Keys("C-u");
    Type("500");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[500]")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: 0")) << result;
    EXPECT_TRUE(Contains(LineOf(result, "linker Debug:"), "SBYRELOC|500")) << result;
}

TEST_F(TerminalSheet, ResizeRedrawsAndTooSmallSaysSo) {
    Start();
    SelectNode("main.c", "C/C++");
    Shell(Tmux("resize-window -t sheet -x 120 -y 40"));
    ASSERT_TRUE(WaitFor("F10/^S:OK")) << Screen();
    std::string big = Screen();
    // The key-help line is the last of the 40.
    size_t lines = 0;
    for (char c : big) lines += c == '\n';
    EXPECT_GE(lines, 39u) << big;
    EXPECT_TRUE(Contains(big.substr(big.rfind("Space:toggle") - 2), "Esc:cancel")) << big;
    Shell(Tmux("resize-window -t sheet -x 50 -y 12"));
    ASSERT_TRUE(WaitFor("needs at least")) << Screen();
    Shell(Tmux("resize-window -t sheet -x 80 -y 24"));
    ASSERT_TRUE(WaitFor("[C/C++]")) << Screen();
    Keys("Escape"); // nothing changed: no question
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: -1")) << result;
}

TEST_F(TerminalSheet, ColourUnlessNoColorIsSet) {
    Start();
    EXPECT_TRUE(HasColour(Screen(true))) << Screen(true);
    Keys("Escape");
    Finish();
    Start("NO_COLOR=1");
    std::string plain = Screen(true);
    EXPECT_FALSE(HasColour(plain)) << plain;
    EXPECT_TRUE(Contains(plain, "\x1b[7m")) << "the title stays reverse";
    Keys("Escape");
    EXPECT_TRUE(Contains(Finish(), "result: -1"));
}

TEST_F(TerminalSheet, ASignalRestoresTheTerminalAndEndsTheRun) {
    Start();
    std::string pid = ReadBytes(dir_ / "pid");
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\r')) pid.pop_back();
    ASSERT_FALSE(pid.empty());
    EXPECT_EQ(Shell("kill -TERM " + pid).exitCode, 0);
    Finish();
    std::string rc = ReadBytes(dir_ / "rc");
    EXPECT_EQ(rc.substr(0, 3), "143") << rc; // ended by the signal, as without the sheet
}

// The plug-in never needs curses; only the terminal view does.
TEST(TerminalLibraries, PluginDoesNotDependOnCurses) {
    auto plugin = Shell(std::string("ldd ") + QUORLE_PLUGIN_FILE);
    ASSERT_EQ(plugin.exitCode, 0) << plugin.output;
    EXPECT_FALSE(Contains(plugin.output, "ncurses")) << plugin.output;
    EXPECT_FALSE(Contains(plugin.output, "tinfo")) << plugin.output;
    auto view = Shell(std::string("ldd ") + QUORLE_TUI_LIBRARY);
    ASSERT_EQ(view.exitCode, 0) << view.output;
    EXPECT_TRUE(Contains(view.output, "ncurses")) << view.output;
}

} // namespace
