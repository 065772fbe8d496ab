// What a person at a terminal sees of a build: the progress, each step's
// output under its own line, failures named with their commands, gcc's
// diagnostics in its own words, and the command line's options.
#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <regex>
#include <sstream>
#include <thread>

#include "host_process.h"

namespace quorle::e2e {
namespace {

using testing_support::ReadBytes;

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

// "[n/N] Verb file" lines, as they were printed; `once`: each only where it
// first stands (a step's line is printed again above its output).
std::vector<std::string> Progress(const std::string& output, bool once = true) {
    static const std::regex line(R"(\[\d+/\d+\] (Compiling|Assembling|Linking|Generating) .*)");
    std::vector<std::string> found;
    for (const std::string& l : Lines(output))
        if (std::regex_match(l, line) &&
            (!once || std::find(found.begin(), found.end(), l) == found.end()))
            found.push_back(l);
    return found;
}

void Later(const fs::path& path) {
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    fs::last_write_time(path, fs::file_time_type::clock::now());
}

class BuildDisplay : public DemoCopy {
  protected:
    void Replace(const std::string& rel, const std::string& from, const std::string& to) {
        std::string text = Read(rel);
        size_t at = text.find(from);
        ASSERT_NE(at, std::string::npos) << rel << " holds no " << from;
        text.replace(at, from.size(), to);
        std::ofstream(At(rel), std::ios::binary | std::ios::trunc) << text;
        Later(At(rel));
    }
    // The line number of the first line of `rel` that holds `part`.
    int LineOf(const std::string& rel, const std::string& part) {
        std::vector<std::string> lines = Lines(Read(rel));
        for (size_t i = 0; i < lines.size(); ++i)
            if (lines[i].find(part) != std::string::npos) return static_cast<int>(i) + 1;
        return 0;
    }
};

TEST_F(BuildDisplay, AnIncrementalBuildNumbersOnlyTheStepsItRuns) {
    auto first = Host({"build"});
    ASSERT_EQ(first.exitCode, 0) << first.output;
    std::vector<std::string> all = Progress(first.output);
    ASSERT_EQ(all.size(), 8u) << first.output;
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i].rfind("[" + std::to_string(i + 1) + "/8] ", 0), 0u) << all[i];
    Later(At("include/demo/util.h"));
    auto header = Host({"build"});
    ASSERT_EQ(header.exitCode, 0) << header.output;
    EXPECT_EQ(Progress(header.output),
              (std::vector<std::string>{"[1/3] Compiling src/main.c", "[2/3] Compiling src/util.c",
                                        "[3/3] Linking Debug/demo.mot, Debug/demo.x"}))
        << header.output;
    EXPECT_NE(header.output.find("3 of 8 steps run, 5 up to date"), std::string::npos);
}

TEST_F(BuildDisplay, AStepsOutputStaysUnderItsOwnLineWithTwoJobs) {
    auto build = Host({"build", "-j", "2"});
    ASSERT_EQ(build.exitCode, 0) << build.output;
    std::vector<std::string> lines = Lines(build.output);
    size_t warning = 0;
    while (warning < lines.size() &&
           lines[warning].find("warning: unused variable") == std::string::npos)
        ++warning;
    ASSERT_LT(warning, lines.size()) << build.output;
    // Above the warning: its function's context line, then util.c's own line.
    ASSERT_GE(warning, 2u) << build.output;
    EXPECT_EQ(lines[warning - 1].rfind("src/util.c: In function ", 0), 0u) << build.output;
    EXPECT_NE(lines[warning - 1].find("util_checksum"), std::string::npos);
    EXPECT_TRUE(
        std::regex_match(lines[warning - 2], std::regex(R"(\[\d/8\] Compiling src/util\.c)")))
        << build.output;
    EXPECT_EQ(lines[warning].rfind("src/util.c:7:9: warning: unused variable", 0), 0u);
    // The step's line is printed again only when another step's line came
    // between its first showing and its output.
    size_t first = 0;
    while (first < lines.size() && lines[first].find("] Compiling src/util.c") == std::string::npos)
        ++first;
    EXPECT_EQ(CountOf(build.output, "] Compiling src/util.c\n"), first == warning - 2 ? 1u : 2u)
        << build.output;
    // The catalogue's texts for the IDE's status bar are not the terminal's.
    EXPECT_EQ(build.output.find("Please wait"), std::string::npos) << build.output;
}

TEST_F(BuildDisplay, AFailureIsNamedWithItsCommandAndSaidAgainNextTime) {
    ASSERT_EQ(Host({"build"}).exitCode, 0);
    Replace("src/board.c", "*BOARD_LEDS = 0;", "*BOARD_LEDS = undeclared_name;");
    auto failed = Host({"build"});
    EXPECT_EQ(failed.exitCode, 1);
    std::vector<std::string> lines = Lines(failed.output);
    auto at = std::find(lines.begin(), lines.end(), "FAILED: src/board.c");
    ASSERT_NE(at, lines.end()) << failed.output;
    ASSERT_NE(at + 1, lines.end());
    // The tool and the sub-command file it read.
    EXPECT_TRUE(std::regex_match(*(at + 1), std::regex(R"(  \S+/corvo-elf-gcc\.exe @\S+)")))
        << *(at + 1);
    std::string file = (at + 1)->substr((at + 1)->find('@') + 1);
    EXPECT_TRUE(fs::exists(fs::path(file).is_absolute() ? fs::path(file) : root_ / file)) << file;
    EXPECT_NE(failed.output.find("undeclared_name"), std::string::npos);
    EXPECT_NE(failed.output.find("Failed steps: src/board.c\n"), std::string::npos)
        << failed.output;
    auto again = Host({"build", "-v"});
    EXPECT_NE(again.output.find("Compiling src/board.c (it failed last time)"), std::string::npos)
        << again.output;
    EXPECT_EQ(again.output.find("did not finish"), std::string::npos) << again.output;
}

TEST_F(BuildDisplay, VerboseShowsTheCatalogueTextsAndOneKindOfSeparator) {
    auto build = Host({"build", "-v", "-j", "1"});
    ASSERT_EQ(build.exitCode, 0) << build.output;
    EXPECT_NE(build.output.find("Please wait...This may take a few minutes"), std::string::npos)
        << build.output;
    size_t commands = 0;
    for (const std::string& line : Lines(build.output)) {
        if (line.find("corvo-elf-") == std::string::npos || line.rfind("  ", 0) != 0) continue;
        ++commands;
        EXPECT_EQ(line.find('\\'), std::string::npos) << line;
        if (line.find(" -c ") != std::string::npos) {
            EXPECT_NE(line.find(" -I " + root_.generic_string() + "/include "), std::string::npos)
                << line;
        }
    }
    EXPECT_EQ(commands, 8u) << build.output;
    // A line per step with the reason it runs, and the commands count as the
    // step's: its output does not repeat its line.
    EXPECT_EQ(Progress(build.output, false).size(), 8u) << build.output;
    EXPECT_NE(build.output.find("[5/8] Compiling src/util.c (it was never built)\n"),
              std::string::npos)
        << build.output;
}

TEST_F(BuildDisplay, KeepGoingCountsFailuresAndZeroNeverStops) {
    Replace("src/board.c", "*BOARD_LEDS = 0;", "*BOARD_LEDS = undeclared_one;");
    Replace("src/led.c", "*BOARD_LEDS ^= 1u << index;", "*BOARD_LEDS ^= undeclared_two;");
    auto one = Host({"build", "-j", "1", "-k", "1"});
    EXPECT_EQ(one.exitCode, 1);
    EXPECT_EQ(CountOf(one.output, "\nFAILED: "), 1u) << one.output;
    EXPECT_FALSE(fs::exists(At("Debug/util.o"))) << "no step starts after the first failure";
    auto two = Host({"build", "-j", "1", "-k", "2"});
    EXPECT_EQ(CountOf(two.output, "\nFAILED: "), 2u) << two.output;
    auto never = Host({"build", "-k", "0"});
    EXPECT_EQ(never.exitCode, 1) << never.output;
    EXPECT_NE(never.output.find("Failed steps: src/board.c; src/led.c"), std::string::npos)
        << never.output;
    EXPECT_TRUE(fs::exists(At("Debug/util.o")));
    EXPECT_TRUE(fs::exists(At("Debug/ring.o")));
    EXPECT_FALSE(fs::exists(At("Debug/demo.x")));
}

TEST_F(BuildDisplay, ADryRunShowsTheStepsAndTheirCommandsAndRunsNone) {
    auto dry = Host({"build", "-n"});
    ASSERT_EQ(dry.exitCode, 0) << dry.output;
    EXPECT_EQ(Progress(dry.output).size(), 8u) << dry.output;
    EXPECT_EQ(CountOf(dry.output, "/corvo-elf-gcc.exe -c "), 4u) << dry.output;
    EXPECT_EQ(CountOf(dry.output, "/corvo-elf-g++.exe -c "), 1u) << dry.output;
    EXPECT_EQ(CountOf(dry.output, "/corvo-elf-ld.exe "), 1u) << dry.output;
    EXPECT_NE(dry.output.find("Dry run: 8 of 8 steps would run"), std::string::npos) << dry.output;
    EXPECT_FALSE(fs::exists(At("Debug/main.o")));
    EXPECT_FALSE(fs::exists(At("Debug/demo.x")));
    ASSERT_EQ(Host({"build"}).exitCode, 0);
    auto objectTime = fs::last_write_time(At("Debug/util.o"));
    Later(At("src/util.c"));
    auto changed = Host({"build", "-n"});
    EXPECT_EQ(Progress(changed.output),
              (std::vector<std::string>{"[1/2] Compiling src/util.c",
                                        "[2/2] Linking Debug/demo.mot, Debug/demo.x"}))
        << changed.output;
    EXPECT_EQ(fs::last_write_time(At("Debug/util.o")), objectTime);
    // Nothing was recorded: the real build still runs both.
    auto real = Host({"build"});
    EXPECT_NE(real.output.find("2 of 8 steps run"), std::string::npos) << real.output;
}

TEST_F(BuildDisplay, AMissingHeaderIsOneFatalErrorAsGccWroteIt) {
    Replace("src/led.c", "#include \"demo/board.h\"",
            "#include \"demo/board.h\"\n#include \"demo/missing.h\"");
    auto build = Host({"build"});
    EXPECT_EQ(build.exitCode, 1);
    int line = LineOf("src/led.c", "demo/missing.h");
    EXPECT_NE(build.output.find("src/led.c:" + std::to_string(line) +
                                ":10: fatal error: demo/missing.h: No such file or directory"),
              std::string::npos)
        << build.output;
    EXPECT_NE(build.output.find("\ncompilation terminated.\n"), std::string::npos);
    EXPECT_NE(build.output.find("Build FAILED: 1 error, 1 warning;"), std::string::npos)
        << build.output;
}

TEST_F(BuildDisplay, AFileLdNamesIsTheProjectsNotOneInTheOutputDirectory) {
    // Without debug information ld knows the source only by its name.
    auto ws = Workspace();
    for (auto& entry : ws["projects"][0]["options"])
        if (entry.value("fileType", "") == "C++ source file" && entry["config"] == "RELEASE")
            entry["value"] = entry["value"].get<std::string>() + " [B|DEBUG|0]";
    Save(ws);
    Replace("src/ring.cpp", "namespace {", "void not_defined_anywhere();\nnamespace {");
    Replace("src/ring.cpp", "        next_ = (next_ + 1) % N;",
            "        next_ = (next_ + 1) % N;\n        not_defined_anywhere();");
    auto build = Host({"build", "--config", "RELEASE"});
    EXPECT_EQ(build.exitCode, 1);
    EXPECT_TRUE(std::regex_search(
        build.output,
        std::regex("\nsrc/ring\\.cpp: error: undefined reference to `not_defined_anywhere")))
        << build.output;
    EXPECT_EQ(build.output.find("Release/ring.cpp"), std::string::npos) << build.output;
}

TEST_F(BuildDisplay, TheWorkspaceIsCheckedWhereItIsWrong) {
    auto ws = Workspace();
    for (auto& entry : ws["projects"][0]["options"])
        if (entry["phase"] == "Linker") entry["phase"] = "Linkr";
    Save(ws);
    std::string text = Read("demo.qws");
    size_t at = text.find("\"Linkr\"");
    int line =
        1 + static_cast<int>(std::count(text.begin(), text.begin() + static_cast<long>(at), '\n'));
    int column = static_cast<int>(at - text.rfind('\n', at));
    auto build = Host({"build"});
    EXPECT_EQ(build.exitCode, 1);
    EXPECT_EQ(build.output.rfind("demo.qws:" + std::to_string(line) + ":" + std::to_string(column) +
                                     ": error: unknown phase \"Linkr\"",
                                 0),
              0u)
        << build.output;
    EXPECT_NE(build.output.find("did you mean \"Linker\"?"), std::string::npos);
    EXPECT_EQ(build.output.find("undefined reference"), std::string::npos);

    std::ofstream(At("demo.qws"), std::ios::trunc)
        << "{\n  \"projects\": [\n    {\"name\" 1}\n]}\n";
    auto syntax = Host({"build"});
    EXPECT_EQ(syntax.exitCode, 1);
    EXPECT_EQ(syntax.output.rfind("demo.qws:3:13: error: syntax error: expected ':' after a key, "
                                  "found number literal",
                                  0),
              0u)
        << syntax.output;
    EXPECT_EQ(syntax.output.find("json.exception"), std::string::npos);

    auto help = Run({"edit", "--help"}, root_.string());
    EXPECT_EQ(help.exitCode, 0);
    EXPECT_NE(help.output.find("--config NAME"), std::string::npos) << help.output;
}

// On a terminal the progress is one line rewritten in place; a tmux pane
// shows what a person would see.
TEST_F(BuildDisplay, OnATerminalTheProgressIsOneStatusLine) {
    if (std::system("tmux -V > /dev/null 2>&1") != 0) GTEST_SKIP() << "no tmux";
    const std::string socket = "quorle-" + root_.filename().string();
    std::string command = "cd '" + root_.string() + "' && QUORLE_REGISTRY='" +
                          (tc_ / "registry.ini").string() + "' '" + HostBinary() +
                          "' build --toolchain '" + tc_.string() + "' -j 1; echo BUILD-ENDED; " +
                          "sleep 60";
    std::ofstream(At("in-tmux.sh")) << command << "\n";
    auto tmux = [&socket](const std::string& args) {
        return platform::RunProcess("tmux -L " + socket + " " + args, platform::ProcessOptions{});
    };
    ASSERT_EQ(tmux("new-session -d -x 100 -y 50 \"sh " + At("in-tmux.sh").string() + "\"").exitCode,
              0);
    std::string screen;
    for (int i = 0; i < 600 && screen.find("BUILD-ENDED") == std::string::npos; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(200));
        screen = tmux("capture-pane -p").output;
    }
    tmux("kill-server");
    ASSERT_NE(screen.find("BUILD-ENDED"), std::string::npos) << screen;
    EXPECT_NE(screen.find("Build succeeded"), std::string::npos) << screen;
    // Eight steps, but only the step with output (util.c's warning) and the
    // last status line stand on the screen.
    std::vector<std::string> shown = Progress(screen, false);
    ASSERT_EQ(shown.size(), 2u) << screen;
    EXPECT_TRUE(std::regex_match(shown[0], std::regex(R"(\[\d/8\] Compiling src/util\.c)")))
        << screen;
    EXPECT_EQ(shown[1], "[8/8] Linking Debug/demo.mot, Debug/demo.x") << screen;
    auto piped = Host({"build", "-j", "1"});
    EXPECT_EQ(Progress(piped.output).size(), 0u) << "up to date now";
}

} // namespace
} // namespace quorle::e2e
