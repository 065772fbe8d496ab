#include "step_fixture.h"

#include <atomic>
#include <chrono>
#include <fstream>
#include <sstream>

#include "platform/platform.h"

namespace fs = std::filesystem;

namespace quorle::testing {

namespace {

// The recorder is built beside the test program.
std::string RecorderPath() {
    std::string name = QUORLE_TOOL_RECORDER;
    std::vector<fs::path> candidates;
    const auto& argv = ::testing::internal::GetArgvs();
    if (!argv.empty()) candidates.push_back(fs::path(argv[0]).parent_path() / name);
    if (auto bin = platform::GetEnv("QUORLE_BINARY_DIR"); bin && !bin->empty())
        candidates.push_back(fs::path(*bin) / "bin" / name);
    candidates.push_back(fs::current_path() / name);
    for (const fs::path& candidate : candidates)
        if (fs::exists(candidate)) return candidate.string();
    return {};
}

std::vector<std::string> ReadLines(const std::string& path) {
    std::vector<std::string> lines;
    std::ifstream in(path, std::ios::binary);
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

} // namespace

ScratchProject::ScratchProject() {
    static std::atomic<int> counter{0};
    // Unique across runs too: on Windows the registry counters of a toolchain
    // build outlive the scratch tree, and the build tag names it.
    std::string unique =
        std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) + "-" +
        std::to_string(counter++);
    fs::path base = fs::temp_directory_path() / ("quorle-steps-" + unique);
    fs::remove_all(base);
    fs::create_directories(base / "cfg");
    fs::create_directories(base / ("tc-" + unique));
    root = base.generic_string();
    configDir = root + "/cfg";
    toolchainDir = root + "/tc-" + unique;
    platform::SetEnv("QUORLE_MESSAGES", root + "/messages.log");
    platform::SetEnv("QUORLE_REGISTRY", root + "/registry.ini");
    platform::SetEnv("QUORLE_ANSWERS", "");
    platform::SetEnv("QUORLE_RECORDER_LOG", ToolLogPath());
    platform::UnsetEnv("QUORLE_RECORDER_EXIT");
    platform::UnsetEnv("QUORLE_RECORDER_SLEEP_MS");
}

ScratchProject::~ScratchProject() {
    platform::UnsetEnv("QUORLE_MESSAGES");
    platform::UnsetEnv("QUORLE_REGISTRY");
    platform::UnsetEnv("QUORLE_ANSWERS");
    std::error_code ignored;
    // Sub-command files are left read-only; make the tree removable first.
    for (auto& entry : fs::recursive_directory_iterator(root, ignored))
        fs::permissions(entry.path(), fs::perms::owner_all, fs::perm_options::add, ignored);
    fs::remove_all(root, ignored);
}

const QuorleProjectInfo* ScratchProject::Info() {
    info_.size = sizeof(QuorleProjectInfo);
    info_.cpuSeries = cpuSeries.c_str();
    info_.toolchainName = toolchainName.c_str();
    info_.projectName = projectName.c_str();
    info_.projectDir = root.c_str();
    info_.configName = configName.c_str();
    info_.configDir = configDir.c_str();
    info_.workspaceSettingsName = "demo";
    info_.workspaceDir = root.c_str();
    info_.toolchainDir = toolchainDir.c_str();
    info_.hostDir = root.c_str();
    info_.tempDir = root.c_str();
    info_.userPlaceholders = userPlaceholders_.c_str();
    return &info_;
}

void ScratchProject::WriteText(const std::string& path, const std::string& text) const {
    fs::create_directories(fs::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

std::string ScratchProject::ReadBytes(const std::string& path) const {
    std::ifstream in(path, std::ios::binary);
    std::stringstream content;
    content << in.rdbuf();
    return content.str();
}

std::vector<std::string> ScratchProject::MessageLines() const {
    return ReadLines(root + "/messages.log");
}

void ScratchProject::QueueAnswers(const std::string& answers) const {
    platform::SetEnv("QUORLE_ANSWERS", answers);
}

void ScratchProject::InstallStandInTools() const {
    std::string recorder = RecorderPath();
    ASSERT_FALSE(recorder.empty()) << "the tool recorder was not built beside the tests";
    for (const char* triplet : {"corvo-elf", "pelka-elf", "tamsin-elf", "zenta-elf"}) {
        fs::path bin = fs::path(toolchainDir) / triplet / "bin";
        fs::create_directories(bin);
        for (const char* tool : {"-ar.exe", "-objcopy.exe"})
            fs::copy_file(recorder, bin / (std::string(triplet) + tool),
                          fs::copy_options::overwrite_existing);
    }
}

std::vector<std::string> ScratchProject::ToolCalls() const {
    return ReadLines(ToolLogPath());
}

} // namespace quorle::testing
