// Opens the options sheet the way a host does, on a small workspace held in
// memory (two C files, an assembly file, the linker and the debugger), and
// writes what the sheet handed back to the file named by the first argument.
// The second argument is the plug-in path whose folder holds the libraries.
#include <cstdio>
#include <string>

#include "host_fixture.h"
#include "platform/platform.h"

using namespace quorle;
using namespace quorle::sheet_test;

int main(int argc, char** argv) {
    if (argc != 4) {
        std::fprintf(stderr, "usage: sheet_driver RESULT-FILE PLUGIN-PATH WORKSPACE-DIR\n");
        return 2;
    }
    const std::string plain = "[V|VERSION|2]";
    // Each file and configuration has a string of its own, so that a change
    // made in one configuration to one file shows in that place only.
    HostRecordsFixture host({
        {"GNU Compiler",
         {plain + " [S|DEFINES|MAIN]", plain + " [S|DEFINES|MAIN] [B|DEBUG|0]",
          plain + " [S|DEFINES|UTIL]"},
         {{"demo",
           {"Debug", "Release"},
           {{"main.c", "C source file", {0, 1}}, {"util.c", "C source file", {2, 2}}}}}},
        {"GNU Assembler",
         {plain},
         {{"demo", {"Debug", "Release"}, {{"start.s", "Assembly source file", {0, 0}}}}}},
        {"OptLinker",
         {plain, plain + " [B|DORELOC|1]"},
         {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 1}}}}}},
        {"Debug", {plain}, {{"demo", {"Debug", "Release"}, {{"demo", "", {0, 0}}}}}},
    });
    ProjectInfoFixture info(kCorvo, argv[3]);
    int result = EditOptions(host.List(), argv[2], info.Get());
    std::string out = "result: " + std::to_string(result) + "\n";
    // The string each record now uses, per configuration, when the sheet
    // handed strings back.
    const char* configs[] = {"Debug", "Release"};
    auto describe = [&](size_t phase, size_t file, const std::string& name) {
        if (!host.HasOutput(phase)) return;
        for (size_t config = 0; config < 2; ++config)
            out += name + " " + configs[config] + ": " + host.NewString(phase, file, config) + "\n";
    };
    describe(0, 0, "file main.c");
    describe(0, 1, "file util.c");
    describe(2, 3, "linker");
    return platform::WriteFile(argv[1], out, false) ? 0 : 3;
}
