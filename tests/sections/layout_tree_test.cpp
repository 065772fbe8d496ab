#include <gtest/gtest.h>

#include "sections/layout_tree.h"

using namespace quorle::sections;

namespace {

constexpr const char* kCorvo = "Dravik GNUCORVO [ELF]";

SectionGroup Group(std::string name, int placement, std::string placementText) {
    SectionGroup group;
    group.name = std::move(name);
    group.placement = placement;
    group.placementText = std::move(placementText);
    return group;
}

std::vector<std::string> Names(const std::vector<SectionGroup>& groups) {
    std::vector<std::string> names;
    for (const SectionGroup& group : groups) names.push_back(group.name);
    return names;
}

} // namespace

TEST(LayoutTree, DefaultLayoutFillsOnlyAnEmptyList) {
    std::vector<SectionGroup> groups;
    AddDefaultLayout(groups);
    EXPECT_EQ(Names(groups),
              (std::vector<std::string>{".vects", ".text", ".mdata", ".bss", ".stack"}));
    EXPECT_EQ(groups[2].loadKind, kLoadLabel);
    EXPECT_EQ(groups[2].loadAddress, "_mdata");
    for (const SectionGroup& group : groups) EXPECT_EQ(group.colour, 0);
    std::vector<SectionGroup> one = {Group(".x", kFollowOn, "")};
    AddDefaultLayout(one);
    EXPECT_EQ(one.size(), 1u);
}

TEST(LayoutTree, FindsTheGroupHoldingALabel) {
    std::vector<SectionGroup> groups = DefaultGroups();
    groups[1].colour = 7;
    EXPECT_EQ(LabelGroupColour(groups, "_mdata"), 7);
    EXPECT_EQ(LabelGroupColour(groups, "_missing"), -1);
    // Section names are not labels.
    EXPECT_EQ(LabelGroupColour(groups, ".text"), -1);
    SectionGroup child = Group(".c", kAtLabel, "_mdata");
    child.colour = 9;
    child.contents = {LabelItem("_deep")};
    groups[1].children.push_back(child);
    EXPECT_EQ(LabelGroupColour(groups, "_deep"), 9);
}

TEST(LayoutTree, FixedAddressGroupsAreSortedForCorvo) {
    for (std::string address : {"H'00000800", "0x00000800", "800"}) {
        SectionLayout layout;
        layout.groups = DefaultGroups();
        ASSERT_TRUE(AddGroup(layout, Group(".early", kFixedAddress, address), kCorvo));
        EXPECT_EQ(Names(layout.groups), (std::vector<std::string>{".vects", ".early", ".text",
                                                                  ".mdata", ".bss", ".stack"}))
            << address;
    }
}

TEST(LayoutTree, FollowOnGroupsStayBehindTheirPredecessor) {
    SectionLayout layout;
    layout.groups = DefaultGroups();
    SectionGroup after = Group(".after", kFollowOn, ".vects");
    ASSERT_TRUE(AddGroup(layout, after, kCorvo));
    EXPECT_EQ(layout.groups[1].name, ".after");
    EXPECT_EQ(layout.groups[1].placementText, "");
    // A fixed group lower than ".mdata" later re-sorts; ".bss" (which follows
    // ".mdata") keeps its place behind it, and ".after" behind ".vects".
    ASSERT_TRUE(AddGroup(layout, Group(".mid", kFixedAddress, "0x00100000"), kCorvo));
    EXPECT_EQ(Names(layout.groups), (std::vector<std::string>{".vects", ".after", ".text", ".mid",
                                                              ".mdata", ".bss", ".stack"}));
    // "End of group list": appended, then sorted.
    ASSERT_TRUE(AddGroup(layout, Group(".tail", kFollowOn, ""), kCorvo));
    EXPECT_EQ(layout.groups.back().name, ".tail");
}

TEST(LayoutTree, RegionGroupsSortByTheirRegionStart) {
    SectionLayout layout;
    layout.regions.push_back({"low", 0, "0x00000400", "0x000007FF"});
    layout.groups = DefaultGroups();
    ASSERT_TRUE(AddGroup(layout, Group(".inlow", kInRegion, "low"), kCorvo));
    EXPECT_EQ(layout.groups[1].name, ".inlow");
    // A second group of the same name is not added.
    EXPECT_FALSE(AddGroup(layout, Group(".inlow", kFixedAddress, "0x10"), kCorvo));
    EXPECT_EQ(layout.groups.size(), 6u);
}

TEST(LayoutTree, SomeToolchainsKeepTheUserOrder) {
    for (const char* toolchain :
         {"Dravik GNUTAMSINA [ELF]", "Dravik GNUTAMSINB [ELF]", "dravik gnuzenta [elf]"}) {
        SectionLayout layout;
        layout.groups = DefaultGroups();
        ASSERT_TRUE(AddGroup(layout, Group(".early", kFixedAddress, "0x10"), toolchain));
        EXPECT_EQ(layout.groups.back().name, ".early") << toolchain;
    }
}

TEST(LayoutTree, LabelPlacedGroupsBecomeChildren) {
    SectionLayout layout;
    layout.groups = DefaultGroups();
    layout.groups[1].colour = 5;
    SectionGroup child = Group(".c", kAtLabel, "_mdata");
    child.contents = {LabelItem("_inner")};
    ASSERT_TRUE(AddGroup(layout, child, kCorvo));
    ASSERT_EQ(layout.groups[1].children.size(), 1u);
    EXPECT_EQ(layout.groups[1].children[0].colour, 5);
    ASSERT_TRUE(AddGroup(layout, Group(".gc", kAtLabel, "_inner"), kCorvo));
    EXPECT_EQ(layout.groups[1].children[0].children.size(), 1u);
    EXPECT_FALSE(AddGroup(layout, Group(".none", kAtLabel, "_undefined"), kCorvo));
    EXPECT_EQ(layout.groups.size(), 5u);
}

TEST(LayoutTree, SortAddressesAcceptBothPrefixes) {
    EXPECT_EQ(ParseSortAddress("H'1F"), 0x1Fu);
    EXPECT_EQ(ParseSortAddress("h'1f"), 0x1Fu);
    EXPECT_EQ(ParseSortAddress("0X1f"), 0x1Fu);
    EXPECT_EQ(ParseSortAddress("1f"), 0x1Fu);
    EXPECT_FALSE(ParseSortAddress("_label"));
    EXPECT_FALSE(ParseSortAddress(""));
    EXPECT_FALSE(ParseSortAddress("0x10+4"));
}
