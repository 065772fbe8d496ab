// The stand-in GNU cross toolchain: one program installed under every tool
// name of the four families ("corvo-elf-gcc.exe", "zenta-elf-objcopy.exe",
// ...). It reads response files, turns the Windows separators of the
// plug-in's paths into "/", drops the family's target flags and runs the
// machine's own gcc, g++, as, ld, ar or objcopy with everything else; in a
// layout made for a real target (a target profile) it runs that target's
// cross tools with the target's CPU flags instead. Under the name
// "<triplet>-libgen.exe" it is the library generator.
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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

} // namespace

int main(int argc, char** argv) {
    ProgramName name = ParseProgramName(argc > 0 ? argv[0] : "");
    const ToolName* tool = nullptr;
    for (const ToolName& t : kTools)
        if (name.tool == t.suffix) tool = &t;
    if (tool == nullptr || name.triplet.empty()) {
        std::fprintf(stderr, "quorle stand-in: call me as <family>-elf-<tool>.exe "
                             "(tools: gcc g++ as ld ar objcopy libgen)\n");
        return 2;
    }
    LogInvocation(name);
    const std::string program = name.triplet + "-" + name.tool;
    std::string error;
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
