// The stand-in GNU cross toolchain: one program installed under every tool
// name of the four families ("corvo-elf-gcc.exe", "zenta-elf-objcopy.exe",
// ...). It reads response files, turns the Windows separators of the
// plug-in's paths into "/", drops the family's target flags and runs the
// machine's own gcc, g++, as, ld, ar or objcopy with everything else; in a
// layout made for a real target (a target profile) it runs that target's
// cross tools with the target's CPU flags instead. Under the name
// "<triplet>-libgen.exe" it is the library generator.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "tools/standin/drive_paths.h"
#include "tools/standin/libgen.h"
#include "tools/standin/process.h"
#include "tools/standin/standin_args.h"
#include "tools/standin/target_flags.h"
#include "tools/standin/target_profile.h"

using namespace quorle::standin;

namespace {

struct ToolName {
    const char* suffix;
    ToolKind kind;
    const char* real;
};

constexpr ToolName kTools[] = {
    {"gcc", ToolKind::Compiler, "gcc"},         {"g++", ToolKind::Compiler, "g++"},
    {"as", ToolKind::Assembler, "as"},          {"ld", ToolKind::Linker, "ld"},
    {"ar", ToolKind::Archiver, "ar"},           {"objcopy", ToolKind::ObjectCopier, "objcopy"},
    {"libgen", ToolKind::LibraryGenerator, ""},
};

// With QUORLE_STANDIN_LOG naming a file, every start of a tool appends one
// line to it, so tests can count the processes a build starts.
void LogInvocation(const ProgramName& name) {
    const char* log = std::getenv("QUORLE_STANDIN_LOG");
    if (log == nullptr || *log == '\0') return;
    if (std::FILE* file = std::fopen(log, "a")) {
        std::fprintf(file, "%s-%s\n", name.triplet.c_str(), name.tool.c_str());
        std::fclose(file);
    }
}

// With QUORLE_STANDIN_DELAY_MS set, every tool waits that long first, so a
// test can interrupt a build while a tool runs.
void DelayForTests() {
    const char* delay = std::getenv("QUORLE_STANDIN_DELAY_MS");
    if (delay == nullptr || *delay == '\0') return;
    std::this_thread::sleep_for(std::chrono::milliseconds(std::strtol(delay, nullptr, 10)));
}

// Started by Wine, the program gets its own name and the dependency list's
// target as drive paths; both must be host paths before anything runs.
bool MapWinePaths(ProgramName& name, std::string& error) {
#if defined(_WIN32)
    (void)name, (void)error; // a Windows build takes drive paths as they are
    return true;
#else
    std::string dir = name.dir;
    std::replace(dir.begin(), dir.end(), '\\', '/');
    if (StartsWithDrive(dir)) {
        auto host = HostPathOf(dir, error);
        if (!host) return false;
        name.dir = *host;
    }
    const char* deps = std::getenv("SUNPRO_DEPENDENCIES");
    if (deps == nullptr) return true;
    std::string words = deps, mapped;
    std::replace(words.begin(), words.end(), '\\', '/');
    size_t start = 0;
    while (start <= words.size()) {
        size_t blank = words.find(' ', start);
        if (blank == std::string::npos) blank = words.size();
        std::string word = words.substr(start, blank - start);
        auto host = HostPathOf(word, error);
        if (!host) return false;
        mapped += (start == 0 ? "" : " ") + *host;
        start = blank + 1;
    }
    if (mapped != deps) setenv("SUNPRO_DEPENDENCIES", mapped.c_str(), 1);
    return true;
#endif
}

int RunTool(int argc, char** argv) {
    ProgramName name = ParseProgramName(argc > 0 ? argv[0] : "");
#if !defined(_WIN32)
    // Under Wine the program's own name may come in the short form.
    if (argc > 0) {
        std::string self = argv[0], error;
        std::replace(self.begin(), self.end(), '\\', '/');
        if (StartsWithDrive(self)) {
            if (auto host = HostPathOf(self, error)) name = ParseProgramName(*host);
        }
    }
#endif
    const ToolName* tool = nullptr;
    for (const ToolName& t : kTools)
        if (name.tool == t.suffix) tool = &t;
    if (tool == nullptr || name.triplet.empty()) {
        std::fprintf(stderr, "quorle stand-in: call me as <family>-elf-<tool>.exe "
                             "(tools: gcc g++ as ld ar objcopy libgen)\n");
        return 2;
    }
    LogInvocation(name);
    DelayForTests();
    const std::string program = name.triplet + "-" + name.tool;
    std::string error;
    if (!MapWinePaths(name, error)) {
        std::fprintf(stderr, "%s: error: %s\n", program.c_str(), error.c_str());
        return 1;
    }
    const TargetProfile* profile = ProfileOf(name, error);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: error: %s\n", program.c_str(), error.c_str());
        return 1;
    }
    std::vector<std::string> args = ExpandResponseFiles({argv + 1, argv + argc}, error);
    if (!error.empty()) {
        std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
        return 1;
    }
    args = ToNativeSeparators(args);
#if !defined(_WIN32)
    args = HostPaths(args, error);
#endif
    if (!error.empty()) {
        std::fprintf(stderr, "%s: error: %s\n", program.c_str(), error.c_str());
        return 1;
    }
    if (profile != nullptr) {
        if (auto refusal = RefusedArgument(tool->kind, args, *profile)) {
            std::fprintf(stderr, "%s: %s\n", program.c_str(), refusal->c_str());
            return 1;
        }
    }
    args = DropTargetFlags(tool->kind, args);

    if (tool->kind == ToolKind::LibraryGenerator) return RunLibraryGenerator(name, args);
    // gcc hands a -T script on to ld when it drives the link.
    if (tool->kind == ToolKind::Linker || tool->kind == ToolKind::Compiler) {
        args = WithoutArchitectureLines(args, error);
        if (!error.empty()) {
            std::fprintf(stderr, "%s: %s\n", program.c_str(), error.c_str());
            return 1;
        }
    }
    const std::string real = RealTool(tool->real, profile);
    std::vector<std::string> command{real};
    if (profile != nullptr) {
        for (std::string& flag : ProfileFlags(tool->kind, *profile))
            command.push_back(std::move(flag));
    }
    if (tool->kind == ToolKind::Compiler) {
        // The families' compilers print one line per diagnostic, without the
        // source excerpt that newer gcc adds; the IDE reads them line by line.
        command.push_back("-fno-diagnostics-show-caret");
    }
    command.insert(command.end(), args.begin(), args.end());
    Exec(command);
    std::fprintf(stderr, "%s: cannot run %s\n", program.c_str(), real.c_str());
    return 127;
}

} // namespace

int main(int argc, char** argv) {
#if !defined(_WIN32)
    // Started by the Windows bridge under Wine, which cannot wait for this
    // process: the output and the exit code go to the files it names.
    if (const char* report = std::getenv("QUORLE_WINE_REPORT")) {
        std::string base = report, error;
        unsetenv("QUORLE_WINE_REPORT");
        std::replace(base.begin(), base.end(), '\\', '/');
        auto host = HostPathOf(base, error);
        if (!host) {
            std::fprintf(stderr, "quorle stand-in: %s\n", error.c_str());
            return 1;
        }
        return RunReportingTo(*host, &RunTool, argc, argv);
    }
#endif
    return RunTool(argc, argv);
}
