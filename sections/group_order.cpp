#include "sections/group_order.h"

#include <algorithm>

#include "core/ascii_text.h"

namespace quorle::sections {
namespace {

// "_mdata + 4" and "_mdata+4" are loaded at "_mdata".
std::string_view LabelPart(std::string_view loadAddress) {
    loadAddress = loadAddress.substr(0, loadAddress.find('+'));
    while (!loadAddress.empty() && loadAddress.back() == ' ') loadAddress.remove_suffix(1);
    return loadAddress;
}

std::optional<uint64_t> RegionStart(const std::vector<MemoryRegion>& regions,
                                    std::string_view name) {
    for (const MemoryRegion& region : regions)
        if (region.name == name) return ParseSortAddress(region.start);
    return std::nullopt;
}

bool InRegion(const SectionGroup& group, std::string_view region) {
    return group.placement == kInRegion && group.placementText == region;
}

} // namespace

std::optional<uint64_t> ParseSortAddress(std::string_view text) {
    if (core::StartsWithIgnoringCase(text, "H'")) return ParseRegionAddress(text.substr(2));
    return ParseRegionAddress(text);
}

std::vector<uint64_t> SortKeys(const std::vector<SectionGroup>& groups,
                               const std::vector<MemoryRegion>& regions) {
    std::vector<uint64_t> keys;
    keys.reserve(groups.size());
    uint64_t previous = 0;
    for (const SectionGroup& group : groups) {
        std::optional<uint64_t> address;
        if (group.placement == kFixedAddress)
            address = ParseSortAddress(group.placementText);
        else if (group.placement == kInRegion)
            address = RegionStart(regions, group.placementText);
        previous = address.value_or(previous);
        keys.push_back(previous);
    }
    return keys;
}

std::optional<LoadLabel> LoadLabelOf(const SectionGroup& group,
                                     const std::vector<SectionGroup>& tree) {
    for (const ContentItem& item : group.contents) {
        if (item.kind != kItemLabel) continue;
        std::optional<LoadLabel> found;
        ForEachGroup(tree, [&](const SectionGroup& other, size_t) {
            if (other.loadKind == kLoadLabel && LabelPart(other.loadAddress) == item.text)
                found = LoadLabel{item.text, other.name};
            return !found;
        });
        if (found) return found;
    }
    return std::nullopt;
}

size_t InsertionIndex(const SectionLayout& layout, const SectionGroup& group) {
    const std::vector<SectionGroup>& groups = layout.groups;
    if (group.placement == kInRegion) {
        // Behind the region's last group, so the user's order within it
        // stays; but ahead of a group whose label another group loads at.
        auto last = std::find_if(groups.rbegin(), groups.rend(), [&](const SectionGroup& g) {
            return InRegion(g, group.placementText);
        });
        if (last != groups.rend()) {
            size_t index = static_cast<size_t>(groups.rend() - last);
            for (size_t i = 0; i < index; ++i)
                if (InRegion(groups[i], group.placementText) && LoadLabelOf(groups[i], groups))
                    return i;
            return index;
        }
    }
    std::optional<uint64_t> key = group.placement == kFixedAddress
                                      ? ParseSortAddress(group.placementText)
                                      : RegionStart(layout.regions, group.placementText);
    if (!key) return groups.size();
    std::vector<uint64_t> keys = SortKeys(groups, layout.regions);
    // The keys of a stored layout need not be in order: the new group goes
    // before the first group that starts above it.
    auto after = std::find_if(keys.begin(), keys.end(), [&](uint64_t k) { return k > *key; });
    return static_cast<size_t>(after - keys.begin());
}

std::string FollowsLoadLabelWarning(const SectionGroup& group, const SectionGroup& before,
                                    const std::vector<SectionGroup>& tree) {
    std::optional<LoadLabel> load = LoadLabelOf(before, tree);
    if (!load) return {};
    return "The group " + group.name + " follows the label " + load->label + " of " + before.name +
           ", where " + load->loadedGroup +
           " is loaded: their contents would overlap in memory.\nLet " + group.name +
           " follow the group before " + before.name + " instead.";
}

} // namespace quorle::sections
