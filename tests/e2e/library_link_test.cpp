// A project library that the objects need links whichever tool drives the
// link: ld, or gcc (which hands ld its -T files after the libraries).
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <nlohmann/json.hpp>

#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace {

namespace fs = std::filesystem;
namespace platform = quorle::platform;
using quorle::testing_support::ReadBytes;
using quorle::testing_support::TempDir;

std::string Quote(const std::string& arg) {
    return arg.find(' ') == std::string::npos ? arg : "\"" + arg + "\"";
}

class LibraryLink : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        tcTemp_ = std::make_unique<TempDir>("library_link_tc");
        auto layout = Run({"toolchain", tcTemp_->Root().string()}, "");
        ASSERT_EQ(layout.exitCode, 0) << layout.output;
    }
    static void TearDownTestSuite() { tcTemp_.reset(); }

    void SetUp() override {
        const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / "demo";
        for (const char* part : {"src", "include", "demo.qws"})
            fs::copy(source / part, temp_.Root() / part, fs::copy_options::recursive);
    }

    static platform::ProcessResult Run(const std::vector<std::string>& args,
                                       const std::string& dir) {
        std::string line = Quote(std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host");
        for (const std::string& a : args) line += " " + Quote(a);
        platform::ProcessOptions options;
        options.timeoutMs = 5 * 60 * 1000;
        options.workingDirectory = dir;
        options.environment = {"QUORLE_REGISTRY=" + (tcTemp_->Root() / "registry.ini").string(),
                               "NO_COLOR=1"};
        return platform::RunProcess(line, options);
    }
    platform::ProcessResult Host(std::vector<std::string> args) {
        args.insert(args.end(), {"--toolchain", tcTemp_->Root().string()});
        return Run(args, temp_.Root().string());
    }

    // Adds tokens to the DEBUG linker options.
    void AddLinkerTokens(const std::string& tokens) {
        fs::path file = temp_.Root() / "demo.qws";
        auto ws = nlohmann::json::parse(ReadBytes(file));
        for (auto& entry : ws["projects"][0]["options"])
            if (entry["phase"] == "Linker" && entry.value("config", "") == "DEBUG")
                entry["value"] = entry["value"].get<std::string>() + " " + tokens;
        std::ofstream(file, std::ios::binary | std::ios::trunc) << ws.dump(2);
    }

    // The linked program holds strlen, which only the project library has.
    bool DefinesStrlen() {
        auto nm = platform::RunProcess("nm " + (temp_.Root() / "Debug" / "demo.x").string(),
                                       platform::ProcessOptions{});
        return nm.output.find(" T strlen\n") != std::string::npos;
    }

    static std::unique_ptr<TempDir> tcTemp_;
    TempDir temp_{"library_link"};
};

std::unique_ptr<TempDir> LibraryLink::tcTemp_;

// The demo's objects call strlen, memset and toupper, which only the
// project's generated library libdemo.a defines: -nostdlib keeps the
// machine's C library out of a gcc-driven link.
TEST_F(LibraryLink, TheProjectLibraryResolvesTheObjectsThroughLdAndThroughGcc) {
    struct Route {
        const char* name;
        const char* tokens;
        const char* inputFileLine;
    };
    for (const Route& route :
         {Route{"ld", "", "-T \""},
          Route{"gcc", "[B|USEGCCTOLINK|1] [S|APPTXT|\"-no-pie -nostdlib -Wl,--build-id=none\"]",
                "-Xlinker -T -Xlinker \""}}) {
        SCOPED_TRACE(route.name);
        if (*route.tokens != '\0') AddLinkerTokens(route.tokens);
        auto build = Host({"build", "--config", "DEBUG", "-j", "2"});
        ASSERT_EQ(build.exitCode, 0) << build.output;
        EXPECT_NE(build.output.find("0 errors"), std::string::npos) << build.output;
        // The linker input file is named where ld reads it before the libraries.
        std::string sub = ReadBytes(temp_.Root() / "Debug" / "demo.gld");
        EXPECT_NE(sub.find("\r\n" + std::string(route.inputFileLine)), std::string::npos) << sub;
        EXPECT_LT(sub.find("_input.tmp"), sub.find("-l \"demo\"")) << sub;
        EXPECT_TRUE(DefinesStrlen()) << route.name;
        // Clean knows the linker input file however it was named.
        ASSERT_EQ(Host({"clean", "--config", "DEBUG"}).exitCode, 0);
        EXPECT_TRUE(fs::is_empty(temp_.Root() / "Debug"));
    }
    // The makefile's link rule runs the tool the build runs: gcc here.
    auto makefile = Host({"makefile", "--config", "DEBUG"});
    ASSERT_EQ(makefile.exitCode, 0) << makefile.output;
    EXPECT_NE(ReadBytes(temp_.Root() / "demo_DEBUG.mak").find("EXENAME = corvo-elf-gcc.exe\n"),
              std::string::npos);
    platform::ProcessOptions options;
    options.workingDirectory = temp_.Root().string();
    options.timeoutMs = 5 * 60 * 1000;
    auto make = platform::RunProcess("make -f demo_DEBUG.mak", options);
    ASSERT_EQ(make.exitCode, 0) << make.output;
    EXPECT_TRUE(DefinesStrlen());
}

} // namespace
