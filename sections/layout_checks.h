// The checks of the section layout editing dialogs, as plain functions. Each
// returns the message the dialog shows, or an empty text when the entry is
// accepted; the dialog stays open on a message.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sections/section_layout.h"

namespace quorle::sections {

// Name of a new or renamed group. `currentName` is the group's own name when
// it is being modified (it may keep it), empty for a new group.
std::string CheckGroupName(const std::vector<SectionGroup>& groups, std::string_view name,
                           std::string_view currentName = {});

// Placement of a group: a fixed address must be given, and no other
// top-level group may be placed at exactly the same text.
std::string CheckGroupPlacement(const std::vector<SectionGroup>& groups, std::string_view name,
                                int placement, std::string_view placementText);

// The text stored for a label the user typed: with free text expressions
// every blank (and tab) becomes "____" so that the stored layout stays one
// option token.
std::string StoredLabel(std::string_view typed, bool allowFreeText);
// A label to insert; `typed` as entered by the user.
std::string CheckLabel(const std::vector<SectionGroup>& groups, std::string_view typed,
                       bool allowFreeText);

// A section entry. `section` is ignored when `allSections` is set, `files`
// when `allFiles` is set.
std::string CheckSectionEntry(bool allSections, std::string_view section, bool allFiles,
                              const std::vector<std::string>& files);

// A section entry ld can read inside "*(...)": an input-section name or
// wildcard pattern, alone or inside one of ld's sort forms (SORT,
// SORT_BY_NAME, SORT_BY_ALIGNMENT, SORT_BY_INIT_PRIORITY, SORT_NONE).
// Other parentheses, ";", braces, quotes and ld's own keywords are not.
bool IsReadableSectionEntry(std::string_view section);
// The message for a section name ld cannot read, naming it.
std::string UnreadableSectionMessage(std::string_view section);
// For a stored layout, before its script is written: one message naming
// every group and section entry that ld could not read, or an empty text.
std::string CheckLayoutSectionEntries(const std::vector<SectionGroup>& groups);

// Removing (or, with `modify`, changing) a label that places a group or gives
// a group's load address is refused.
std::string CheckLabelUnreferenced(const std::vector<SectionGroup>& groups, std::string_view label,
                                   bool modify);

// An operation on the group contents needs a selected item.
std::string CheckSelection(int selectedIndex);

// A new memory region (or a changed one: `ignoreIndex` is its own index in
// `regions`). Addresses must be hexadecimal, the end above the start, the name
// unused and the range clear of every other region.
std::string CheckRegion(const std::vector<MemoryRegion>& regions, std::string_view name,
                        std::string_view start, std::string_view end, int ignoreIndex = -1);

// KEEP and NOLOAD go together (a NOLOAD stack needs KEEP to survive
// garbage collection); KEEP can be changed only while garbage collection is
// on.
struct KeepState {
    bool keep = false;
    bool keepEnabled = false;
};
KeepState OnNoLoadChanged(bool noLoad, bool keep, bool garbageCollection);

} // namespace quorle::sections
