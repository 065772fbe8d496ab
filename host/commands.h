// The host's sub-commands, one file each.
#pragma once

#include <string>
#include <vector>

#include "host/plugin.h"

namespace quorle::host {

struct CommandContext {
    const PluginApi& api;
    std::vector<std::string> args; // the arguments after the command name
    std::string program = {};      // the host program's own path (argv[0])
};

int RunInfo(const CommandContext& context);
// The plug-in's version answers, as `info` prints them first.
void PrintPluginVersions(const PluginApi& api);
int RunBuild(const CommandContext& context);
int RunClean(const CommandContext& context);
int RunDeps(const CommandContext& context);
int RunMakefile(const CommandContext& context);
int RunCompdb(const CommandContext& context);
// How full each memory region is, from the linked program; --svg draws it.
int RunMemory(const CommandContext& context);
// Opens the options sheet on the workspace and writes back what it hands back.
int RunEdit(const CommandContext& context);
// Lays out the stand-in GNU cross toolchain; needs no plug-in.
int RunToolchain(const std::vector<std::string>& args, const std::string& program);

} // namespace quorle::host
