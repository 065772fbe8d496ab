// distcc as the compiler launcher, against a distccd of the test's own on
// 127.0.0.1: the compiles run in the daemon, not locally, and the program
// is the one a local build makes.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <random>
#include <regex>
#include <thread>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
namespace platform = quorle::platform;
using quorle::testing_support::ReadBytes;
using quorle::testing_support::TempDir;

size_t Count(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

class Distcc : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!platform::RunProcess("distccd --version", {}).started ||
            !platform::RunProcess("distcc --version", {}).started)
            GTEST_SKIP() << "distcc is not installed";
        root_ = temp_.Root();
        const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / "demo";
        for (const char* part : {"src", "include", "demo.qws"})
            fs::copy(source / part, root_ / part, fs::copy_options::recursive);
        ASSERT_EQ(Host({"toolchain", (root_ / "tc").string()}).exitCode, 0);
        // Run as root, distccd drops to its own user, which must be able to
        // write its log and pid file and run the stand-in toolchain.
        daemonDir_ = root_ / "distccd";
        fs::create_directory(daemonDir_);
        fs::permissions(daemonDir_, fs::perms::all);
        fs::create_directory(root_ / "client");
        StartDaemon();
    }
    void TearDown() override {
        if (!pid_.empty()) platform::RunProcess("kill " + pid_, {});
    }

    // A free port is found by trying: distccd exits at once when the bind
    // fails.
    void StartDaemon() {
        std::random_device random;
        for (int attempt = 0; attempt < 20 && pid_.empty(); ++attempt) {
            port_ = 20000 + static_cast<int>(random() % 30000);
            platform::ProcessOptions options;
            options.endGroup = false; // the daemon detaches on purpose
            auto started = platform::RunProcess(
                "distccd --daemon --listen 127.0.0.1 --allow 127.0.0.1 --port " +
                    std::to_string(port_) + " --jobs 4 --log-level info --log-file " +
                    Log().string() + " --pid-file " + (daemonDir_ / "pid").string() +
                    // The stand-in compilers are not in distccd's list of
                    // known compilers; the daemon listens on loopback only.
                    " --enable-tcp-insecure",
                options);
            if (started.exitCode != 0) continue;
            for (int wait = 0; wait < 100 && pid_.empty(); ++wait) {
                std::string pid = ReadBytes(daemonDir_ / "pid");
                while (!pid.empty() && (pid.back() == '\n' || pid.back() == '\r')) pid.pop_back();
                if (!pid.empty())
                    pid_ = pid;
                else
                    std::this_thread::sleep_for(std::chrono::milliseconds(20));
            }
        }
        ASSERT_FALSE(pid_.empty()) << "distccd did not start: " << ReadBytes(Log());
    }

    fs::path Log() const { return daemonDir_ / "log"; }

    platform::ProcessResult Host(std::vector<std::string> args,
                                 std::vector<std::string> environment = {}) {
        std::string line = std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host";
        for (const std::string& a : args) line += " " + a;
        if (args.front() != "toolchain") line += " --toolchain " + (root_ / "tc").string();
        platform::ProcessOptions options;
        options.timeoutMs = 5 * 60 * 1000;
        options.workingDirectory = root_.string();
        environment.push_back("QUORLE_REGISTRY=" + (root_ / "registry.ini").string());
        environment.push_back("NO_COLOR=1");
        options.environment = environment;
        return platform::RunProcess(line, options);
    }

    std::vector<std::string> ClientEnvironment() const {
        return {"DISTCC_HOSTS=127.0.0.1:" + std::to_string(port_) + "/8",
                // A compile the daemon cannot take must fail, not quietly
                // run here.
                "DISTCC_FALLBACK=0", "DISTCC_SKIP_LOCAL_RETRY=1",
                "DISTCC_DIR=" + (root_ / "client").string()};
    }

    std::string Nm(const std::string& program) {
        return platform::RunProcess("nm " + (root_ / program).string(), {}).output;
    }

    TempDir temp_{"distcc"};
    fs::path root_;
    fs::path daemonDir_;
    int port_ = 0;
    std::string pid_;
};

TEST_F(Distcc, CompilesRunInTheDaemonAndMakeTheLocalBuildsProgram) {
    for (const char* config : {"RELEASE", "DEBUG"}) {
        SCOPED_TRACE(config);
        const std::string dir = std::string(config) == "DEBUG" ? "Debug" : "Release";
        auto local = Host({"build", "--config", config});
        ASSERT_EQ(local.exitCode, 0) << local.output;
        const std::string localMot = ReadBytes(root_ / dir / "demo.mot");
        const std::string localNm = Nm(dir + "/demo.x");
        ASSERT_FALSE(localMot.empty());
        ASSERT_EQ(Host({"clean", "--config", config}).exitCode, 0);

        const size_t before = Count(ReadBytes(Log()), "COMPILE_OK");
        // More jobs than cores: the work is meant to run elsewhere.
        auto remote = Host({"build", "--config", config, "--launcher", "distcc", "-j", "6"},
                           ClientEnvironment());
        ASSERT_EQ(remote.exitCode, 0) << remote.output << ReadBytes(Log());
        const std::string log = ReadBytes(Log());
        // Four C files and one C++ file went to the daemon.
        EXPECT_GE(Count(log, "COMPILE_OK") - before, 5u) << log;
        EXPECT_EQ(Count(log, "COMPILE_ERROR"), 0u) << log;
        for (const char* file : {"src/main.c", "src/led.c", "src/util.c", "src/ring.cpp"})
            EXPECT_TRUE(std::regex_search(log, std::regex(std::string("COMPILE_OK.*") + file)))
                << file << "\n"
                << log;
        EXPECT_EQ(ReadBytes(root_ / dir / "demo.mot"), localMot);
        EXPECT_EQ(Nm(dir + "/demo.x"), localNm);
    }
}

} // namespace
