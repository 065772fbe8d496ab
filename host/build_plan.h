// What a build of one project in one configuration consists of: the phases
// in their build order and one step per file (MULTIPLE phases) or per
// project (SINGLE phases), each with its expanded option string.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "host/build_order.h"
#include "host/path_identity.h"
#include "host/plugin_calls.h"
#include "host/project_context.h"
#include "platform/platform.h"

namespace quorle::host {

struct PhaseDesc {
    std::string name; // as the workspace names it, e.g. "GNU Compiler"
    bool single = false;
    std::string place; // "PRE_COMPILE", "COMPILE", "ASSEMBLE", "LINK"
    std::vector<std::string> inputTypes;
    bool Compiles() const { return place == kCompilePlace; }
    bool Links() const { return place == kLinkPlace; }
};

struct OutputFile {
    std::string path; // native form
    std::string type; // may be empty
    // As the plug-in listed it, placeholders and all, when that is not
    // `path`; empty when it is. It names its own side files after this form.
    std::string listed;
};

struct Step {
    size_t phase = 0;     // index into BuildPlan::phases
    std::string file;     // as listed in the workspace; empty for single steps
    std::string filePath; // absolute, native form; empty for single steps
    std::string fileType;
    // The option string as stored, once per distinct text in the plan, and
    // the hash of its expansion for this step; BuildPlan::OptionsOf expands
    // it when a step needs the text. A large plan would otherwise hold
    // nearly the same string once per file.
    static constexpr uint32_t kNoOptions = UINT32_MAX;
    uint32_t optionText = kNoOptions; // none: nothing stored, nothing produced
    uint64_t optionsHash = 0;
    bool HasOptions() const { return optionText != kNoOptions; }
    std::vector<OutputFile> outputs;
    bool generated = false; // the file is another step's output
    // SINGLE phases: project files of the phase's input types ("path|type"),
    // such as ready-made objects handed to the linker.
    std::vector<std::string> projectInputs;
};

struct BuildPlan {
    std::vector<PhaseDesc> phases;        // in build order
    std::vector<Step> steps;              // grouped by phase, in build order
    std::vector<std::string> warnings;    // about the workspace's option strings
    std::vector<std::string> optionTexts; // as stored, before expansion
    // A step's option string, expanded as it was when the plan was made;
    // empty for a step without one.
    std::string OptionsOf(const Step& step, const ProjectContext& context) const;
    // Times of the files the output check looked at (the steps' inputs and
    // outputs, the host's own files; none for a missing one), so the
    // up-to-date check need not ask again. Links are left out: their own
    // time is not their target's.
    FoundTimes entryTimes;
};

// Upper-case extension of a path without its dot ("main.c" gives "C").
std::string UpperExtension(const std::string& path);
// Extension to file-type name from the catalogue entries
// ("C source file|TEXT|C").
std::vector<std::pair<std::string, std::string>>
ExtensionTable(const std::vector<std::string>& catalogue);
std::string FileTypeOf(const std::vector<std::pair<std::string, std::string>>& table,
                       const std::string& path);
// A plug-in path in the host's native form ("\\" becomes "/" on POSIX).
using platform::NativePath;
// Output-file list entries "path|type".
std::vector<OutputFile> ParseOutputList(const std::vector<std::string>& entries);
// An output path the plug-in resolved against the configuration directory
// while it still held a placeholder ("/w/Debug/$(CONFIGDIR)/app.x"): the
// placeholder part expanded, and kept whole when it is absolute then.
std::string ExpandOutputPath(const std::string& path, const ProjectContext& context,
                             const std::string& fileLeaf);
// Tokens of an option string that do not read as "[T|KEY|value]".
std::vector<std::string> MalformedTokens(const std::string& optionString);

// Asks the plug-in for the catalogue and every step's options and outputs,
// and refuses a plan whose outputs would overwrite the workspace file, a
// source, the host's own records, another step's input or output, or a
// directory, comparing paths as the file system resolves them. On failure
// returns nullopt and sets `error`, which names the step and the file.
std::optional<BuildPlan> MakeBuildPlan(const PluginCalls& calls, const ProjectContext& context,
                                       std::string& error);

} // namespace quorle::host
