// Where a new top-level group goes. The groups already there keep the order
// the user gave them; the new one takes its place by start address, at the
// end of its memory region's groups, and never behind a label that another
// group is loaded at (the initialised data copied from flash at reset),
// since its contents would then lie over that load image.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "sections/section_layout.h"

namespace quorle::sections {

// Address text for ordering: "H'" or "0x" prefix, then hexadecimal digits
// only. Nothing for any other text.
std::optional<uint64_t> ParseSortAddress(std::string_view text);

// The start address each top-level group is ordered by: its fixed address,
// or the start of its memory region, or else the address of the group
// before it (0 at the head of the list), behind which it lies.
std::vector<uint64_t> SortKeys(const std::vector<SectionGroup>& groups,
                               const std::vector<MemoryRegion>& regions);

// A label of `group` that some group of the tree is loaded at (a load
// address "label" or "label+offset"), and the first group loaded there.
struct LoadLabel {
    std::string label;
    std::string loadedGroup;
};
std::optional<LoadLabel> LoadLabelOf(const SectionGroup& group,
                                     const std::vector<SectionGroup>& tree);

// The index in the top-level list at which `group` (a fixed-address or
// memory-region group) is inserted.
size_t InsertionIndex(const SectionLayout& layout, const SectionGroup& group);

// The warning for a group that follows `before`, which holds a label that
// another group is loaded at; empty when `before` holds none.
std::string FollowsLoadLabelWarning(const SectionGroup& group, const SectionGroup& before,
                                    const std::vector<SectionGroup>& tree);

} // namespace quorle::sections
