#include "sheet/layout_walk.h"

#include <utility>

namespace quorle::sheet {

using sections::SectionGroup;

void ForEachGroupPlace(std::vector<SectionGroup>& groups,
                  const std::function<bool(const GroupPlace&)>& visit) {
    std::vector<GroupPlace> stack;
    for (size_t i = groups.size(); i-- > 0;) stack.push_back({&groups, i, 0});
    while (!stack.empty()) {
        GroupPlace place = stack.back();
        stack.pop_back();
        if (!visit(place)) return;
        auto& children = place.Group().children;
        for (size_t i = children.size(); i-- > 0;) stack.push_back({&children, i, place.depth + 1});
    }
}

std::optional<GroupPlace> FindGroupNamed(std::vector<SectionGroup>& groups, std::string_view name) {
    std::optional<GroupPlace> found;
    ForEachGroupPlace(groups, [&](const GroupPlace& place) {
        if (place.Group().name != name) return true;
        found = place;
        return false;
    });
    return found;
}

SectionGroup* FindLabelHolder(std::vector<SectionGroup>& groups, std::string_view label) {
    auto holds = [label](const SectionGroup& group) {
        for (const auto& item : group.contents)
            if (item.kind == sections::kItemLabel && item.text == label) return true;
        return false;
    };
    for (SectionGroup& group : groups)
        if (holds(group)) return &group;
    SectionGroup* found = nullptr;
    ForEachGroupPlace(groups, [&](const GroupPlace& place) {
        if (place.depth == 0 || !holds(place.Group())) return true;
        found = &place.Group();
        return false;
    });
    return found;
}

// A section group copies, compares and destroys its own tree without
// recursion; these keep the sheet's names for that.
std::vector<SectionGroup> CopyGroups(const std::vector<SectionGroup>& groups) { return groups; }

bool SameGroups(const std::vector<SectionGroup>& a, const std::vector<SectionGroup>& b) {
    return a == b;
}

void DestroyGroups(std::vector<SectionGroup>& groups) { groups.clear(); }

SectionGroup FieldsOnly(const SectionGroup& group) {
    SectionGroup copy;
    copy.name = group.name;
    copy.colour = group.colour;
    copy.loadKind = group.loadKind;
    copy.loadAddress = group.loadAddress;
    copy.placement = group.placement;
    copy.placementText = group.placementText;
    copy.noLoad = group.noLoad;
    copy.keep = group.keep;
    return copy;
}

std::vector<SectionGroup> FlatGroups(const std::vector<SectionGroup>& groups) {
    std::vector<SectionGroup> flat;
    std::vector<const SectionGroup*> stack;
    for (size_t i = groups.size(); i-- > 0;) stack.push_back(&groups[i]);
    while (!stack.empty()) {
        const SectionGroup* group = stack.back();
        stack.pop_back();
        SectionGroup fields = FieldsOnly(*group);
        fields.contents = group->contents;
        flat.push_back(std::move(fields));
        for (size_t i = group->children.size(); i-- > 0;) stack.push_back(&group->children[i]);
    }
    return flat;
}

} // namespace quorle::sheet
