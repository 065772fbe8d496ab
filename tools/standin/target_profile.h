// The stand-in's use of a target profile: which profile a laid-out tool
// runs, the real program behind each tool name, and the flags a target
// cannot take.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/standin/standin_args.h"
#include "tools/standin/target_flags.h"
#include "tools/standin/target_table.h"

namespace quorle::standin {

// The profile named by "<dir>/../standin-target" of the program, nullptr
// when there is none (the machine's own tools). Sets `error` for a file that
// names no known target.
const TargetProfile* ProfileOf(const ProgramName& name, std::string& error);

// The program that does a tool's work: the machine's `machineTool`, or the
// target's prefixed one.
std::string RealTool(const std::string& machineTool, const TargetProfile* profile);

// The target's CPU flags for a compile or an assembly; none for other tools.
std::vector<std::string> ProfileFlags(ToolKind kind, const TargetProfile& profile);

// The message for an argument the target cannot build with (every profile is
// little-endian, so a big-endian flag), or nullopt.
std::optional<std::string> RefusedArgument(ToolKind kind, const std::vector<std::string>& args,
                                           const TargetProfile& profile);

} // namespace quorle::standin
