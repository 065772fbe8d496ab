#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <filesystem>
#include <future>
#include <memory>
#include <thread>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "under_wine.h"

using namespace quorle::platform;
using quorle::testing_support::TempDir;

namespace {

// The child program, by the absolute path of its build output (on Windows a
// path from the root of the current drive).
std::string Child() {
    return std::string("\"") + QUORLE_TEST_CHILD + "\"";
}

ProcessResult RunChild(const std::string& arguments, uint32_t timeoutMs = 20000,
                       const std::string& workingDirectory = "") {
    ProcessOptions options;
    options.timeoutMs = timeoutMs;
    options.workingDirectory = workingDirectory;
    return RunProcess(Child() + " " + arguments, options);
}

std::string Lines(std::string text) {
    std::string folded;
    for (char c : text) {
        if (c != '\r') folded.push_back(c);
    }
    return folded;
}

} // namespace

TEST(Process, ArgumentsArriveSplitAndUnquoted) {
    ProcessResult r = RunChild("echo one \"two three\" \"\" C:\\dir\\x.c");
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
#if defined(_WIN32)
    EXPECT_EQ(Lines(r.output), "<one>\n<two three>\n<>\n<C:\\dir\\x.c>\n");
#else
    // The plug-in's Windows paths reach a POSIX tool with "/".
    EXPECT_EQ(Lines(r.output), "<one>\n<two three>\n<>\n<C:/dir/x.c>\n");
#endif
}

TEST(Process, MacroDefinitionsKeepTheirBackslashes) {
    ProcessResult r = RunChild("echo -DPATH=\"a\\b\" -D \"Q=c\\d\" \"-I\" inc\\dir");
    ASSERT_EQ(r.exitCode, 0);
#if defined(_WIN32)
    EXPECT_EQ(Lines(r.output), "<-DPATH=a\\b>\n<-D>\n<Q=c\\d>\n<-I>\n<inc\\dir>\n");
#else
    EXPECT_EQ(Lines(r.output), "<-DPATH=a\\b>\n<-D>\n<Q=c\\d>\n<-I>\n<inc/dir>\n");
#endif
}

TEST(Process, OutputAndErrorShareThePipe) {
    ProcessResult r = RunChild("both");
    EXPECT_EQ(Lines(r.output), "out\nerr\n");
    r = RunChild("stderr oops");
    EXPECT_EQ(r.output, "oops");
}

TEST(Process, ExitCodesAndFailuresToStart) {
    EXPECT_EQ(RunChild("exit 3").exitCode, 3);
    EXPECT_EQ(RunChild("exit 0").exitCode, 0);
    ProcessResult missing = RunProcess("no-such-program-quorle-test", {});
    EXPECT_FALSE(missing.started);
    // The system's reason, for the message that names the step.
    EXPECT_FALSE(missing.output.empty());
    EXPECT_FALSE(RunProcess("", {}).started);
}

TEST(Process, LargeOutputIsReadWhileTheChildRuns) {
    const long size = 3 * 1024 * 1024 + 17;
    ProcessResult r = RunChild("print " + std::to_string(size));
    ASSERT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 0);
    // Line ends may be CR LF where the child writes in text mode.
    EXPECT_EQ(static_cast<long>(Lines(r.output).size()), size);
    EXPECT_EQ(Lines(r.output).substr(0, 5), "abcde");
}

TEST(Process, TimeOutTerminatesTheChild) {
    auto start = std::chrono::steady_clock::now();
    ProcessResult r = RunChild("sleep 30000", 300);
    auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_TRUE(r.started);
    EXPECT_TRUE(r.timedOut);
    EXPECT_EQ(r.output.find("woke"), std::string::npos);
    // Far below the child's own 30 s: it was ended, not waited for.
    EXPECT_LT(elapsed, std::chrono::seconds(15));
    ProcessResult quick = RunChild("sleep 10", 20000);
    EXPECT_FALSE(quick.timedOut);
    EXPECT_EQ(Lines(quick.output), "woke\n");
}

TEST(Process, WorkingDirectoryOption) {
    TempDir dir;
    std::string saved = GetCurrentDirectory();
    ProcessResult r = RunChild("cwd", 20000, dir.Path());
    ASSERT_EQ(r.exitCode, 0);
    std::string printed = Lines(r.output);
    // The leaf name is enough: the system may print another separator.
    std::string leaf = dir.Path().substr(dir.Path().find_last_of("\\/") + 1);
    EXPECT_NE(printed.find(leaf), std::string::npos) << printed;
    EXPECT_EQ(GetCurrentDirectory(), saved);
    EXPECT_FALSE(RunChild("cwd", 20000, dir.File("missing")).started);
}

TEST(Process, ExtraEnvironmentEntriesReachTheChild) {
    ProcessOptions options;
    options.environment = {"QUORLE_TEST_EXTRA=one two", "PATH_QUORLE_UNUSED=x"};
    ProcessResult r = RunProcess(Child() + " env QUORLE_TEST_EXTRA", options);
    EXPECT_EQ(Lines(r.output), "one two\n");
    SetEnv("QUORLE_TEST_EXTRA", "inherited");
    EXPECT_EQ(Lines(RunChild("env QUORLE_TEST_EXTRA").output), "inherited\n");
    // An entry replaces an inherited variable of the same name.
    EXPECT_EQ(Lines(RunProcess(Child() + " env QUORLE_TEST_EXTRA", options).output), "one two\n");
    UnsetEnv("QUORLE_TEST_EXTRA");
    EXPECT_EQ(Lines(RunChild("env QUORLE_TEST_EXTRA").output), "<unset>\n");
}

#if !defined(_WIN32)
// True while a process runs (a zombie no longer counts).
bool Alive(const std::string& pid) {
    std::string stat = ReadFile("/proc/" + pid + "/stat", false).value_or("");
    size_t close = stat.rfind(')');
    return close != std::string::npos && close + 2 < stat.size() && stat[close + 2] != 'Z';
}

TEST(Process, WhatAChildLeavesInItsGroupIsEndedWithIt) {
    TempDir dir;
    std::string pidFile = dir.Path() + "/pid"; // the shell reads it as it stands
    ProcessResult r = RunChild("orphan " + pidFile);
    ASSERT_EQ(r.exitCode, 0) << r.output;
    std::string pid = ReadFile(pidFile, false).value_or("");
    while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\r')) pid.pop_back();
    ASSERT_FALSE(pid.empty());
    // The kill is sent before RunProcess returns; the kernel may take a moment.
    for (int i = 0; i < 200 && Alive(pid); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    EXPECT_FALSE(Alive(pid)) << "process " << pid << " outlived its group";
}

TEST(Process, AnInterruptIsPassedOnToTheChildAndWaitedFor) {
    WatchInterrupts();
    ClearInterrupt();
    std::thread later([] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        std::raise(SIGINT);
    });
    auto start = std::chrono::steady_clock::now();
    ProcessResult r = RunChild("sleep 30000", kNoTimeout);
    later.join();
    EXPECT_EQ(PendingInterrupt(), SIGINT);
    EXPECT_TRUE(r.interrupted);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, 128 + SIGINT);
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(20));
    ClearInterrupt();
    EXPECT_EQ(PendingInterrupt(), 0);
    ProcessResult after = RunChild("exit 4");
    EXPECT_FALSE(after.interrupted);
    EXPECT_EQ(after.exitCode, 4);
}
#endif
#if defined(_WIN32)
// Wine starts an ELF program detached and hands back no process handle: the
// run must end at once as a failure (it used to poll for ever), even for a
// program that would have succeeded.
TEST(Process, AProgramWithoutAProcessHandleEndsTheRunAsAFailure) {
    if (!quorle::testing::UnderWine()) GTEST_SKIP() << "only Wine starts such programs";
    TempDir dir;
    std::error_code ec;
    std::filesystem::copy_file("Z:\\bin\\true", dir.Root() / "true.exe", ec);
    if (ec) GTEST_SKIP() << "no host /bin/true to start";
    // On a thread of its own, so that a run that never comes back fails the
    // test instead of hanging it.
    auto task = std::make_shared<std::packaged_task<ProcessResult()>>(
        [line = "\"" + dir.File("true.exe") + "\" --version"] {
            ProcessOptions options;
            options.timeoutMs = 60000;
            return RunProcess(line, options);
        });
    std::future<ProcessResult> run = task->get_future();
    std::thread([task] { (*task)(); }).detach();
    ASSERT_EQ(run.wait_for(std::chrono::seconds(20)), std::future_status::ready)
        << "RunProcess did not come back";
    ProcessResult r = run.get();
    EXPECT_TRUE(r.started);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_NE(r.output.find(kUntrackedProcessMessage), std::string::npos) << r.output;
    // The ordinary child still gives its exit code.
    EXPECT_EQ(RunChild("exit 5").exitCode, 5);
}
#endif

TEST(Process, OutputPastTheCapEndsTheChildAtOnce) {
    ProcessOptions options;
    options.timeoutMs = 60000;
    options.maxOutputBytes = size_t{1} << 20;
    // Far more than the cap: without it the child would run to the time-out.
    ProcessResult r = RunProcess(Child() + " print 100000000000", options);
    ASSERT_TRUE(r.started);
    EXPECT_TRUE(r.outputOverflow);
    EXPECT_FALSE(r.timedOut);
    EXPECT_EQ(r.exitCode, -1);
    EXPECT_LE(r.output.size(), options.maxOutputBytes);

    ProcessResult within = RunProcess(Child() + " print 5000", options);
    EXPECT_FALSE(within.outputOverflow);
    EXPECT_EQ(within.exitCode, 0);
    EXPECT_EQ(Lines(within.output).size(), 5000u);
}

TEST(Threads, WorkRunsOnAThreadOfTheGivenStack) {
    int calls = 0;
    // Deep enough to need more than a small stack's worth of frames when
    // written recursively; here it only has to run to its end.
    EXPECT_TRUE(RunOnThreadWithStack(size_t{1} << 20, [&calls] { ++calls; }));
    EXPECT_EQ(calls, 1);
}
