// Operations on the group tree: the default layout, lookups and adding a
// group in its place.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/user_message.h"
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
//  - follow-on: inserted after the top-level group named by its placement
//    text (the text is then cleared), or appended when there is none;
//  - fixed address or memory region: not added when a top-level group of
//    that name exists; otherwise inserted where group_order.h says, without
//    moving the groups already there (appended for toolchains whose layouts
//    are kept in the user's order).
// A follow-on or region group that lands behind a label another group is
// loaded at comes with a warning. Not added when nothing was added.
struct GroupAdd {
    bool added = false;
    UserMessages messages;
};
GroupAdd AddGroup(SectionLayout& layout, SectionGroup group, std::string_view effectiveToolchain);

} // namespace quorle::sections
