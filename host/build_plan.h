// What a build of one project in one configuration consists of: the phases
// in their build order and one step per file (MULTIPLE phases) or per
// project (SINGLE phases), each with its expanded option string.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/plugin_calls.h"
#include "host/project_context.h"

namespace quorle::host {

enum class PhaseKind { Generator, Compiler, Assembler, Linker, Other };

struct PhaseDesc {
    std::string name; // as the workspace names it, e.g. "GNU Compiler"
    bool single = false;
    std::string place; // "PRE_COMPILE", "COMPILE", "ASSEMBLE", "LINK"
    PhaseKind kind = PhaseKind::Other;
    std::vector<std::string> inputTypes;
};

struct OutputFile {
    std::string path; // native form
    std::string type; // may be empty
};

struct Step {
    size_t phase = 0;     // index into BuildPlan::phases
    std::string file;     // as listed in the workspace; empty for single steps
    std::string filePath; // absolute, native form; empty for single steps
    std::string fileType;
    std::string options; // expanded
    std::vector<OutputFile> outputs;
    bool generated = false; // the file is another step's output
    // SINGLE phases: project files of the phase's input types ("path|type"),
    // such as ready-made objects handed to the linker.
    std::vector<std::string> projectInputs;
};

struct BuildPlan {
    std::vector<PhaseDesc> phases; // in build order
    std::vector<Step> steps;       // grouped by phase, in build order
};

// Build order of a phase's place among the host's build steps.
int PlaceOrder(const std::string& place);
// The phase kind from its place.
PhaseKind KindOfPlace(const std::string& place);
// Upper-case extension of a path without its dot ("main.c" gives "C").
std::string UpperExtension(const std::string& path);
// Extension to file-type name from the catalogue entries
// ("C source file|TEXT|C").
std::vector<std::pair<std::string, std::string>>
ExtensionTable(const std::vector<std::string>& catalogue);
std::string FileTypeOf(const std::vector<std::pair<std::string, std::string>>& table,
                       const std::string& path);
// A plug-in path in the host's native form ("\\" becomes "/" on POSIX).
std::string NativePath(const std::string& path);
// Output-file list entries "path|type".
std::vector<OutputFile> ParseOutputList(const std::vector<std::string>& entries);

// Asks the plug-in for the catalogue and every step's options and outputs.
// On failure returns nullopt and sets `error`.
std::optional<BuildPlan> MakeBuildPlan(const PluginCalls& calls, const ProjectContext& context,
                                       std::string& error);

// The verb of a progress line ("Compiling").
const char* PhaseVerb(PhaseKind kind);

} // namespace quorle::host
