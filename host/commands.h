// The host's sub-commands, one file each.
#pragma once

#include <string>
#include <vector>

#include "host/plugin.h"

namespace quorle::host {

struct CommandContext {
    const PluginApi& api;
    std::vector<std::string> args; // the arguments after the command name
};

int RunInfo(const CommandContext& context);

} // namespace quorle::host
