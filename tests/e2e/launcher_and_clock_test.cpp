// The launcher in front of compiles is a list of words, from the workspace
// or the command line, that reach it as they are; and a source stamped in
// the future is said once per build.
#include <gtest/gtest.h>

#include <chrono>

#include "e2e/host_process.h"

namespace quorle::e2e {
namespace {

class LauncherAndClock : public DemoCopy {
  protected:
    // A launcher that notes the words it was given before the tool, then
    // runs the tool.
    std::string NotingLauncher() {
        return Script("note.sh", "printf '%s|%s\\n' \"$1\" \"$2\" >> '" + At("words.log").string() +
                                     "'\nshift 2\nexec \"$@\"\n");
    }
};

TEST_F(LauncherAndClock, TheLauncherReachesTheToolAsWords) {
    std::string launcher = NotingLauncher();
    auto ws = Workspace();
    ws["launcher"] = {launcher, "--tag", "two words"};
    Save(ws);
    auto fromWorkspace = Host({"build"});
    ASSERT_EQ(fromWorkspace.exitCode, 0) << fromWorkspace.output;
    std::string log = Read("words.log");
    // Five compiles and the assembly; the library generator and the link
    // run without it.
    EXPECT_EQ(CountOf(log, "--tag|two words\n"), 6u) << log;

    fs::remove(At("words.log"));
    ASSERT_EQ(Host({"clean"}).exitCode, 0);
    auto fromOptions =
        Host({"build", "--launcher", launcher, "--launcher", "-x", "--launcher", "$HOME *"});
    ASSERT_EQ(fromOptions.exitCode, 0) << fromOptions.output;
    log = Read("words.log");
    EXPECT_EQ(CountOf(log, "-x|$HOME *\n"), 6u) << log;
}

// make's words for a file stamped after the present: the steps that read it
// can never catch up, so they run every time, and the build says why, once.
TEST_F(LauncherAndClock, AFileFromTheFutureIsSaidOncePerBuild) {
    auto future = fs::file_time_type::clock::now() + std::chrono::hours(1);
    fs::last_write_time(At("src/led.c"), future);
    fs::last_write_time(At("include/demo/util.h"), future);
    for (int build = 0; build < 2; ++build) {
        auto run = Host({"build"});
        ASSERT_EQ(run.exitCode, 0) << run.output;
        EXPECT_EQ(CountOf(run.output, "clock skew detected"), 1u) << run.output;
        EXPECT_NE(run.output.find("Compiling src/led.c"), std::string::npos) << run.output;
    }
    fs::last_write_time(At("src/led.c"), fs::file_time_type::clock::now());
    fs::last_write_time(At("include/demo/util.h"), fs::file_time_type::clock::now());
    Host({"build"});
    auto settled = Host({"build"});
    EXPECT_EQ(CountOf(settled.output, "clock skew"), 0u) << settled.output;
    EXPECT_NE(settled.output.find("8 up to date"), std::string::npos) << settled.output;
}

} // namespace
} // namespace quorle::e2e
