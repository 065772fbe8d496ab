#include "sections/layout_tree.h"

#include <algorithm>

#include "core/ascii_text.h"
#include "sections/group_order.h"
#include "toolchain/toolchain_names.h"

namespace quorle::sections {
namespace {

SectionGroup MakeGroup(std::string name, int placement, std::string placementText,
                       std::vector<ContentItem> contents) {
    SectionGroup group;
    group.name = std::move(name);
    group.colour = 0;
    group.placement = placement;
    group.placementText = std::move(placementText);
    group.contents = std::move(contents);
    return group;
}

// Pre-order search of a whole tree.
SectionGroup* FindInTree(std::vector<SectionGroup>& groups, std::string_view label) {
    SectionGroup* found = nullptr;
    ForEachGroup(groups, [&](SectionGroup& group, size_t) {
        if (HoldsLabel(group, label)) found = &group;
        return found == nullptr;
    });
    return found;
}

// Top-level groups first, so that a label defined there wins; then the
// children of each top-level group.
SectionGroup* FindHolderAnywhere(std::vector<SectionGroup>& groups, std::string_view label) {
    for (SectionGroup& group : groups)
        if (HoldsLabel(group, label)) return &group;
    for (SectionGroup& group : groups)
        if (SectionGroup* found = FindInTree(group.children, label)) return found;
    return nullptr;
}

// Toolchains whose top-level groups keep the user's order.
bool KeepsUserOrder(std::string_view toolchain) {
    for (std::string_view name :
         {toolchain::kTamsinAToolchain, toolchain::kTamsinBToolchain, toolchain::kZentaToolchain})
        if (core::EqualsIgnoringCase(toolchain, name)) return true;
    return false;
}

} // namespace

std::vector<SectionGroup> DefaultGroups() {
    const std::vector<std::string> all{std::string(kAllFiles)};
    std::vector<SectionGroup> groups;
    groups.push_back(MakeGroup(".vects", kFixedAddress, "0x00000000",
                               {LabelItem("_vects"), SectionItem(".vects", all)}));
    groups.push_back(MakeGroup(".text", kFixedAddress, "0x00001000",
                               {SectionItem(".text", all), LabelItem("_mdata")}));
    SectionGroup mdata =
        MakeGroup(".mdata", kFixedAddress, "0x00200000",
                  {LabelItem("_data"), SectionItem(".data", all), LabelItem("_edata")});
    mdata.loadKind = kLoadLabel;
    mdata.loadAddress = "_mdata";
    groups.push_back(std::move(mdata));
    groups.push_back(MakeGroup(".bss", kFollowOn, "",
                               {LabelItem("_bss"), SectionItem(".bss", all),
                                SectionItem(".COMMON", all), LabelItem("_ebss")}));
    groups.push_back(MakeGroup(".stack", kFixedAddress, "0x00FFFC00",
                               {LabelItem("_stack"), SectionItem(".stack", all)}));
    return groups;
}

void AddDefaultLayout(std::vector<SectionGroup>& groups) {
    if (groups.empty()) groups = DefaultGroups();
}

bool HoldsLabel(const SectionGroup& group, std::string_view label) {
    return std::any_of(group.contents.begin(), group.contents.end(), [&](const ContentItem& item) {
        return item.kind == kItemLabel && item.text == label;
    });
}

SectionGroup* FindGroupHoldingLabel(std::vector<SectionGroup>& groups, std::string_view label) {
    return FindHolderAnywhere(groups, label);
}

const SectionGroup* FindGroupHoldingLabel(const std::vector<SectionGroup>& groups,
                                          std::string_view label) {
    // The search itself changes nothing.
    return FindHolderAnywhere(const_cast<std::vector<SectionGroup>&>(groups), label);
}

int LabelGroupColour(const std::vector<SectionGroup>& groups, std::string_view label) {
    const SectionGroup* holder = FindGroupHoldingLabel(groups, label);
    return holder ? holder->colour : -1;
}

const SectionGroup* FindGroupByName(const std::vector<SectionGroup>& groups,
                                    std::string_view name) {
    const SectionGroup* found = nullptr;
    ForEachGroup(groups, [&](const SectionGroup& group, size_t) {
        if (group.name == name) found = &group;
        return found == nullptr;
    });
    return found;
}

GroupAdd AddGroup(SectionLayout& layout, SectionGroup group, std::string_view effectiveToolchain) {
    std::vector<SectionGroup>& groups = layout.groups;
    if (group.placement == kAtLabel) {
        SectionGroup* holder = FindGroupHoldingLabel(groups, group.placementText);
        if (!holder) return {};
        group.colour = holder->colour;
        holder->children.push_back(std::move(group));
        return {true, {}};
    }
    size_t index = groups.size();
    if (group.placement == kFollowOn) {
        auto after = std::find_if(groups.begin(), groups.end(), [&](const SectionGroup& g) {
            return g.name == group.placementText;
        });
        if (after != groups.end()) {
            index = static_cast<size_t>(after - groups.begin()) + 1;
            group.placementText.clear();
        }
    } else {
        bool exists = std::any_of(groups.begin(), groups.end(),
                                  [&](const SectionGroup& g) { return g.name == group.name; });
        if (exists) return {};
        if (!KeepsUserOrder(effectiveToolchain)) index = InsertionIndex(layout, group);
    }
    // A group that goes on from behind a label another group is loaded at
    // lies over that load image: the user chose the place, so say so.
    // A fixed address is a place of its own; the others go on from the group
    // before them (in their region).
    GroupAdd result{true, {}};
    if (group.placement != kFixedAddress) {
        for (size_t i = index; i-- > 0;) {
            const SectionGroup& before = groups[i];
            if (group.placement == kInRegion &&
                !(before.placement == kInRegion && before.placementText == group.placementText))
                continue;
            std::string warning = FollowsLoadLabelWarning(group, before, groups);
            if (!warning.empty()) result.messages.push_back(WarningText(std::move(warning)));
            break;
        }
    }
    groups.insert(groups.begin() + static_cast<long>(index), std::move(group));
    return result;
}

} // namespace quorle::sections
