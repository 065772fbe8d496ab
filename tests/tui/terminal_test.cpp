// The options sheet in a real terminal, opened by a small host on a
// workspace held in memory; every run also checks that the terminal
// settings after the sheet equal those before it.
#include "tmux_sheet.h"

namespace {

using namespace quorle::tui_test;

class TerminalSheet : public TmuxSheet {
  protected:
    // The sheet in a terminal of the given size; `env` goes before the
    // driver (e.g. "NO_COLOR=1").
    void Start(const std::string& env = "", int columns = 80, int lines = 24,
               const std::string& pluginDir = fs::path(QUORLE_PLUGIN_FILE).parent_path().string(),
               const std::string& expected = "Toolchain") {
        const std::string d = dir_.string();
        StartCommand("sh -c 'echo $$ > " + d + "/pid; exec env -u QUORLE_MESSAGES " + env + " " +
                         QUORLE_TUI_DRIVER + " " + d + "/result " + pluginDir + "/Quorle.dll " + d +
                         "'",
                     columns, lines, expected);
    }

    // Waits for the sheet to close: what it handed back. The driver itself
    // ends cleanly (under the sanitizers: without a leak or an error).
    std::string Finish() {
        WaitForEnd();
        EXPECT_EQ(ReadBytes(dir_ / "rc"), "0\n") << Printed();
        return ReadBytes(dir_ / "result");
    }
};

TEST_F(TerminalSheet, SwitchOfOneFileAndALinkerSwitchThenOk) {
    Start();
    SelectNode("main.c", "C/C++");
    EXPECT_FALSE(Contains(Screen(), "-flto"));
    Toggle("Link-time optimization");
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    // The preview follows the page.
    EXPECT_TRUE(WaitFor("-flto")) << Screen();
    Keys("Tab");
    Keys("Tab"); // back in the tree
    ASSERT_TRUE(WaitFor("Enter:select")) << Screen();
    SelectNode("(OptLinker)", "Link/Library");
    Toggle("Generate map file");
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
    Toggle("Link-time optimization");
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
    ASSERT_TRUE(Contains(Screen(), ">*        util.c")) << Screen();
    ASSERT_TRUE(Contains(Screen(), " *        main.c")) << Screen();
    Keys("Tab");
    Keys("Tab");
    Keys("Tab");
    Toggle("Link-time optimization");
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
    Toggle("Link-time optimization");
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(LineOf(result, "file main.c Release:"), "[B|LTO|1]")) << result;
    EXPECT_FALSE(Contains(LineOf(result, "file main.c Debug:"), "LTO|1")) << result;
}

TEST_F(TerminalSheet, TheConfirmationQuestionIsATerminalDialog) {
    Start();
    SelectNode("main.c", "C/C++");
    Keys("BTab");
    Keys("BTab"); // the tabs
    Keys("Right");
    ASSERT_TRUE(WaitFor("[Toolchain Option]")) << Screen();
    Keys("Tab");
    Type("c"); // "A &confirmation message is displayed for the modified option"
    Keys("Space");
    ASSERT_TRUE(WaitFor("[x] A confirmation message")) << Screen();
    Keys("BTab");
    Keys("Left");
    ASSERT_TRUE(WaitFor("[C/C++]")) << Screen();
    Keys("Tab");
    Keys("Tab");
    Toggle("Link-time optimization");
    ASSERT_TRUE(WaitFor("[x] Link-time optimization")) << Screen();
    Keys("F10");
    ASSERT_TRUE(WaitFor("An option was modified.")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "< Yes >")) << Screen();
    Keys("n"); // the sheet closes without handing the strings back
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: 0")) << result;
    EXPECT_FALSE(Contains(result, "file ")) << result;
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
    EXPECT_TRUE(CursorComesTo(false, "Split sections by relocation count")) << Screen();
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

TEST_F(TerminalSheet, SearchStartsEmptyAndTakesFlagsWithOrWithoutDashes) {
    Start();
    SelectNode("main.c", "C/C++");
    Type("/");
    ASSERT_TRUE(WaitFor("Label or tool flag")) << Screen();
    Type("--flto");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    EXPECT_TRUE(CursorComesTo(false, "Link-time optimization")) << Screen();
    Type("/");
    ASSERT_TRUE(WaitFor("Label or tool flag")) << Screen();
    EXPECT_FALSE(Contains(Screen(), "--flto")) << "the last search is gone\n" << Screen();
    // A word of a choice, without its dash, finds the choice.
    Type("Os");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    EXPECT_TRUE(CursorComesTo(false, "Optimization level")) << Screen();
    Keys("Escape");
    EXPECT_TRUE(Contains(Finish(), "result: -1"));
}

TEST_F(TerminalSheet, HelpShowsKeyFlagDefaultAndEachConfiguration) {
    Start();
    Keys("BTab");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Multiple Configurations...")) << Screen();
    Keys("Down");
    Keys("Down");
    Keys("Enter"); // "All Configurations"
    ASSERT_TRUE(WaitFor("[All Configurations ")) << Screen();
    Keys("Tab");
    SelectNode("main.c", "C/C++");
    // Release of main.c writes no debug information; Debug leaves it to the default.
    JumpTo("DEBUG");
    Type("?");
    ASSERT_TRUE(WaitFor("Option key: DEBUGLV")) << Screen();
    const std::string help = Screen();
    EXPECT_TRUE(Contains(help, "Label: Debug information")) << help;
    EXPECT_TRUE(Contains(help, "Tool flag: None, or -g with")) << help;
    EXPECT_TRUE(Contains(help, "Default: Level 3 (-g3)")) << help;
    EXPECT_TRUE(Contains(help, "In Debug: Level 3 (-g3)")) << help;
    EXPECT_TRUE(Contains(help, "In Release: None")) << help;
    Keys("Enter");
    Keys("Escape");
    EXPECT_TRUE(Contains(Finish(), "result: -1"));
}

TEST_F(TerminalSheet, ListEntriesMoveWithBrackets) {
    Start();
    SelectNode("main.c", "C/C++");
    JumpTo("INCDIR");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[/]:Move")) << Screen();
    for (const char* dir : {"first", "second", "third"}) {
        Type("a");
        ASSERT_TRUE(WaitFor("New entry")) << Screen();
        Type(dir);
        Keys("Enter");
        ASSERT_TRUE(WaitFor(std::string("> ") + dir)) << Screen();
    }
    Type("["); // third before second
    ASSERT_TRUE(WaitFor("-I \"first\" -I \"third\" -I \"second\"")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "> third")) << "the cursor follows the entry\n" << Screen();
    Type("[");
    Type("["); // already first: stays
    ASSERT_TRUE(WaitFor("-I \"third\" -I \"first\" -I \"second\"")) << Screen();
    Keys("Down");
    Keys("Down");
    Type("]"); // already last: stays
    Keys("Up");
    Type("]");
    ASSERT_TRUE(WaitFor("-I \"third\" -I \"second\" -I \"first\"")) << Screen();
    Keys("Escape");
    Keys("F10");
    std::string result = Finish();
    const std::string main = LineOf(result, "file main.c Debug:");
    size_t third = main.find("third"), second = main.find("second"), first = main.find("first");
    ASSERT_NE(first, std::string::npos) << result;
    EXPECT_LT(third, second) << result;
    EXPECT_LT(second, first) << result;
}

TEST_F(TerminalSheet, AMnemonicMovesTheFocusAndSpaceOrEnterChanges) {
    Start();
    SelectNode("main.c", "C/C++");
    Keys("BTab");
    Keys("BTab"); // the tabs
    Keys("Right");
    ASSERT_TRUE(WaitFor("[Toolchain Option]")) << Screen();
    Type("c"); // "A &confirmation message is displayed for the modified option"
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    EXPECT_TRUE(CursorComesTo(false, "[ ] A confirmation message")) << "moved, not changed\n"
                                                                    << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[x] A confirmation message")) << Screen();
    Keys("Space");
    ASSERT_TRUE(WaitFor("[ ] A confirmation message")) << Screen();
    // Space on a text opens its editor, as Enter does.
    Keys("BTab");
    Keys("Left");
    ASSERT_TRUE(WaitFor("[C/C++]")) << Screen();
    JumpTo("Embedded assembly text");
    Keys("Space");
    ASSERT_TRUE(WaitFor("Enter: accept")) << Screen();
    Keys("Escape");
    Keys("Escape");
    ASSERT_TRUE(WaitFor("Discard the changes?")) << Screen();
    Type("y");
    EXPECT_TRUE(Contains(Finish(), "result: -1"));
}

TEST_F(TerminalSheet, AHundredKilobytePasteArrivesWhole) {
    Start();
    SelectNode("main.c", "C/C++");
    JumpTo("Embedded assembly text");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Enter: accept")) << Screen();
    std::string text;
    while (text.size() < 100 * 1024) text += "nop" + std::to_string(text.size() % 10) + " ";
    quorle::platform::WriteFile((dir_ / "paste.txt").string(), text, false);
    ASSERT_EQ(Shell(Tmux("load-buffer " + (dir_ / "paste.txt").string())).exitCode, 0);
    Shell(Tmux("paste-buffer -t sheet"));
    // The field shows the end of the text once all of it is in.
    const std::string tail = text.substr(text.size() - 30, 25);
    ASSERT_TRUE(WaitFor(tail, 30)) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(LineOf(result, "file main.c Debug:"), text.substr(0, text.size() - 1)))
        << result.substr(0, 300);
}

TEST_F(TerminalSheet, ANumberOutOfRangeShowsTheMessageAndKeepsTheSheetOpen) {
    Start();
    SelectNode("(OptLinker)", "Link/Library");
    Toggle("Split sections by relocation count"); // enables the number
    ASSERT_TRUE(WaitFor("[x] Split sections")) << Screen();
    JumpTo("SBYRELOC"); // the count's key: its label is in the switch's help too
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Relocations per section (0..65535)")) << Screen();
    Keys("C-u");
    Type("70000");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[70000]")) << Screen();
    Keys("F10");
    ASSERT_TRUE(WaitFor("Please enter an integer between 0 and 65535")) << Screen();
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Space:toggle")) << Screen();
    JumpTo("SBYRELOC"); // the count's key: its label is in the switch's help too
    Keys("Enter");
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

TEST_F(TerminalSheet, ANumberRefusesALetterAsItIsTyped) {
    Start();
    SelectNode("(OptLinker)", "Link/Library");
    Toggle("Split sections by relocation count");
    ASSERT_TRUE(WaitFor("[x] Split sections")) << Screen();
    JumpTo("SBYRELOC");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Relocations per section (0..65535)")) << Screen();
    Keys("C-u");
    Type("12a");
    // Refused at once, in the dialog, naming the field; the digits stay.
    ASSERT_TRUE(WaitFor("Relocations per section: please enter an integer between 0 and 65535."))
        << Screen();
    EXPECT_FALSE(Contains(Screen(), "12a")) << Screen();
    Type("3");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("[123]")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(LineOf(result, "linker Debug:"), "SBYRELOC|123")) << result;
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

TEST_F(TerminalSheet, LayoutAtEightyByTwentyFour) {
    Start();
    std::string screen = Screen();
    // The tree takes a third of the width at most, and its labels show no marks.
    EXPECT_EQ(LineOf(screen, "Configuration :").find('|'), 26u) << screen;
    EXPECT_TRUE(Contains(screen, "All Project")) << screen;
    EXPECT_FALSE(Contains(screen, "_")) << screen;
    // The key help of each pane is whole.
    EXPECT_TRUE(Contains(screen, "Esc:cancel")) << screen;
    Keys("BTab");
    ASSERT_TRUE(WaitFor("Enter:choose")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "Esc:cancel")) << Screen();
    // The configuration list opens under its box.
    Keys("Enter");
    ASSERT_TRUE(WaitFor("All Configurations")) << Screen();
    screen = Screen();
    std::vector<std::string> lines;
    for (size_t start = 0; start < screen.size();) {
        size_t end = screen.find('\n', start);
        lines.push_back(screen.substr(start, end == std::string::npos ? end : end - start));
        start = end == std::string::npos ? screen.size() : end + 1;
    }
    ASSERT_GT(lines.size(), 4u);
    EXPECT_EQ(lines[3].substr(1, 1), "+") << screen; // the box starts under the choice
    EXPECT_TRUE(Contains(lines[4], "> Debug")) << screen;
    Keys("Escape");
    Keys("Tab");
    SelectNode("main.c", "C/C++");
    // The preview wraps: its end shows too.
    ASSERT_TRUE(WaitFor("$(FILELEAF).o\"")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "Command line: -c -x c")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "Esc:cancel")) << Screen();
    Keys("Escape");
    EXPECT_TRUE(Contains(Finish(), "result: -1"));
}

TEST_F(TerminalSheet, AfterAResizeTheTreeShowsItsRoot) {
    Start("", 80, 16);
    MoveTo(true, "(Debug)"); // the last row: the tree scrolls
    EXPECT_FALSE(Contains(Screen(), "All Loaded Projects")) << Screen();
    Shell(Tmux("resize-window -t sheet -x 80 -y 30"));
    ASSERT_TRUE(WaitFor("All Loaded Projects")) << Screen();
    EXPECT_TRUE(CursorComesTo(true, "(Debug)")) << Screen();
    Keys("Escape");
    EXPECT_TRUE(Contains(Finish(), "result: -1"));
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
    WaitForEnd();
    std::string rc = ReadBytes(dir_ / "rc");
    EXPECT_EQ(rc.substr(0, 3), "143") << rc; // ended by the signal, as without the sheet
}

TEST_F(TerminalSheet, WithoutTheViewLibraryItSaysSoAndAnswersOne) {
    // A plug-in folder with the resource library but not the view.
    const fs::path lonely = dir_ / "plugin";
    fs::create_directories(lonely);
    fs::copy_file(fs::path(QUORLE_PLUGIN_FILE).parent_path() / "Resquorle.so",
                  lonely / "Resquorle.so");
    Start("", 80, 24, lonely.string(), "edit options");
    EXPECT_TRUE(Contains(Finish(), "result: 1"));
    const std::string printed = Printed();
    EXPECT_TRUE(Contains(printed, "cannot load its terminal view")) << printed;
    EXPECT_TRUE(Contains(printed, "QUORLE_SHEET_SCRIPT")) << printed;
}

TEST_F(TerminalSheet, RegionsGroupsAndGroupStartsThroughEntryDialogs) {
    Start();
    SelectNode("(OptLinker)", "Link/Library");
    // The default groups, through the Group map page's button (they also clear the regions).
    JumpTo("Section groups");
    ASSERT_TRUE(WaitFor("Section groups: 0 entries")) << Screen();
    MoveTo(false, "Restore defaults");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Section groups: 5 entries")) << Screen();
    JumpTo("Memory regions");
    Keys("Enter"); // the list's editor
    ASSERT_TRUE(WaitFor("a:Add")) << Screen();
    Type("a");
    ASSERT_TRUE(WaitFor("Add memory region")) << Screen();
    Type("ram");
    Keys("Tab");
    Type("0x20000000");
    Keys("Tab");
    Type("0x2000FFFF");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("ram|0x20000000|0x2000FFFF")) << Screen();
    // A second one, changed, then removed again.
    Type("a");
    ASSERT_TRUE(WaitFor("Add memory region")) << Screen();
    Type("rom");
    Keys("Tab");
    Type("0x0");
    Keys("Tab");
    Type("0xFFFF");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("rom|0x0|0xFFFF")) << Screen();
    Keys("Enter"); // modifies the row under the cursor: rom
    ASSERT_TRUE(WaitFor("Modify memory region")) << Screen();
    Keys("Tab");
    Keys("Tab");
    Keys("C-u");
    Type("0x7FFF");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("rom|0x0|0x7FFF")) << Screen();
    Type("d");
    for (int i = 0; i < 40 && Contains(Screen(), "rom|0x0"); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_FALSE(Contains(Screen(), "rom|0x0")) << Screen();
    // A region that overlaps is refused with the editor's own message.
    Type("a");
    ASSERT_TRUE(WaitFor("Add memory region")) << Screen();
    Type("r2");
    Keys("Tab");
    Type("0x20000100");
    Keys("Tab");
    Type("0x20001000");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("overlaps a region")) << Screen();
    Keys("Enter");
    // The dialog stays open with what was typed, to be put right or left.
    ASSERT_TRUE(WaitFor("Add memory region")) << Screen();
    EXPECT_TRUE(Contains(Screen(), "0x20000100")) << Screen();
    Keys("Escape");
    Keys("Escape"); // the list editor closes
    ASSERT_TRUE(WaitFor("Memory regions: 1 entry: ram|0x2000")) << Screen();
    EXPECT_FALSE(Contains(Screen(), "cannot be changed now")) << Screen();

    // A group's start address, typed as group=address.
    JumpTo("Section start addresses");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("a:Add")) << Screen();
    Type("a");
    ASSERT_TRUE(WaitFor("Group=address")) << Screen();
    Type(".text=0x00002000");
    Keys("Enter");
    ASSERT_TRUE(WaitFor(".text=0x00002000")) << Screen();
    Keys("Escape");
    // A new group through the Group map page's button.
    JumpTo("Insert group");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Placement")) << Screen();
    MoveToDialogLine("In a memory region");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Insert group")) << Screen();
    Type(".fast");
    Keys("Tab");
    Type("ram");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("Section groups: 6 entries")) << Screen();
    // A group removed through the groups' list editor.
    JumpTo("Section groups");
    Keys("Enter");
    ASSERT_TRUE(WaitFor("d:Remove")) << Screen();
    MoveToDialogLine(".bss");
    Type("d");
    Keys("Escape");
    ASSERT_TRUE(WaitFor("Section groups: 5 entries")) << Screen();
    Keys("F10");
    std::string result = Finish();
    EXPECT_TRUE(Contains(result, "result: 0")) << result;
    const std::string linker = LineOf(result, "linker Debug:");
    EXPECT_TRUE(Contains(linker, "MEMDET|ram|")) << result;
    EXPECT_TRUE(Contains(linker, "0x20000000")) << result;
    EXPECT_FALSE(Contains(linker, "MEMDET|rom|")) << result;
    EXPECT_FALSE(Contains(linker, "r2")) << result;
    EXPECT_TRUE(Contains(linker, ".fast")) << result;
    EXPECT_FALSE(Contains(linker, ".bss")) << result;
    EXPECT_TRUE(Contains(linker, "0x00002000")) << result;
    // The other configuration keeps its layout.
    EXPECT_FALSE(Contains(LineOf(result, "linker Release:"), "MEMDET|ram|")) << result;
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
