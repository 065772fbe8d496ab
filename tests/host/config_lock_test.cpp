// One quorle-host per configuration directory: a second one is told who
// holds the lock or waits for it, a lock dies with its holder, and the lock
// file is never followed through a link.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <thread>

#include "host/build_state.h"
#include "host/config_lock.h"
#include "platform/file_lock.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::host {
namespace {

namespace fs = std::filesystem;

TEST(ConfigLock, ASecondOneIsToldWhoHoldsItOrWaits) {
    testing_support::TempDir temp("lock");
    std::string dir = temp.Root().generic_string();
    ConfigLock first, second;
    std::string error;
    ASSERT_TRUE(first.Take(dir, false, error)) << error;
    EXPECT_EQ(testing_support::ReadBytes(BuildState::LockIn(dir)),
              std::to_string(platform::CurrentProcessId()));
    EXPECT_FALSE(second.Take(dir, false, error));
    EXPECT_EQ(error, "another quorle-host (pid " + std::to_string(platform::CurrentProcessId()) +
                         ") is using " + dir);
    EXPECT_FALSE(second.held());

    std::thread holder([&first] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        first.Release();
    });
    std::FILE* notes = std::tmpfile();
    ASSERT_NE(notes, nullptr);
    bool taken = second.Take(dir, true, error, notes);
    holder.join();
    EXPECT_TRUE(taken) << error;
    EXPECT_FALSE(first.held());
    std::rewind(notes);
    char line[512] = {};
    ASSERT_NE(std::fgets(line, sizeof line, notes), nullptr);
    std::fclose(notes);
    EXPECT_EQ(std::string(line), "waiting for quorle-host (pid " +
                                     std::to_string(platform::CurrentProcessId()) +
                                     "), which is using " + dir + "\n");
}

// Clean removes the lock file as it lets go; whoever waited on the removed
// file must not hold it beside a newcomer who made a new one.
TEST(ConfigLock, ALockFileRemovedByItsHolderLetsOnlyOneIn) {
    testing_support::TempDir temp("lock_removed");
    std::string dir = temp.Root().generic_string();
    ConfigLock first, waiting, newcomer;
    std::string error, waitError;
    ASSERT_TRUE(first.Take(dir, false, error)) << error;
    bool taken = false;
    std::thread waiter([&] { taken = waiting.Take(dir, true, waitError, nullptr); });
    std::this_thread::sleep_for(std::chrono::milliseconds(150));
    first.ReleaseAndRemove();
    waiter.join();
    ASSERT_TRUE(taken) << waitError;
    EXPECT_TRUE(fs::exists(BuildState::LockIn(dir)));
    EXPECT_FALSE(newcomer.Take(dir, false, error));
    EXPECT_NE(error.find("another quorle-host"), std::string::npos) << error;
}

// A lock file left by a holder that ended, pid and all, blocks no one.
TEST(ConfigLock, ALockFileLeftBehindDoesNotBlock) {
    testing_support::TempDir temp("lock_left");
    std::string dir = temp.Root().generic_string();
    std::ofstream(BuildState::LockIn(dir)) << "4242";
    ConfigLock lock;
    std::string error;
    EXPECT_TRUE(lock.Take(dir, false, error)) << error;
}

TEST(ConfigLock, TheLockFileIsNeverFollowedThroughALink) {
    testing_support::TempDir temp("lock_link");
    testing_support::TempDir outside("lock_outside");
    fs::path victim = outside.Root() / "victim";
    std::ofstream(victim) << "keep";
    std::string dir = temp.Root().generic_string();
    fs::create_symlink(victim, BuildState::LockIn(dir));
    ConfigLock lock;
    std::string error;
    EXPECT_FALSE(lock.Take(dir, true, error));
    EXPECT_NE(error.find("not a link"), std::string::npos) << error;
    EXPECT_EQ(testing_support::ReadBytes(victim), "keep");
    fs::remove(BuildState::LockIn(dir));
    fs::create_directory(BuildState::LockIn(dir));
    EXPECT_FALSE(lock.Take(dir, false, error));
}

} // namespace
} // namespace quorle::host
