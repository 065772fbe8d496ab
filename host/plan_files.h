// The files a build plan makes, named from the workspace through the plan
// and never from the build records: every step's outputs, and beside them
// the by-products of its tools under the names they are given (the
// sub-command file, the generated linker script and the stand-in linker's
// copy of it, the linker input file, the default listing and map files, the
// library generator's work folder). These are the only files the host ever
// deletes; the records only say which by-products a build really made.
#pragma once

#include <string>
#include <unordered_set>
#include <vector>

#include "host/build_plan.h"

namespace quorle::host {

struct PlanFiles {
    std::vector<std::string> outputs;              // as the plan names them
    std::unordered_set<std::string> hostFiles;     // the host's own, beside outputs
    std::unordered_set<std::string> byProducts;    // files
    std::unordered_set<std::string> byProductDirs; // folders
};

PlanFiles FilesOfPlan(const BuildPlan& plan, const ProjectContext& context);

// The dependency file the compiler writes beside an object while it runs.
std::string DependencyFileOf(const std::string& output);

} // namespace quorle::host
