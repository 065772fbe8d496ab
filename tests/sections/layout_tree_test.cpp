#include <gtest/gtest.h>

#include "sections/group_order.h"
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

// Whether the group was added; `warning` gets the one warning's words, or
// nothing.
bool Added(const GroupAdd& add, std::string& warning) {
    EXPECT_LE(add.messages.size(), 1u);
    warning.clear();
    for (const quorle::UserMessage& message : add.messages) {
        EXPECT_EQ(message.kind, quorle::MessageKind::Warning);
        warning = message.text;
    }
    return add.added;
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
        ASSERT_TRUE(AddGroup(layout, Group(".early", kFixedAddress, address), kCorvo).added);
        EXPECT_EQ(Names(layout.groups), (std::vector<std::string>{".vects", ".early", ".text",
                                                                  ".mdata", ".bss", ".stack"}))
            << address;
    }
}

TEST(LayoutTree, FollowOnGroupsStayBehindTheirPredecessor) {
    SectionLayout layout;
    layout.groups = DefaultGroups();
    SectionGroup after = Group(".after", kFollowOn, ".vects");
    ASSERT_TRUE(AddGroup(layout, after, kCorvo).added);
    EXPECT_EQ(layout.groups[1].name, ".after");
    EXPECT_EQ(layout.groups[1].placementText, "");
    // A fixed group lower than ".mdata" goes in before it; ".bss" (which
    // follows ".mdata") keeps its place behind it, and ".after" behind ".vects".
    ASSERT_TRUE(AddGroup(layout, Group(".mid", kFixedAddress, "0x00100000"), kCorvo).added);
    EXPECT_EQ(Names(layout.groups), (std::vector<std::string>{".vects", ".after", ".text", ".mid",
                                                              ".mdata", ".bss", ".stack"}));
    // "End of group list": appended.
    ASSERT_TRUE(AddGroup(layout, Group(".tail", kFollowOn, ""), kCorvo).added);
    EXPECT_EQ(layout.groups.back().name, ".tail");
}

TEST(LayoutTree, RegionGroupsSortByTheirRegionStart) {
    SectionLayout layout;
    layout.regions.push_back({"low", 0, "0x00000400", "0x000007FF"});
    layout.groups = DefaultGroups();
    ASSERT_TRUE(AddGroup(layout, Group(".inlow", kInRegion, "low"), kCorvo).added);
    EXPECT_EQ(layout.groups[1].name, ".inlow");
    // A second group of the same name is not added.
    EXPECT_FALSE(AddGroup(layout, Group(".inlow", kFixedAddress, "0x10"), kCorvo).added);
    EXPECT_EQ(layout.groups.size(), 6u);
}

namespace {

// The firmware's layout: vectors and code in FLASH, the code group ending
// with _mdata, where .data (run in RAM) is loaded; .bss and .stack in RAM.
SectionLayout FirmwareLayout() {
    SectionLayout layout;
    layout.regions = {{"FLASH", 0, "0x00000000", "0x0003FFFF"},
                      {"RAM", 1, "0x20000000", "0x2000FFFF"}};
    auto inRegion = [](std::string name, std::string region, std::vector<ContentItem> items) {
        SectionGroup g = Group(std::move(name), kInRegion, std::move(region));
        g.contents = std::move(items);
        return g;
    };
    layout.groups.push_back(inRegion(".vects", "FLASH", {SectionItem(".vects", {"All-files"})}));
    layout.groups.push_back(
        inRegion(".text", "FLASH", {SectionItem(".text", {"All-files"}), LabelItem("_mdata")}));
    SectionGroup data = inRegion(".data", "RAM", {SectionItem(".data", {"All-files"})});
    data.loadKind = kLoadLabel;
    data.loadAddress = "_mdata";
    layout.groups.push_back(data);
    layout.groups.push_back(inRegion(".bss", "RAM", {SectionItem(".bss", {"All-files"})}));
    layout.groups.push_back(inRegion(".stack", "RAM", {SectionItem(".stack", {"All-files"})}));
    return layout;
}

} // namespace

// A new ROM group behind _mdata would lie over the load image of .data: it
// goes in front of the group that ends with the label. A RAM group goes
// behind the region's last group; the others keep their places.
TEST(LayoutTree, ANewRegionGroupStaysClearOfTheLoadImageOfData) {
    SectionLayout layout = FirmwareLayout();
    std::string warning;
    ASSERT_TRUE(
        Added(AddGroup(layout, Group(".rodata.tables", kInRegion, "FLASH"), kCorvo), warning));
    EXPECT_EQ(warning, "");
    ASSERT_TRUE(Added(AddGroup(layout, Group(".noinit", kInRegion, "RAM"), kCorvo), warning));
    EXPECT_EQ(warning, "");
    EXPECT_EQ(Names(layout.groups),
              (std::vector<std::string>{".vects", ".rodata.tables", ".text", ".data", ".bss",
                                        ".stack", ".noinit"}));
    // A load address with an offset names the label all the same.
    layout.groups[3].loadAddress = "_mdata + 4";
    ASSERT_TRUE(LoadLabelOf(layout.groups[2], layout.groups));
    EXPECT_EQ(LoadLabelOf(layout.groups[2], layout.groups)->loadedGroup, ".data");
    EXPECT_FALSE(LoadLabelOf(layout.groups[0], layout.groups));
}

// Groups already there never move, even where a stored layout is not in
// address order (a stack RAM below the data RAM).
TEST(LayoutTree, AddingAGroupKeepsTheUserOrderOfTheOthers) {
    SectionLayout layout = FirmwareLayout();
    layout.regions.push_back({"STACKRAM", 2, "0x10000000", "0x10000FFF"});
    layout.groups[4].placementText = "STACKRAM";
    for (SectionGroup added : {Group(".high", kFixedAddress, "0x30000000"),
                               Group(".low", kFixedAddress, "0x00000100")}) {
        ASSERT_TRUE(AddGroup(layout, added, kCorvo).added);
    }
    EXPECT_EQ(Names(layout.groups), (std::vector<std::string>{".vects", ".text", ".low", ".data",
                                                              ".bss", ".stack", ".high"}));
}

// Where the user asks for a place behind such a label, the group goes there
// with a warning that names the label and the group loaded at it.
TEST(LayoutTree, FollowingALoadLabelIsWarnedOf) {
    SectionLayout layout = FirmwareLayout();
    std::string warning;
    ASSERT_TRUE(Added(AddGroup(layout, Group(".late", kFollowOn, ".text"), kCorvo), warning));
    EXPECT_EQ(layout.groups[2].name, ".late");
    EXPECT_EQ(warning, "The group .late follows the label _mdata of .text, where .data is loaded: "
                       "their contents would overlap in memory.\nLet .late follow the group "
                       "before .text instead.");
    warning.clear();
    ASSERT_TRUE(Added(AddGroup(layout, Group(".early", kFollowOn, ".vects"), kCorvo), warning));
    EXPECT_EQ(warning, "");
    // A toolchain that keeps the user's order appends; the group behind
    // the label in its own region is warned of.
    SectionLayout zenta = FirmwareLayout();
    zenta.groups.erase(zenta.groups.begin() + 3, zenta.groups.end());
    ASSERT_TRUE(Added(AddGroup(zenta, Group(".tail", kInRegion, "FLASH"), "Dravik GNUZENTA [ELF]"),
                      warning));
    EXPECT_EQ(zenta.groups.back().name, ".tail");
    EXPECT_NE(warning.find("follows the label _mdata of .text"), std::string::npos) << warning;
}

TEST(LayoutTree, SomeToolchainsKeepTheUserOrder) {
    for (const char* toolchain :
         {"Dravik GNUTAMSINA [ELF]", "Dravik GNUTAMSINB [ELF]", "dravik gnuzenta [elf]"}) {
        SectionLayout layout;
        layout.groups = DefaultGroups();
        ASSERT_TRUE(AddGroup(layout, Group(".early", kFixedAddress, "0x10"), toolchain).added);
        EXPECT_EQ(layout.groups.back().name, ".early") << toolchain;
    }
}

TEST(LayoutTree, LabelPlacedGroupsBecomeChildren) {
    SectionLayout layout;
    layout.groups = DefaultGroups();
    layout.groups[1].colour = 5;
    SectionGroup child = Group(".c", kAtLabel, "_mdata");
    child.contents = {LabelItem("_inner")};
    ASSERT_TRUE(AddGroup(layout, child, kCorvo).added);
    ASSERT_EQ(layout.groups[1].children.size(), 1u);
    EXPECT_EQ(layout.groups[1].children[0].colour, 5);
    ASSERT_TRUE(AddGroup(layout, Group(".gc", kAtLabel, "_inner"), kCorvo).added);
    EXPECT_EQ(layout.groups[1].children[0].children.size(), 1u);
    EXPECT_FALSE(AddGroup(layout, Group(".none", kAtLabel, "_undefined"), kCorvo).added);
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
