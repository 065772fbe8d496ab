// The stand-in library generator: builds a small C run-time library from
// sources of its own with exactly the options of the generator's
// sub-command file.
#pragma once

#include <string>
#include <vector>

#include "tools/standin/standin_args.h"

namespace quorle::standin {

struct LibgenRequest {
    std::vector<std::string> compilerOptions;
    std::vector<std::string> assemblerOptions;
    std::string output;
    std::string library = "newlib";        // "newlib" or "optlib"
    std::vector<std::string> headerGroups; // "ctype", "math", "stdio", "stdlib", "string"
};

// Reads "--compiler-options=", "--assembler-options=", "--output=",
// "--select-lib=" and "--header-files=". Sets `error` for anything else or
// a missing output.
LibgenRequest ParseLibgenArguments(const std::vector<std::string>& args, std::string& error);

// The library sources to build: "string" always (the compiler itself calls
// memcpy and memset), the others when their header group is selected
// ("all" selects every group).
std::vector<std::string> SourcesFor(const std::vector<std::string>& headerGroups);

// Splits a comma-joined option list; empty parts are dropped.
std::vector<std::string> SplitCommas(const std::string& text);

int RunLibraryGenerator(const ProgramName& name, const std::vector<std::string>& args);

} // namespace quorle::standin
