// Running a phase's tool the way the IDE does: the command that PrePhase
// handed back names a sub-command file; the host reads it and runs the
// family's tool below the installation directory with its arguments.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/build_plan.h"

namespace quorle::host {

struct ToolCommand {
    bool useGccToLink = false;
    std::string subcommandFile; // native form
};

// Parses "@\"path\"", optionally preceded by "--use-gcc-to-link ".
std::optional<ToolCommand> ParseToolCommand(const std::string& command);

// "corvo-elf" for "Dravik GNUCORVO [ELF]" (any case); empty when unknown.
std::string TripletOf(const std::string& toolchainName);

// "<dir>/<triplet>/bin/<triplet>-<tool>.exe".
std::string ToolPath(const std::string& installDir, const std::string& triplet,
                     const std::string& tool);

// An argument as a tool on this system reads it: on POSIX the Windows
// separators of the plug-in's paths become "/", except in macro definitions
// ("-D..."), whose values are the user's own text. Launchers such as ccache
// read the paths too, so the host converts them before the tool sees them.
std::string ToolArgument(const std::string& arg);

// One command line for the platform's process runner: every argument that
// holds a blank, a tab or nothing is put in double quotes.
std::string JoinCommandLine(const std::vector<std::string>& args);

// Removes terminal escape sequences (colours, hyperlinks) from a line.
std::string StripEscapes(const std::string& line);

// Output lines of a tool, without line ends and escape sequences.
std::vector<std::string> OutputLines(const std::string& output);

} // namespace quorle::host
