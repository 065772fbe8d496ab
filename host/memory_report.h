// The memory summary the host prints after each successful link.
#pragma once

#include <string>
#include <vector>

#include "host/build_plan.h"

namespace quorle::host {

// Lines for a link step: a heading naming the linked program (as shown from
// `currentDir`), then one line per memory region, or per section when the
// layout has none. Nothing when the step made no absolute file; a note when
// the file does not read as ELF.
// `options`: the link step's option string, expanded.
std::vector<std::string> LinkMemoryReport(const Step& linkStep, const std::string& options,
                                          const std::string& currentDir);

} // namespace quorle::host
