// Argument handling of the stand-in toolchain.
#pragma once

#include <string>
#include <vector>

namespace quorle::standin {

struct ProgramName {
    std::string dir;     // directory of the program as called; may be empty
    std::string triplet; // "corvo-elf"
    std::string tool;    // "gcc", "ld", ...
};

// "<dir>/corvo-elf-g++.exe" gives dir, "corvo-elf" and "g++".
ProgramName ParseProgramName(const std::string& argv0);

// Replaces every "@file" (or "-subcommand=file", as the IDE's makefile rules
// write it) argument by the arguments the file holds (blanks
// and line ends separate, double quotes group, backslashes are literal),
// recursively up to a small depth. Sets `error` when a file cannot be read.
std::vector<std::string> ExpandResponseFiles(const std::vector<std::string>& args,
                                             std::string& error);

// The plug-in writes Windows paths: every "\\" becomes "/", except in macro
// definitions ("-DNAME=value", or "-D" and the argument after it), whose
// values are the user's own text.
std::vector<std::string> ToNativeSeparators(const std::vector<std::string>& args);

// Neither the machine's ld nor a target's knows a family architecture: a
// linker script ("-T file", for ld or for gcc driving the link) that names
// one is replaced by a copy without its OUTPUT_ARCH line, written beside it
// with the extension ".host.ld".
std::vector<std::string> WithoutArchitectureLines(const std::vector<std::string>& args,
                                                  std::string& error);

// The text without its OUTPUT_ARCH(...) commands.
std::string RemoveArchitecture(const std::string& script);

} // namespace quorle::standin
