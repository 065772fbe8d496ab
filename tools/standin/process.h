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

} // namespace quorle::standin
