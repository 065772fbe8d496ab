// quorle-host: a stand-in for the IDE that loads the plug-in and drives it
// through its exports only.
#include <cstdio>
#include <cstring>
#include <string>

#include "host/commands.h"

using namespace quorle::host;

namespace {

struct Command {
    const char* name;
    int (*run)(const CommandContext&);
    const char* help;
};

const Command kCommands[] = {
    {"info", RunInfo, "print the version answers and the whole catalogue"},
    {"build", RunBuild, "[WORKSPACE] [--config NAME] [-j N]: build the workspace's projects"},
    {"clean", RunClean, "[WORKSPACE] [--config NAME]: delete what a build produced"},
    {"deps", RunDeps, "[WORKSPACE] FILE: the dependencies the plug-in finds for a file"},
    {"makefile", RunMakefile, "[WORKSPACE] [--config NAME]: write a makefile"},
    {"compdb", RunCompdb, "[WORKSPACE] [--config NAME]: write compile_commands.json"},
    {"edit", RunEdit,
     "[WORKSPACE] [--project NAME] [--script FILE]: edit options in the plug-in's sheet"},
};

int Usage() {
    std::fprintf(stderr, "usage: quorle-host COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(stderr, "  %-10s %s\n", c.name, c.help);
    std::fprintf(stderr, "  %-10s %s\n", "toolchain",
                 "DIR: lay out the stand-in GNU cross toolchain in DIR");
    std::fprintf(stderr, "\ncommon options: --project NAME, --toolchain DIR, -v\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return Usage();
    if (std::strcmp(argv[1], "toolchain") == 0)
        return RunToolchain({argv + 2, argv + argc}, argv[0]);
    for (const Command& c : kCommands) {
        if (std::strcmp(argv[1], c.name) != 0) continue;
        Plugin plugin;
        std::string error;
        if (!plugin.Load(DefaultPluginPath(argv[0]), error)) {
            std::fprintf(stderr, "quorle-host: %s\n", error.c_str());
            return 1;
        }
        CommandContext context{plugin.api(), {argv + 2, argv + argc}, argv[0]};
        return c.run(context);
    }
    return Usage();
}
