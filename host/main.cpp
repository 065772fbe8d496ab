// quorle-host: a stand-in for the IDE that loads the plug-in and drives it
// through its exports only.
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "host/closest.h"
#include "host/commands.h"

using namespace quorle::host;

namespace {

constexpr const char* kHostVersion = "quorle-host 4.4";

struct Command {
    const char* name;
    int (*run)(const CommandContext&);
    const char* usage;
    const char* help;
};

const Command kCommands[] = {
    {"info", RunInfo, "[--summary]", "print the version answers and the catalogue"},
    {"build", RunBuild,
     "[WORKSPACE] [--config NAME] [-j N] [-k [N]] [-n] [--launcher WORD]... [--wait]",
     "build the workspace's projects (-k N: stop after N failed steps, 0 or none: never; "
     "-n: show the steps that would run and their commands, run none)"},
    {"clean", RunClean, "[WORKSPACE] [--config NAME] [--wait]", "delete what the builds made"},
    {"deps", RunDeps, "[WORKSPACE] FILE", "the dependencies the plug-in finds for a file"},
    {"makefile", RunMakefile, "[WORKSPACE] [--config NAME]", "write a makefile for GNU make"},
    {"memory", RunMemory, "[WORKSPACE] [--config NAME] [--svg FILE]",
     "memory regions and sections of the linked program (--svg: a picture of the map)"},
    {"compdb", RunCompdb, "[WORKSPACE] [--config NAME]", "write compile_commands.json"},
    {"edit", RunEdit, "[WORKSPACE] [--config NAME] [--project NAME] [--script FILE] [--wait]",
     "edit options in the plug-in's sheet"},
    {"toolchain", nullptr, "DIR [--target NAME]",
     "lay out the stand-in GNU cross toolchain in DIR (--target: a real target's tools)"},
};

void Usage(std::FILE* out) {
    std::fprintf(out, "usage: quorle-host COMMAND [ARGS]\n\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %-10s %s\n", c.name, c.help);
    std::fprintf(out, "\ncommon options: --project NAME, --toolchain DIR, -v\n"
                      "quorle-host COMMAND --help shows a command's arguments; "
                      "quorle-host --version the versions.\n");
}

void CommandUsage(const Command& c) {
    std::printf("usage: quorle-host %s %s\n  %s\n", c.name, c.usage, c.help);
    if (c.run != nullptr && std::strcmp(c.name, "info") != 0)
        std::printf("  common options: --project NAME, --toolchain DIR, -v\n");
}

bool IsHelp(const char* arg) {
    return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}

bool WithPlugin(const char* argv0, int (*use)(const PluginApi&, void*), void* data, int& code) {
    Plugin plugin;
    std::string error;
    if (!plugin.Load(DefaultPluginPath(argv0), error)) {
        std::fprintf(stderr, "quorle-host: %s\n", error.c_str());
        code = 1;
        return false;
    }
    code = use(plugin.api(), data);
    return true;
}

int Version(const char* argv0) {
    std::printf("%s\nplug-in:\n", kHostVersion);
    int code = 0;
    WithPlugin(
        argv0,
        [](const PluginApi& api, void*) {
            PrintPluginVersions(api);
            return 0;
        },
        nullptr, code);
    return code;
}

int Unknown(const std::string& name) {
    std::vector<std::string> names;
    for (const Command& c : kCommands) names.push_back(c.name);
    std::fprintf(stderr, "quorle-host: unknown command \"%s\"%s\n", name.c_str(),
                 DidYouMean(name, names).c_str());
    std::fprintf(stderr, "quorle-host --help lists the commands\n");
    return 2;
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        Usage(stderr);
        return 2;
    }
    std::string first = argv[1];
    if (IsHelp(argv[1]) || first == "help") {
        if (argc > 2)
            for (const Command& c : kCommands)
                if (argv[2] == std::string(c.name)) return CommandUsage(c), 0;
        Usage(stdout);
        return 0;
    }
    if (first == "--version") return Version(argv[0]);
    for (const Command& c : kCommands) {
        if (first != c.name) continue;
        for (int i = 2; i < argc; ++i)
            if (IsHelp(argv[i])) return CommandUsage(c), 0;
        if (c.run == nullptr) return RunToolchain({argv + 2, argv + argc}, argv[0]);
        struct Call {
            const Command* command;
            std::vector<std::string> args;
            const char* program;
        } call{&c, {argv + 2, argv + argc}, argv[0]};
        int code = 0;
        WithPlugin(
            argv[0],
            [](const PluginApi& api, void* data) {
                auto* call = static_cast<Call*>(data);
                CommandContext context{api, call->args, call->program};
                return call->command->run(context);
            },
            &call, code);
        return code;
    }
    return Unknown(first);
}
