// What the end-to-end tests of the host's safety share: a copy of the
// example workspace in a fresh directory, quorle-host run there with the
// stand-in toolchain, and shell scripts for what needs a second process
// running at the same time (kills, concurrent builds).
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::e2e {

namespace fs = std::filesystem;

inline std::string Quote(const std::string& arg) {
    return arg.find_first_of(" \"") == std::string::npos ? arg : "\"" + arg + "\"";
}

inline std::string HostBinary() {
    return std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host";
}

inline size_t CountOf(const std::string& text, const std::string& part) {
    size_t n = 0;
    for (size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++n;
    return n;
}

// A copy of examples/demo (sources, headers, workspace) and the stand-in
// toolchain, laid out once for the suite.
class DemoCopy : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        tcTemp_ = std::make_unique<testing_support::TempDir>("e2e_tc");
        tc_ = tcTemp_->Root();
        auto layout = Run({"toolchain", tc_.string()}, "");
        ASSERT_EQ(layout.exitCode, 0) << layout.output;
    }
    static void TearDownTestSuite() { tcTemp_.reset(); }
    void SetUp() override {
        root_ = temp_.Root();
        const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / "demo";
        for (const char* part : {"src", "include", "demo.qws"})
            fs::copy(source / part, root_ / part, fs::copy_options::recursive);
    }

    // quorle-host in `dir`, away from the user's registry file, uncoloured.
    static platform::ProcessResult Run(const std::vector<std::string>& args, const std::string& dir,
                                       std::vector<std::string> environment = {}) {
        std::string line = Quote(HostBinary());
        for (const std::string& a : args) line += " " + Quote(a);
        platform::ProcessOptions options;
        options.timeoutMs = 5 * 60 * 1000;
        options.workingDirectory = dir;
        environment.push_back("QUORLE_REGISTRY=" + (tc_ / "registry.ini").string());
        environment.push_back("NO_COLOR=1");
        options.environment = environment;
        return platform::RunProcess(line, options);
    }
    platform::ProcessResult Host(std::vector<std::string> args,
                                 std::vector<std::string> environment = {}) {
        args.push_back("--toolchain");
        args.push_back(tc_.string());
        return Run(args, root_.string(), environment);
    }
    // A /bin/sh script run in the workspace's directory; $HOST and $TC name
    // the host and the toolchain.
    platform::ProcessResult Shell(const std::string& script) {
        std::string path = (root_ / "test-script.sh").string();
        std::ofstream(path) << "HOST='" << HostBinary() << "'\nTC='" << tc_.string()
                            << "'\nexport QUORLE_REGISTRY='" << (tc_ / "registry.ini").string()
                            << "'\nexport NO_COLOR=1\n"
                            << script;
        platform::ProcessOptions options;
        options.workingDirectory = root_.string();
        options.timeoutMs = 3 * 60 * 1000;
        return platform::RunProcess("/bin/sh " + Quote(path), options);
    }
    // An executable script below the workspace's directory.
    std::string Script(const std::string& name, const std::string& body) {
        fs::path path = root_ / name;
        std::ofstream(path) << "#!/bin/sh\n" << body;
        fs::permissions(path, fs::perms::owner_all);
        return path.string();
    }
    nlohmann::json Workspace() {
        return nlohmann::json::parse(testing_support::ReadBytes(root_ / "demo.qws"));
    }
    void Save(const nlohmann::json& ws) { std::ofstream(root_ / "demo.qws") << ws.dump(2); }
    fs::path At(const std::string& rel) const { return root_ / rel; }
    std::string Read(const std::string& rel) const { return testing_support::ReadBytes(At(rel)); }

    static std::unique_ptr<testing_support::TempDir> tcTemp_;
    static fs::path tc_;
    testing_support::TempDir temp_{"e2e"};
    fs::path root_;
};

inline std::unique_ptr<testing_support::TempDir> DemoCopy::tcTemp_;
inline fs::path DemoCopy::tc_;

} // namespace quorle::e2e
