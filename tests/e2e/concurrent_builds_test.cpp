// Two quorle-hosts on one configuration, and a build killed outright: the
// second one waits or names the first, a lock dies with its holder, and a
// killed build of ten thousand files leaves a short journal whose
// half-written object never counts as built.
#include <gtest/gtest.h>

#include <regex>

#include "e2e/host_process.h"

namespace quorle::e2e {
namespace {

class ConcurrentBuilds : public DemoCopy {};

// Half of concurrent pairs failed with spurious errors: a half-written
// object linked, two library generators in one folder.
TEST_F(ConcurrentBuilds, ASecondOneNamesTheFirstOrWaitsForIt) {
    std::string root = root_.string();
    Script("hold.sh", "case \"$*\" in *src/main.c*) : > '" + root + "/held'; while [ ! -e '" +
                          root + "/go' ]; do sleep 0.05; done ;; esac\nexec \"$@\"\n");
    auto run =
        Shell("\"$HOST\" build --toolchain \"$TC\" -j 1 --launcher '" + root +
              "/hold.sh' > first.log 2>&1 &\n"
              "first=$!; echo \"pid=$first\"\n"
              "i=0; while [ ! -e held ] && [ $i -lt 1200 ]; do sleep 0.05; i=$((i+1)); done\n"
              "\"$HOST\" build --toolchain \"$TC\" > second.log 2>&1; echo \"second=$?\"\n"
              "\"$HOST\" clean --toolchain \"$TC\" > clean.log 2>&1; echo \"clean=$?\"\n"
              "\"$HOST\" edit --script none.txt > edit.log 2>&1; echo \"edit=$?\"\n"
              "\"$HOST\" build --toolchain \"$TC\" --wait > third.log 2>&1 &\n"
              "third=$!\n"
              "i=0; while ! grep -q waiting third.log && [ $i -lt 1200 ]; do sleep 0.05; "
              "i=$((i+1)); done\n"
              ": > go\n"
              "wait $first; echo \"first=$?\"\n"
              "wait $third; echo \"third=$?\"\n");
    std::smatch pid;
    ASSERT_TRUE(std::regex_search(run.output, pid, std::regex("pid=(\\d+)"))) << run.output;
    std::string busy = "another quorle-host (pid " + pid[1].str() + ") is using " + root + "/Debug";
    EXPECT_NE(run.output.find("second=1"), std::string::npos) << run.output;
    EXPECT_NE(Read("second.log").find(busy), std::string::npos) << Read("second.log");
    EXPECT_NE(run.output.find("clean=1"), std::string::npos) << run.output;
    EXPECT_NE(Read("clean.log").find(busy), std::string::npos) << Read("clean.log");
    EXPECT_NE(run.output.find("edit=1"), std::string::npos) << run.output;
    EXPECT_NE(Read("edit.log").find(busy), std::string::npos) << Read("edit.log");
    EXPECT_NE(run.output.find("first=0"), std::string::npos) << run.output << Read("first.log");
    EXPECT_NE(run.output.find("third=0"), std::string::npos) << run.output << Read("third.log");
    EXPECT_NE(Read("third.log")
                  .find("waiting for quorle-host (pid " + pid[1].str() + "), which is using " +
                        root + "/Debug"),
              std::string::npos)
        << Read("third.log");
    EXPECT_NE(Read("third.log").find("8 up to date"), std::string::npos) << Read("third.log");
}

// Ten thousand tiny sources; the launcher stands in for the compiler, so a
// step costs a process start, and the build is killed at the 401st file,
// half written, long before the end.
TEST_F(ConcurrentBuilds, TenThousandFilesKilledMidBuild) {
    constexpr int kFiles = 10000;
    fs::create_directories(At("big/src"));
    nlohmann::json files = nlohmann::json::array();
    for (int i = 0; i < kFiles; ++i) {
        char name[32];
        std::snprintf(name, sizeof name, "src/f%04d.c", i);
        std::ofstream(At("big") / name) << "int f" << i << ";\n";
        files.push_back(name);
    }
    nlohmann::json ws = {{"toolchain", "Dravik GNUCORVO [ELF]"},
                         {"cpuSeries", "CORVO"},
                         {"phases", {"GNU Compiler"}},
                         {"projects", {{{"name", "big"}, {"dir", "."}, {"files", files}}}}};
    std::ofstream(At("big/big.qws")) << ws.dump();
    std::string root = root_.string();
    const std::string args = "out=; dep=; prev=\nfor a; do case $prev in -o) out=$a ;; -MF) "
                             "dep=$a ;; esac; prev=$a; done\n";
    Script("fake.sh", args + "case $out in */f0400.o) echo half > \"$out\"; echo $$ > '" + root +
                          "/stuck.pid'; exec sleep 60 ;; esac\n"
                          "echo obj > \"$out\"; echo \"$out:\" > \"$dep\"\n");
    Script("first.sh", args + "if [ -e '" + root +
                           "/big/Debug/f0400.o' ]; then s=present; else s=absent; fi\n"
                           "echo \"$out $s\" >> '" +
                           root + "/first.log'\nkill -INT $PPID\nexit 1\n");
    auto run = Shell("cd big\n"
                     "\"$HOST\" build --toolchain \"$TC\" -j 2 --launcher '" +
                     root +
                     "/fake.sh' > ../build1.log 2>&1 &\n"
                     "host=$!\n"
                     "i=0; while [ ! -s ../stuck.pid ] && [ $i -lt 2400 ]; do sleep 0.05; "
                     "i=$((i+1)); done\n"
                     "kill -KILL $host; wait $host; echo \"first=$?\"\n"
                     "kill -KILL $(cat ../stuck.pid)\n"
                     "echo \"journal=$(wc -c < Debug/.quorle-host-journal)\"\n"
                     "\"$HOST\" build --toolchain \"$TC\" -j 1 --launcher '" +
                     root + "/first.sh' > ../build2.log 2>&1; echo \"second=$?\"\n");
    EXPECT_NE(run.output.find("first=137"), std::string::npos) << run.output << Read("build1.log");
    // Two lines of 19 bytes a step at most, folded into the state now and
    // then: far below the size of what 400 steps read and made.
    std::smatch journal;
    ASSERT_TRUE(std::regex_search(run.output, journal, std::regex("journal=(\\d+)"))) << run.output;
    EXPECT_LE(std::stoul(journal[1].str()), 64u + 2u * 19u * 401u) << run.output;
    // The lock died with the killed build; the next one ran at once, with
    // the half-written object gone, and kept what the first had recorded.
    EXPECT_EQ(Read("build2.log").find("another quorle-host"), std::string::npos)
        << Read("build2.log");
    std::smatch first;
    std::string log = Read("first.log");
    ASSERT_TRUE(std::regex_search(log, first, std::regex("/f(\\d{4})\\.o (\\w+)"))) << log;
    EXPECT_EQ(first[2].str(), "absent") << log;
    int index = std::stoi(first[1].str());
    EXPECT_GT(index, 0) << "what finished before a checkpoint is kept: " << log;
    EXPECT_LE(index, 400) << log;
}

} // namespace
} // namespace quorle::e2e
