// Starting the machine's own tools from the stand-in toolchain.
#pragma once

#include <string>
#include <vector>

namespace quorle::standin {

// Runs `args` (args[0] looked up on PATH), waits, and returns its exit code
// (-1 when it could not be started). Output goes to the caller's streams.
int RunAndWait(const std::vector<std::string>& args);

// Replaces the current process by `args` where the system can; otherwise
// runs it and exits with its code. Returns only when it could not start.
int Exec(const std::vector<std::string>& args);

// Runs `tool` in a child process whose output (standard output and error)
// goes to "<base>.out", and writes its exit code to "<base>.code" when it
// has ended; a file "<base>.stop" appearing meanwhile interrupts it. For a
// caller that cannot wait for this process (a Windows program under Wine).
// That caller touches "<base>.alive" while it waits: a file not touched for
// kBridgeSilenceSeconds means the caller was ended, and the tool is
// interrupted and its files removed. Returns the exit code. POSIX only.
constexpr long kBridgeSilenceSeconds = 3;
int RunReportingTo(const std::string& base, int (*tool)(int, char**), int argc, char** argv);

} // namespace quorle::standin
