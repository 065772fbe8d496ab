// The link's sub-command text for a generated makefile, in the command
// language of the host's native optimising linker.
#pragma once

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "models/linker_model.h"

namespace quorle::cmdline {

// Rewrites a file path of the makefile sub-command into placeholder form
// relative to the project. The makefile support supplies it; without one the
// paths are written as they stand.
using MakefilePathRewriter = std::function<std::string(const std::string&)>;

// Builds the sub-command text into `out`. Unless `skipReorder`, the inputs
// are first reordered by the model's link order lists. Fails on an input
// without "|" or of an unknown kind.
bool BuildMakefileSubcommand(models::LinkerModel& model, std::vector<std::string> inputs,
                             std::string& out, std::string_view directory, bool skipReorder,
                             const MakefilePathRewriter& rewritePath = {});

// True when a template information file (".ti" or ".td" in the "tpldir"
// directory beside the file) exists for an object or library path.
bool HasTemplateInformation(std::string_view path);

} // namespace quorle::cmdline
