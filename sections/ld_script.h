// The GNU ld script generated from a section layout: the OUTPUT_ARCH line,
// the MEMORY block and the SECTIONS block.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "core/user_message.h"
#include "sections/section_layout.h"

namespace quorle::sections {

// "OUTPUT_ARCH(name)\n" for the toolchain, or "" when it has none (Tamsin
// and unknown toolchains). Pelka picks its name by CPU type and normal mode.
std::string ArchitectureLine(std::string_view effectiveToolchain, int cpuType, bool normalMode);

// Receives each piece of script text; false when the write failed.
using ScriptSink = std::function<bool(const std::string&)>;

// Resolves the placeholders of one content line; nothing when resolution
// failed. An empty function writes content lines as they stand.
using PlaceholderResolver = std::function<std::optional<std::string>(const std::string&)>;

struct ScriptProblems {
    bool unresolvedPlaceholder = false; // a written line still held "$("
    bool resolutionFailed = false;      // a line was written without resolution
};

// LENGTH of a region: end - start + 1, or 0 when an address is not
// hexadecimal or the end lies below the start.
uint64_t RegionLength(const MemoryRegion& region);

// Writes the MEMORY block (only with regions) and the SECTIONS block. Returns
// false at the first failed write; the text written before it stays.
bool WriteLayout(const SectionLayout& layout, const ScriptSink& sink,
                 const PlaceholderResolver& resolver = {}, ScriptProblems* problems = nullptr);

// One group, then its child groups, each followed by its own children.
bool WriteGroup(const SectionGroup& group, const ScriptSink& sink,
                const PlaceholderResolver& resolver = {}, ScriptProblems* problems = nullptr);

// The messages for the problems met while writing, each once: string 2011
// (a warning) for a placeholder left, then string 2009 (an error).
UserMessages ScriptProblemMessages(const ScriptProblems& problems);

// The whole script as text: architecture line and layout, unresolved.
std::string ScriptText(const SectionLayout& layout, std::string_view effectiveToolchain,
                       int cpuType, bool normalMode);

} // namespace quorle::sections
