#include "sheet/layout_walk.h"

#include <utility>

namespace quorle::sheet {

using sections::SectionGroup;

void ForEachGroup(std::vector<SectionGroup>& groups,
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
    ForEachGroup(groups, [&](const GroupPlace& place) {
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
    ForEachGroup(groups, [&](const GroupPlace& place) {
        if (place.depth == 0 || !holds(place.Group())) return true;
        found = &place.Group();
        return false;
    });
    return found;
}

namespace {

SectionGroup Shallow(const SectionGroup& group) {
    SectionGroup copy;
    copy.name = group.name;
    copy.colour = group.colour;
    copy.loadKind = group.loadKind;
    copy.loadAddress = group.loadAddress;
    copy.placement = group.placement;
    copy.placementText = group.placementText;
    copy.noLoad = group.noLoad;
    copy.keep = group.keep;
    copy.contents = group.contents;
    return copy;
}

bool SameShallow(const SectionGroup& a, const SectionGroup& b) {
    return a.name == b.name && a.colour == b.colour && a.loadKind == b.loadKind &&
           a.loadAddress == b.loadAddress && a.placement == b.placement &&
           a.placementText == b.placementText && a.noLoad == b.noLoad && a.keep == b.keep &&
           a.contents == b.contents && a.children.size() == b.children.size();
}

} // namespace

std::vector<SectionGroup> CopyGroups(const std::vector<SectionGroup>& groups) {
    std::vector<SectionGroup> out;
    std::vector<std::pair<const std::vector<SectionGroup>*, std::vector<SectionGroup>*>> work;
    work.emplace_back(&groups, &out);
    while (!work.empty()) {
        auto [from, to] = work.back();
        work.pop_back();
        to->reserve(from->size());
        for (const SectionGroup& group : *from) to->push_back(Shallow(group));
        // The target list is complete, so pointers into it stay valid.
        for (size_t i = 0; i < from->size(); ++i)
            if (!(*from)[i].children.empty()) work.emplace_back(&(*from)[i].children, &(*to)[i].children);
    }
    return out;
}

bool SameGroups(const std::vector<SectionGroup>& a, const std::vector<SectionGroup>& b) {
    std::vector<std::pair<const std::vector<SectionGroup>*, const std::vector<SectionGroup>*>> work;
    work.emplace_back(&a, &b);
    while (!work.empty()) {
        auto [x, y] = work.back();
        work.pop_back();
        if (x->size() != y->size()) return false;
        for (size_t i = 0; i < x->size(); ++i) {
            if (!SameShallow((*x)[i], (*y)[i])) return false;
            work.emplace_back(&(*x)[i].children, &(*y)[i].children);
        }
    }
    return true;
}

void DestroyGroups(std::vector<SectionGroup>& groups) {
    std::vector<SectionGroup> pending = std::move(groups);
    groups.clear();
    while (!pending.empty()) {
        SectionGroup last = std::move(pending.back());
        pending.pop_back();
        for (SectionGroup& child : last.children) pending.push_back(std::move(child));
        last.children.clear(); // only moved-from shells are left
    }
}

std::vector<SectionGroup> FlatGroups(const std::vector<SectionGroup>& groups) {
    std::vector<SectionGroup> flat;
    std::vector<const SectionGroup*> stack;
    for (size_t i = groups.size(); i-- > 0;) stack.push_back(&groups[i]);
    while (!stack.empty()) {
        const SectionGroup* group = stack.back();
        stack.pop_back();
        flat.push_back(Shallow(*group));
        for (size_t i = group->children.size(); i-- > 0;) stack.push_back(&group->children[i]);
    }
    return flat;
}

} // namespace quorle::sheet
