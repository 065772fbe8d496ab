// What the firmware tests share: a copy of examples/cortex-m3 built through
// quorle-host with a target's toolchain layout, its workspace changed as a
// test needs, and the program run in qemu-system-arm with RAM filled with
// 0xA5 first.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "support/temp_dir.h"

namespace quorle::firmware {

namespace fs = std::filesystem;

// The line main prints when the start-up code did its work.
inline constexpr const char* kHelloLine = "Hello from the Cortex-M3: .data copied, .bss zeroed";
// The line after it: the C++ constructors ran, and libgcc was linked.
inline constexpr const char* kCxxLine =
    "C++ objects constructed in priority order; 64-bit division by libgcc";

// The tools the tests need; a message naming the missing ones, or empty.
std::string MissingTools();

// A toolchain layout for one target, made once per test program.
const fs::path& ToolchainFor(const std::string& target);

struct QemuRun {
    int exitCode = -1;
    bool timedOut = false;
    std::string output;
};

// Runs `kernel` (an ELF file or a raw image loaded at 0) on `machine` with
// semihosting, RAM at 0x20000000 filled with 0xA5, for at most `timeoutMs`.
QemuRun RunOnMachine(const std::string& machine, const fs::path& kernel,
                     uint32_t timeoutMs = 20000);

// A copy of an example workspace in a temporary directory.
class FirmwareWorkspace {
  public:
    explicit FirmwareWorkspace(const std::string& example = "cortex-m3",
                               const std::string& target = "cortex-m3");

    const fs::path& Root() const { return root_; }
    fs::path At(const std::string& relative) const { return root_ / relative; }
    fs::path WorkspaceFile() const;
    // "Debug/firmware.x" for DEBUG.
    fs::path Program(const std::string& config, const std::string& extension = ".x") const;
    static std::string ConfigDir(const std::string& config);

    // Runs quorle-host in the workspace's directory with this copy's
    // toolchain ("--toolchain" is added for the commands that take one).
    platform::ProcessResult Host(std::vector<std::string> args) const;
    platform::ProcessResult Build(const std::string& config) const;

    // Changes the stored option string of `phase` ("Linker", "Compiler")
    // for `config` ("" for every entry of the phase).
    void EditOptions(const std::string& phase, const std::string& config,
                     const std::function<std::string(std::string)>& edit);
    // Appends text to the compiler's free options of `config`.
    void AddCompilerText(const std::string& config, const std::string& text);
    // Writes a source file and lists it among the project's files.
    void AddSource(const std::string& relative, const std::string& text);

  private:
    nlohmann::json Load() const;
    void Save(const nlohmann::json& workspace) const;

    testing_support::TempDir temp_{"firmware"};
    fs::path root_;
    std::string example_;
    fs::path toolchain_;
};

// The records of an S-record file as address and bytes; nullopt (with
// `error`) for a malformed line or a wrong checksum.
std::optional<std::map<uint64_t, std::string>> ReadSRecords(const std::string& text,
                                                            std::string& error);
// Adjacent chunks joined, so images of different chunking compare equal.
std::map<uint64_t, std::string> Joined(const std::map<uint64_t, std::string>& chunks);

// The load image of an ELF file, read with the host's ELF reader.
std::map<uint64_t, std::string> ElfLoadImage(const fs::path& program);

// Replaces every occurrence of `from` in `text`; the test fails when there is none.
std::string Replaced(std::string text, const std::string& from, const std::string& to);

} // namespace quorle::firmware

// Fails the test at once when the tools are missing: CI installs them
// (scripts/install-deps.sh), so a missing tool is a set-up fault to see.
#define QUORLE_REQUIRE_FIRMWARE_TOOLS()                                                            \
    do {                                                                                           \
        std::string missing = ::quorle::firmware::MissingTools();                                  \
        ASSERT_TRUE(missing.empty()) << missing;                                                   \
    } while (false)
