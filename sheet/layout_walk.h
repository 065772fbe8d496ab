// Walks over a group tree with an explicit stack, never by recursion: a
// layout may hold a chain of groups each placed at a label of the one
// before, as deep as the user (or a damaged option string) made it.
#pragma once

#include <functional>
#include <string_view>
#include <vector>

#include "sections/section_layout.h"

namespace quorle::sheet {

// Where a group sits: the list that holds it and its index there.
struct GroupPlace {
    std::vector<sections::SectionGroup>* list = nullptr;
    size_t index = 0;
    int depth = 0;
    sections::SectionGroup& Group() const { return (*list)[index]; }
};

// Every group in pre-order (a group, then its children, then its next
// sibling). `visit` returns false to stop.
void ForEachGroupPlace(std::vector<sections::SectionGroup>& groups,
                  const std::function<bool(const GroupPlace&)>& visit);

// The group of that name anywhere in the tree.
std::optional<GroupPlace> FindGroupNamed(std::vector<sections::SectionGroup>& groups,
                                         std::string_view name);
// The group whose contents hold the label: top-level groups first, then the
// rest in pre-order.
sections::SectionGroup* FindLabelHolder(std::vector<sections::SectionGroup>& groups,
                                        std::string_view label);

// Deep copy, equality and destruction without recursion.
std::vector<sections::SectionGroup> CopyGroups(const std::vector<sections::SectionGroup>& groups);
bool SameGroups(const std::vector<sections::SectionGroup>& a,
                const std::vector<sections::SectionGroup>& b);
void DestroyGroups(std::vector<sections::SectionGroup>& groups);
// The group's own fields: no contents, no children.
sections::SectionGroup FieldsOnly(const sections::SectionGroup& group);
// Every group of the tree with its children left out, in pre-order: what
// the tree-wide checks need to see.
std::vector<sections::SectionGroup> FlatGroups(const std::vector<sections::SectionGroup>& groups);

} // namespace quorle::sheet
