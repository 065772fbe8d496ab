// Operations on the group tree: the default layout, lookups, adding a group
// in its place and the start-address order of the top-level list.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

#include "sections/section_layout.h"

namespace quorle::sections {

// The five groups of a new layout: .vects, .text, .mdata, .bss, .stack.
std::vector<SectionGroup> DefaultGroups();
// Fills an empty group list with the default groups; a list with groups is
// left alone.
void AddDefaultLayout(std::vector<SectionGroup>& groups);

bool HoldsLabel(const SectionGroup& group, std::string_view label);
// The group whose contents hold `label`: the top-level groups are searched
// first, then the child groups depth first. Null when no group holds it.
SectionGroup* FindGroupHoldingLabel(std::vector<SectionGroup>& groups, std::string_view label);
const SectionGroup* FindGroupHoldingLabel(const std::vector<SectionGroup>& groups,
                                          std::string_view label);
// Colour index of the group holding `label`, or -1.
int LabelGroupColour(const std::vector<SectionGroup>& groups, std::string_view label);
// Any group of the tree with this name (exact case).
const SectionGroup* FindGroupByName(const std::vector<SectionGroup>& groups, std::string_view name);

// Adds `group` by its placement:
//  - at a label: last child of the group holding the label (it takes that
//    group's colour); not added when no group holds it;
//  - fixed address or memory region: appended unless a top-level group of
//    that name exists;
//  - follow-on: inserted after the top-level group named by its placement
//    text (the text is then cleared), or appended when there is none.
// Appended groups re-sort the top-level list by start address, except for
// toolchains whose layouts are kept in the user's order.
// Returns false when nothing was added.
bool AddGroup(SectionLayout& layout, SectionGroup group, std::string_view effectiveToolchain);

// Address text for ordering: "H'" or "0x" prefix, then hexadecimal digits
// only. Nothing for any other text.
std::optional<uint64_t> ParseSortAddress(std::string_view text);

// Orders the top-level groups by start address with a stable bubble sort.
// A group whose start is not a number takes, for the sort, the address of
// the start of its memory region (when that is a number) or else the address
// the group before it was sorted by (0 at the head of the list): it lies
// behind that group, so it stays behind it.
void SortGroupsByAddress(std::vector<SectionGroup>& groups,
                         const std::vector<MemoryRegion>& regions);

} // namespace quorle::sections
