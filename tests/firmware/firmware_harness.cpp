#include "firmware/firmware_harness.h"

#include <fstream>
#include <sstream>

#include "host/elf_file.h"
#include "support/test_files.h"

namespace quorle::firmware {

namespace {

std::string Quote(const std::string& arg) {
    return arg.find_first_of(" \t") == std::string::npos ? arg : "\"" + arg + "\"";
}

std::string HostProgram() {
    return std::string(QUORLE_TEST_BINARY_DIR) + "/bin/quorle-host";
}

bool OnPath(const std::string& program) {
    std::string path = platform::GetEnv("PATH").value_or("");
    size_t start = 0;
    while (start <= path.size()) {
        size_t colon = path.find(':', start);
        if (colon == std::string::npos) colon = path.size();
        if (fs::is_regular_file(fs::path(path.substr(start, colon - start)) / program)) return true;
        start = colon + 1;
    }
    return false;
}

// Directories that live as long as the test program.
fs::path LastingDirectory(const std::string& prefix) {
    static std::vector<std::unique_ptr<testing_support::TempDir>> kept;
    kept.push_back(std::make_unique<testing_support::TempDir>(prefix));
    return kept.back()->Root();
}

const fs::path& RamFill() {
    static const fs::path file = [] {
        fs::path path = LastingDirectory("firmware_ram") / "ram-a5.bin";
        std::ofstream(path, std::ios::binary) << std::string(64 * 1024, '\xA5');
        return path;
    }();
    return file;
}

int HexByte(const std::string& text, size_t at) {
    auto digit = [](char c) {
        return c >= '0' && c <= '9'   ? c - '0'
               : c >= 'A' && c <= 'F' ? c - 'A' + 10
               : c >= 'a' && c <= 'f' ? c - 'a' + 10
                                      : -1;
    };
    if (at + 1 >= text.size()) return -1;
    int high = digit(text[at]), low = digit(text[at + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

} // namespace

std::string MissingTools() {
    std::string missing;
    for (const char* tool : {"arm-none-eabi-gcc", "arm-none-eabi-ld", "arm-none-eabi-objcopy",
                             "qemu-system-arm", "make"})
        if (!OnPath(tool)) missing += std::string(missing.empty() ? "" : ", ") + tool;
    if (missing.empty()) return {};
    return missing + " not installed: scripts/install-deps.sh installs the firmware's tools";
}

const fs::path& ToolchainFor(const std::string& target) {
    static std::map<std::string, fs::path> layouts;
    auto found = layouts.find(target);
    if (found != layouts.end()) return found->second;
    fs::path dir = LastingDirectory("firmware_tc_" + target);
    platform::ProcessOptions options;
    options.timeoutMs = 60000;
    auto layout = platform::RunProcess(Quote(HostProgram()) + " toolchain " + Quote(dir.string()) +
                                           " --target " + target,
                                       options);
    EXPECT_EQ(layout.exitCode, 0) << layout.output;
    return layouts.emplace(target, dir).first->second;
}

QemuRun RunOnMachine(const std::string& machine, const fs::path& kernel, uint32_t timeoutMs) {
    platform::ProcessOptions options;
    options.timeoutMs = timeoutMs;
    auto run = platform::RunProcess(
        "qemu-system-arm -M " + machine + " -nographic -monitor none -semihosting -kernel " +
            Quote(kernel.string()) + " -device loader,file=" + RamFill().string() +
            ",addr=0x20000000",
        options);
    return {run.exitCode, run.timedOut, run.output};
}

FirmwareWorkspace::FirmwareWorkspace(const std::string& example, const std::string& target)
    : root_(temp_.Root()), example_(example), toolchain_(ToolchainFor(target)) {
    const fs::path source = fs::path(QUORLE_TEST_SOURCE_DIR) / "examples" / example;
    for (const auto& entry : fs::directory_iterator(source)) {
        std::string name = entry.path().filename().string();
        if (name == "Debug" || name == "Release") continue; // a local build's outputs
        fs::copy(entry.path(), root_ / name, fs::copy_options::recursive);
    }
}

fs::path FirmwareWorkspace::WorkspaceFile() const {
    for (const auto& entry : fs::directory_iterator(root_))
        if (entry.path().extension() == ".qws") return entry.path();
    ADD_FAILURE() << "no workspace file in the example " << example_;
    return root_ / "missing.qws";
}

std::string FirmwareWorkspace::ConfigDir(const std::string& config) {
    return config == "RELEASE" ? "Release" : "Debug";
}

fs::path FirmwareWorkspace::Program(const std::string& config, const std::string& extension) const {
    return root_ / ConfigDir(config) / ("firmware" + extension);
}

platform::ProcessResult FirmwareWorkspace::Host(std::vector<std::string> args) const {
    const std::string& command = args.front();
    if (command == "build" || command == "makefile" || command == "memory" || command == "clean") {
        args.push_back("--toolchain");
        args.push_back(toolchain_.string());
    }
    std::string line = Quote(HostProgram());
    for (const std::string& arg : args) line += " " + Quote(arg);
    platform::ProcessOptions options;
    options.timeoutMs = 5 * 60 * 1000;
    options.workingDirectory = root_.string();
    // The link counts builds in the registry file: never the user's.
    options.environment = {"QUORLE_REGISTRY=" + (root_ / "registry.ini").string(), "NO_COLOR=1"};
    return platform::RunProcess(line, options);
}

platform::ProcessResult FirmwareWorkspace::Build(const std::string& config) const {
    return Host({"build", WorkspaceFile().string(), "--config", config});
}

nlohmann::json FirmwareWorkspace::Load() const {
    return nlohmann::json::parse(testing_support::ReadBytes(WorkspaceFile()));
}

void FirmwareWorkspace::Save(const nlohmann::json& workspace) const {
    std::ofstream(WorkspaceFile(), std::ios::binary | std::ios::trunc) << workspace.dump(2);
}

void FirmwareWorkspace::EditOptions(const std::string& phase, const std::string& config,
                                    const std::function<std::string(std::string)>& edit) {
    nlohmann::json workspace = Load();
    int edited = 0;
    for (auto& entry : workspace["projects"][0]["options"]) {
        if (entry.value("phase", "") != phase) continue;
        if (!config.empty() && entry.value("config", "") != config) continue;
        entry["value"] = edit(entry["value"].get<std::string>());
        ++edited;
    }
    EXPECT_GT(edited, 0) << "no " << phase << " options for " << config;
    Save(workspace);
}

void FirmwareWorkspace::AddCompilerText(const std::string& config, const std::string& text) {
    EditOptions("Compiler", config, [&text](std::string value) {
        return Replaced(value, "[S|APPTXT|\"", "[S|APPTXT|\"" + text + " ");
    });
}

void FirmwareWorkspace::AddSource(const std::string& relative, const std::string& text) {
    std::ofstream(root_ / relative, std::ios::binary | std::ios::trunc) << text;
    nlohmann::json workspace = Load();
    workspace["projects"][0]["files"].push_back(relative);
    Save(workspace);
}

std::optional<std::map<uint64_t, std::string>> ReadSRecords(const std::string& text,
                                                            std::string& error) {
    std::map<uint64_t, std::string> chunks;
    std::istringstream lines(text);
    int number = 0;
    for (std::string line; std::getline(lines, line);) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        auto fail = [&](const std::string& why) {
            error = "line " + std::to_string(number) + ": " + why;
            return std::nullopt;
        };
        if (line.size() < 4 || line[0] != 'S') return fail("not an S-record");
        int count = HexByte(line, 2);
        if (count < 3 || line.size() != 4 + 2 * static_cast<size_t>(count))
            return fail("wrong length");
        unsigned sum = static_cast<unsigned>(count); // the checksum covers the count too
        std::string bytes;
        for (int i = 0; i < count; ++i) {
            int byte = HexByte(line, 4 + 2 * static_cast<size_t>(i));
            if (byte < 0) return fail("not hexadecimal");
            sum += static_cast<unsigned>(byte);
            bytes += static_cast<char>(byte);
        }
        if ((sum & 0xFF) != 0xFF) return fail("wrong checksum");
        size_t width = line[1] == '1' ? 2 : line[1] == '2' ? 3 : line[1] == '3' ? 4 : 0;
        if (width == 0) continue; // header, count and start records
        if (bytes.size() < width + 1) return fail("no address");
        uint64_t address = 0;
        for (size_t i = 0; i < width; ++i)
            address = address << 8 | static_cast<unsigned char>(bytes[i]);
        chunks[address] += bytes.substr(width, bytes.size() - width - 1);
    }
    return chunks;
}

std::map<uint64_t, std::string> Joined(const std::map<uint64_t, std::string>& chunks) {
    std::map<uint64_t, std::string> joined;
    for (const auto& [address, bytes] : chunks) {
        if (bytes.empty()) continue;
        if (!joined.empty()) {
            auto& last = *joined.rbegin();
            if (last.first + last.second.size() == address) {
                last.second += bytes;
                continue;
            }
        }
        joined[address] = bytes;
    }
    return joined;
}

std::map<uint64_t, std::string> ElfLoadImage(const fs::path& program) {
    std::string bytes = testing_support::ReadBytes(program);
    std::string error;
    auto elf = host::ReadElf(bytes, error);
    EXPECT_TRUE(elf) << program << ": " << error;
    if (!elf) return {};
    auto image = host::LoadImage(*elf, bytes, error);
    EXPECT_TRUE(image) << error;
    std::map<uint64_t, std::string> chunks;
    for (const host::LoadChunk& chunk : image.value_or(std::vector<host::LoadChunk>{}))
        chunks[chunk.address] += chunk.bytes;
    return Joined(chunks);
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    size_t at = text.find(from);
    EXPECT_NE(at, std::string::npos) << "\"" << from << "\" is not in " << text;
    for (; at != std::string::npos; at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

} // namespace quorle::firmware
