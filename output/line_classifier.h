// Classification of the lines the tools print during a build.
#pragma once

#include "core/phase.h"
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quorle::output {

// One classified line. The record is "file|line|number|message" followed by
// line feeds (the host receives the line feeds as NULs); a banner or empty
// line gives line feeds only.
struct LineClass {
    std::string record;
    int32_t errors = 0;
    int32_t warnings = 0;
    int32_t fatals = 0;
    bool isMessage = false;
};

// Nothing for a phase outside Compiler..Generator, or when the compiler's
// banner list cannot be loaded.
std::optional<LineClass> ClassifyOutputLine(PhaseIndex phase, std::string_view line);

} // namespace quorle::output
