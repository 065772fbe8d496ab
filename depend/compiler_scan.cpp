// Compiler phase: the family's driver prints the source's make rule.
#include "core/ascii_text.h"
#include "core/records.h"
#include "depend/dependency_scan.h"
#include "depend/make_rule.h"
#include "depend/scan_command.h"
#include "depend/scan_guards.h"
#include "depend/scan_lists.h"
#include "depend/scan_settings.h"
#include "depend/scan_state.h"
#include <cctype>

namespace quorle::depend {
namespace {

constexpr uint32_t kScanTimeoutMs = 10000;

bool EndsWithHeaderExtension(std::string_view path) {
    return path.size() >= 2 && path[path.size() - 2] == '.' && core::AsciiLower(path.back()) == 'h';
}

// The first sub-directory of the driver's support directory (the compiler
// version), which the driver needs on its search path on that system.
std::string SupportPath(const std::string& installDir, std::string_view libexecDir) {
    std::string base = installDir + std::string(libexecDir);
    for (const std::string& name : platform::FindFiles(base + "\\*.*")) {
        if (name == "." || name == "..") continue;
        std::string full = base + "\\" + name;
        if (platform::IsDirectory(full)) return full;
    }
    return {};
}

} // namespace

ScanOutcome ScanCompiler(const ScanCall& call, platform::OsVersion version) {
    ScanState& state = State();
    if (call.reset) {
        state.compilerScanned.clear();
        return {0, {}};
    }
    // Nothing below is read before these are known to be there.
    if (call.result == nullptr || call.filePath == nullptr || call.fileType == nullptr ||
        call.options == nullptr || !ValidProjectInfo(call.info))
        return {1, {}};
    std::string path = call.filePath;
    std::string_view fileType = call.fileType;
    const std::vector<std::string> none;

    if (fileType == "Preprocess Assembly file") return {HandOutItems(none, call.result), {}};
    if (fileType == "C source file" && EndsWithHeaderExtension(path))
        return {HandOutItems(none, call.result), {}};
    if (!state.compilerScanned.insert(path).second) return {HandOutItems(none, call.result), {}};
    if (path.empty()) return {HandOutItems(none, call.result), {}};
    if (!platform::IsFile(path))
        return {HandOutItems({"ERROR|File not found: " + path}, call.result), {}};

    const QuorleProjectInfo& info = *call.info;
    auto driver = DriverForToolchain(info.toolchainName ? info.toolchainName : "");
    // Without a family there is no driver to start.
    if (!driver) return {1, {}};
    std::string installDir = info.toolchainDir ? info.toolchainDir : "";
    std::string driverPath = platform::ShortPath(installDir + std::string(driver->driver));
    // Where no short form exists a blank would split the program name.
    if (driverPath.find(' ') != std::string::npos) driverPath = "\"" + driverPath + "\"";

    CompilerScanSettings settings = ReadCompilerScanSettings(fileType, call.options);
    std::vector<std::string> systemDirs;
    for (const std::string& dir : settings.includeDirs)
        if (!installDir.empty() && dir.find(installDir) != std::string::npos)
            systemDirs.push_back(dir);
    std::string command = ScanCommandLine(
        driverPath, ScanMacroList(settings.macros),
        ScanTargetFlags(driver->family, settings.target, info.cpuSeries ? info.cpuSeries : ""),
        path, ScanIncludeList(settings.includeDirs));

    EnvironmentGuard pathVariable("path");
    if (version.major == 6 && version.minor == 0)
        pathVariable.Set(SupportPath(installDir, driver->libexecDir));

    platform::ProcessOptions options;
    options.timeoutMs = kScanTimeoutMs;
    // The output is read while the driver runs, so a rule of any size fits.
    platform::ProcessResult run = platform::RunProcess(command, options);
    // A driver that prints past the output cap was ended: no usable rule.
    if (!run.started || run.outputOverflow) return {1, {}};
    if (run.timedOut) {
        return {1, {ErrorText("Error during process execution -- time-out interval elapsed")}};
    }
    std::string_view headerType =
        fileType == "C++ source file" ? "C++ header file" : "C header file";
    return {HandOutItems(ParseDriverOutput(run.output, path, systemDirs, headerType), call.result),
            {}};
}

} // namespace quorle::depend
