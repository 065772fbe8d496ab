// Drives the options sheet inside tmux (escape-time 0): keys go in with
// send-keys, the screen comes back with capture-pane, and every run saves
// the terminal settings before and after so that a test can compare them.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::tui_test {

namespace fs = std::filesystem;
using testing_support::ReadBytes;

inline platform::ProcessResult Shell(const std::string& line) {
    platform::ProcessOptions options;
    options.timeoutMs = 20000;
    return platform::RunProcess(line, options);
}

inline bool Contains(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

// True when the captured screen sets a foreground or background colour
// (SGR 30-38 or 40-48; 39 and 49 only restore the defaults).
inline bool HasColour(const std::string& screen) {
    for (size_t at = screen.find("\x1b["); at != std::string::npos;
         at = screen.find("\x1b[", at + 2)) {
        size_t end = screen.find('m', at);
        if (end == std::string::npos) break;
        std::string params = screen.substr(at + 2, end - at - 2);
        size_t start = 0;
        while (start <= params.size()) {
            size_t semi = params.find(';', start);
            std::string p = params.substr(start, semi == std::string::npos ? semi : semi - start);
            if (p.size() == 2 && (p[0] == '3' || p[0] == '4') && p[1] >= '0' && p[1] <= '8')
                return true;
            if (semi == std::string::npos) break;
            start = semi + 1;
        }
    }
    return false;
}

// The line that starts with `head`, or "".
inline std::string LineOf(const std::string& text, const std::string& head) {
    size_t at = text.find(head);
    if (at == std::string::npos || (at > 0 && text[at - 1] != '\n')) return "";
    return text.substr(at, text.find('\n', at) - at);
}

class TmuxSheet : public ::testing::Test {
  protected:
    void SetUp() override {
        if (Shell("tmux -V").exitCode != 0) GTEST_SKIP() << "tmux is not installed";
        name_ = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        temp_ = std::make_unique<quorle::testing_support::TempDir>("tui_" + name_);
        dir_ = temp_->Root();
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

    // Runs `command` (a shell command line) in a fresh terminal of the given
    // size, with the terminal settings saved before and after it and its exit
    // status kept, and waits for the sheet's title.
    void StartCommand(const std::string& command, int columns = 80, int lines = 24,
                      const std::string& expected = "Toolchain") {
        Shell(Tmux("kill-server")); // one left by an interrupted run
        // The old server takes a moment to go; a session started before it
        // has gone dies with it ("server exited unexpectedly").
        for (int i = 0; i < 100 && Shell(Tmux("has-session")).exitCode == 0; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        const std::string d = dir_.string();
        for (const char* file : {"before", "after", "rc", "result", "pid"}) fs::remove(dir_ / file);
        std::string script = "stty -g > " + d + "/before; " + command + "; echo $? > " + d +
                             "/rc; stty -g > " + d + "/after.tmp; mv " + d + "/after.tmp " + d +
                             "/after";
        platform::WriteFile((dir_ / "run.sh").string(), script + "\n", false);
        const std::string start = "new-session -d -s sheet -x " + std::to_string(columns) + " -y " +
                                  std::to_string(lines) + " \"sh " + d + "/run.sh\"";
        auto started = Shell(Tmux(start));
        // Under load the server can still fail to come up: a few more tries.
        for (int i = 0; i < 5 && started.exitCode != 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            Shell(Tmux("kill-server"));
            started = Shell(Tmux(start));
        }
        ASSERT_EQ(started.exitCode, 0) << started.output;
        ASSERT_TRUE(WaitFor(expected)) << Screen();
    }

    void Keys(const std::string& keys) { Shell(Tmux("send-keys -t sheet " + keys)); }
    void Type(const std::string& text) { Shell(Tmux("send-keys -t sheet -l -- \"" + text + "\"")); }

    std::string Screen(bool escapes = false) const {
        return Shell(Tmux(std::string("capture-pane -p ") + (escapes ? "-e " : "") + "-t sheet"))
            .output;
    }

    // Everything the pane printed, wrapped lines joined (for plain output).
    std::string Printed() const {
        return Shell(Tmux("capture-pane -p -J -S -100 -t sheet")).output;
    }

    bool WaitFor(const std::string& text, int seconds = 10) {
        for (int i = 0; i < seconds * 20; ++i) {
            if (Contains(Screen(), text)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        }
        return false;
    }

    // Whether the cursor line of a pane comes to hold `text`: the screen may
    // still show the state before the last keys (the status line alone
    // proves nothing, it shows before and after).
    bool CursorComesTo(bool tree, const std::string& text, int seconds = 10) {
        for (int i = 0; i < seconds * 20; ++i) {
            if (Contains(CursorLine(tree), text)) return true;
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
            std::string right =
                line.substr(line.find_first_not_of("\xe2\x94\x82|", bar) == std::string::npos
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

    // Moves the cursor of a pick list with Down until its line holds `text`.
    void MoveToDialogLine(const std::string& text) {
        for (int i = 0; i < 40; ++i) {
            const std::string screen = Screen();
            size_t at = screen.find("> " + text);
            if (at != std::string::npos) return;
            Keys("Down");
            for (int w = 0; w < 40 && Screen() == screen; ++w)
                std::this_thread::sleep_for(std::chrono::milliseconds(25));
        }
        FAIL() << "no list line with " << text << " in\n" << Screen();
    }

    // Selects a tree node and moves the focus to the controls of its page.
    // Finds a control by its label or option key through the search, from any pane and on
    // any category page (the first hit when several match), and leaves the
    // cursor on it.
    void JumpTo(const std::string& label) {
        Type("/");
        ASSERT_TRUE(WaitFor("Label or tool flag")) << Screen();
        Type(label);
        Keys("Enter");
        if (WaitFor("Search: " + label, 1)) Keys("Enter");
        ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    }
    // Turns a switch found by its label.
    void Toggle(const std::string& label) {
        JumpTo(label);
        Keys("Space");
    }

    void SelectNode(const std::string& label, const std::string& tab) {
        MoveTo(true, label);
        Keys("Enter");
        ASSERT_TRUE(WaitFor("[" + tab + "]")) << Screen();
        Keys("Tab");
        Keys("Tab");
        Keys("Tab");
        ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    }

    // Waits for the command to end and checks the terminal settings.
    void WaitForEnd() {
        for (int i = 0; i < 200 && !fs::exists(dir_ / "after"); ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        EXPECT_TRUE(fs::exists(dir_ / "after")) << Screen();
        EXPECT_FALSE(ReadBytes(dir_ / "before").empty());
        EXPECT_EQ(ReadBytes(dir_ / "before"), ReadBytes(dir_ / "after")) << "terminal left changed";
    }

    std::string name_, socket_;
    std::unique_ptr<quorle::testing_support::TempDir> temp_;
    fs::path dir_;
};

} // namespace quorle::tui_test
