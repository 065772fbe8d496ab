// The stored text forms of the section layout: the values of the MEMDET and
// GROUPDET tokens of the linker option string.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sections/section_layout.h"

namespace quorle::sections {

inline constexpr std::string_view kGroupEnd = "<<GEND>>";
inline constexpr std::string_view kContentsEnd = "<<CEND>>";
inline constexpr std::string_view kFilesEnd = "<<FEND>>";
inline constexpr std::string_view kGroupReadError =
    "An error occurred processing section groups.  Please inform us of this bug.";

// "name|colour|start|end|" per region, then "*"; an empty list gives "".
std::string RegionsToText(const std::vector<MemoryRegion>& regions);
// Appends the regions of a stored text; an unfinished region is dropped.
void RegionsFromText(std::string_view text, std::vector<MemoryRegion>& regions);

// The texts are written as the option token stores them and read from the
// token's unescaped value: a double quote or "]" inside a field is written
// twice, and a field holding a blank (or equal to "*", or standing in
// quotes itself) is written in double quotes, which reading removes.

// Every top-level group, each followed by its child groups.
std::string GroupsToText(const std::vector<SectionGroup>& groups);
// Appends the groups of a stored text. Groups placed at a label become
// children of the group that defines the label (dropped when none does).
// Returns false when the text ends inside a group; the groups read before it
// are kept.
bool GroupsFromText(std::string_view text, std::vector<SectionGroup>& groups);

} // namespace quorle::sections
