#include <gtest/gtest.h>

#include "resources/string_table.h"
#include "sections/layout_checks.h"
#include "sections/layout_tree.h"

using namespace quorle::sections;

TEST(LayoutChecks, GroupNames) {
    std::vector<SectionGroup> groups = DefaultGroups();
    SectionGroup child;
    child.name = ".child";
    child.placement = kAtLabel;
    groups[0].children.push_back(child);
    EXPECT_EQ(CheckGroupName(groups, ""), "A name must be specified");
    EXPECT_EQ(CheckGroupName(groups, ".text"), "ERROR: Group name already defined");
    EXPECT_EQ(CheckGroupName(groups, ".child"), "ERROR: Group name already defined");
    EXPECT_EQ(CheckGroupName(groups, ".text", ".text"), "");
    EXPECT_EQ(CheckGroupName(groups, ".my text"), "Whitespace is not permitted in the group name");
    EXPECT_EQ(CheckGroupName(groups, ".my\ttext"), "Whitespace is not permitted in the group name");
    EXPECT_EQ(CheckGroupName(groups, ".new"), "");
}

TEST(LayoutChecks, GroupPlacement) {
    std::vector<SectionGroup> groups = DefaultGroups();
    EXPECT_EQ(CheckGroupPlacement(groups, ".x", kFixedAddress, ""),
              *quorle::LoadModuleString(2014));
    EXPECT_EQ(CheckGroupPlacement(groups, ".x", kFixedAddress, "0x00001000"),
              "Address overlapping found with section ' .text '\nPlease give some other address");
    // The group's own address, a different spelling, other placements: accepted.
    EXPECT_EQ(CheckGroupPlacement(groups, ".text", kFixedAddress, "0x00001000"), "");
    EXPECT_EQ(CheckGroupPlacement(groups, ".x", kFixedAddress, "0x1000"), "");
    groups[3].placement = kInRegion;
    groups[3].placementText = "ram";
    EXPECT_EQ(CheckGroupPlacement(groups, ".x", kInRegion, "ram"), "");
}

TEST(LayoutChecks, Labels) {
    std::vector<SectionGroup> groups = DefaultGroups();
    EXPECT_EQ(CheckLabel(groups, "", false), *quorle::LoadModuleString(2013));
    EXPECT_EQ(CheckLabel(groups, "a b", false), "Whitespace is not permitted in the label name");
    EXPECT_EQ(CheckLabel(groups, "a\tb", false), "Whitespace is not permitted in the label name");
    EXPECT_EQ(CheckLabel(groups, "a b", true), "");
    EXPECT_EQ(CheckLabel(groups, "_mdata", false), "ERROR: Label name already defined");
    groups[0].contents.push_back(LabelItem(StoredLabel("x = .", true)));
    EXPECT_EQ(CheckLabel(groups, "x = .", true), "ERROR: Label name already defined");
    EXPECT_EQ(StoredLabel("_e = . + 4", true), "_e____=____.____+____4");
    EXPECT_EQ(StoredLabel("a\tb", true), "a____b");
    EXPECT_EQ(StoredLabel("a b", false), "a b");
}

TEST(LayoutChecks, SectionEntries) {
    EXPECT_EQ(CheckSectionEntry(true, "", true, {}),
              "ERROR: \"All sections\" from \"All files\" is not allowed");
    EXPECT_EQ(CheckSectionEntry(false, ".text", false, {}),
              "ERROR: At least one file must be specified");
    EXPECT_EQ(CheckSectionEntry(false, ".text", false, {""}),
              "ERROR: At least one file must be specified");
    EXPECT_EQ(CheckSectionEntry(false, "", true, {}), "ERROR: You must specify a section name");
    EXPECT_EQ(CheckSectionEntry(false, ".my text", true, {}),
              "Whitespace is not permitted in the section name");
    EXPECT_EQ(CheckSectionEntry(true, "", false, {"a.o"}), "");
    EXPECT_EQ(CheckSectionEntry(false, ".text", false, {"a.o"}), "");
}

// What goes inside "*(...)" must be a name or pattern ld reads there, or
// one inside a sort form; KEEP belongs to the group, not to the name.
TEST(LayoutChecks, SectionNamesMustBeOnesLdCanRead) {
    for (const char* readable : {".text", ".text.*", "COMMON", ".bss.[a-z]*", "/DISCARD/", ".a-b+c",
                                 "SORT(.ctors.*)", "SORT_BY_NAME(.x*)", "SORT_BY_ALIGNMENT(.data)",
                                 "SORT_BY_INIT_PRIORITY(.init_array.*)", "SORT_NONE(.x)"}) {
        EXPECT_TRUE(IsReadableSectionEntry(readable)) << readable;
        EXPECT_EQ(CheckSectionEntry(false, readable, true, {}), "") << readable;
    }
    for (const char* unreadable : {"KEEP(*(.ctors))", "*(.text)", ".x;", "{.x}", "\".x\"", "'.x'",
                                   ".x)", "SORT(.x", "SORT()", "sort(.x)", "SORT(SORT(.x))",
                                   "EXCLUDE_FILE(a.o)", "KEEP", "SORT", ".x#y", ".x&y"}) {
        EXPECT_FALSE(IsReadableSectionEntry(unreadable)) << unreadable;
        std::string message = CheckSectionEntry(false, unreadable, true, {});
        EXPECT_TRUE(message.starts_with("ERROR: \"" + std::string(unreadable) +
                                        "\" is not a section name ld can read.\n"))
            << message;
    }
    EXPECT_NE(UnreadableSectionMessage("KEEP(*(.ctors))").find("KEEP is set for the whole group"),
              std::string::npos);
    EXPECT_EQ(UnreadableSectionMessage(".x;").find("KEEP"), std::string::npos);
    // "All-sections" is no pattern of its own; blanks keep their own message.
    EXPECT_EQ(CheckSectionEntry(true, "", false, {"a.o"}), "");
    EXPECT_EQ(CheckSectionEntry(false, "KEEP( *(.x))", true, {}),
              "Whitespace is not permitted in the section name");
}

TEST(LayoutChecks, AStoredLayoutNamesEveryGroupAndEntryLdCannotRead) {
    std::vector<SectionGroup> groups = DefaultGroups();
    EXPECT_EQ(CheckLayoutSectionEntries(groups), "");
    groups[1].contents.push_back(SectionItem("KEEP(*(.ctors))", {"All-files"}));
    groups[1].contents.push_back(SectionItem("All-sections", {"a.o"}));
    SectionGroup child;
    child.name = ".deep";
    child.placement = kAtLabel;
    child.placementText = "_mdata";
    child.contents = {LabelItem("x;"), SectionItem(".y;", {"b.o"})};
    groups[1].children.push_back(child);
    EXPECT_EQ(CheckLayoutSectionEntries(groups),
              "ERROR: The section layout holds section entries that ld cannot read, so no linker "
              "script is written and the link stops:\n"
              "  group .text: \"KEEP(*(.ctors))\"\n"
              "  group .deep: \".y;\"\n"
              "Give an input-section name or wildcard pattern (such as .text.*), alone or inside "
              "SORT(), SORT_BY_NAME(), SORT_BY_ALIGNMENT(), SORT_BY_INIT_PRIORITY() or "
              "SORT_NONE().");
}

TEST(LayoutChecks, ReferencedLabelsCannotBeRemovedOrChanged) {
    std::vector<SectionGroup> groups = DefaultGroups();
    // "_mdata" is the load address of ".mdata".
    EXPECT_EQ(CheckLabelUnreferenced(groups, "_mdata", false),
              "Label cannot be removed because\nit is referenced elsewhere");
    EXPECT_EQ(CheckLabelUnreferenced(groups, "_mdata", true),
              "Label cannot be modified because\nit is referenced elsewhere");
    EXPECT_EQ(CheckLabelUnreferenced(groups, "_edata", false), "");
    SectionGroup child;
    child.name = ".c";
    child.placement = kAtLabel;
    child.placementText = "_edata";
    groups[2].children.push_back(child);
    EXPECT_NE(CheckLabelUnreferenced(groups, "_edata", false), "");
    EXPECT_EQ(CheckSelection(-1), "Selection error; aborting");
    EXPECT_EQ(CheckSelection(0), "");
}

TEST(LayoutChecks, MemoryRegions) {
    const std::string insufficient =
        "ERROR: Insuficient information has been\n  given to create a memory region";
    std::vector<MemoryRegion> regions = {{"ram", 0, "0x1000", "0x1FFF"}};
    EXPECT_EQ(CheckRegion(regions, "", "0x0", "0x10"), insufficient);
    EXPECT_EQ(CheckRegion(regions, "rom", "0x", "0x10"), insufficient);
    EXPECT_EQ(CheckRegion(regions, "rom", "0x0", ""), insufficient);
    EXPECT_EQ(CheckRegion(regions, "rom", "0x0", "0xZZ"), insufficient);
    EXPECT_EQ(CheckRegion(regions, "rom", "0x100", "0x100"),
              "ERROR: The end address must be higher than the start address");
    EXPECT_EQ(CheckRegion(regions, "rom", "0x200", "0x100"),
              "ERROR: The end address must be higher than the start address");
    EXPECT_EQ(CheckRegion(regions, "ram", "0x3000", "0x3FFF"), "ERROR: Region name already in use");
    EXPECT_EQ(CheckRegion(regions, "rom", "0x1FFF", "0x2FFF"),
              "ERROR: The new memory region overlaps a region already defined");
    EXPECT_EQ(CheckRegion(regions, "rom", "0x0000", "0x1000"),
              "ERROR: The new memory region overlaps a region already defined");
    EXPECT_EQ(CheckRegion(regions, "rom", "0x0000", "0x0FFF"), "");
    EXPECT_EQ(CheckRegion(regions, "rom", "2000", "2FFF"), "");
    // Changing a region itself: its own name and range do not count.
    EXPECT_EQ(CheckRegion(regions, "ram", "0x1000", "0x2FFF", 0), "");
}

TEST(LayoutChecks, NoLoadLeavesKeepAsItIs) {
    // NOLOAD no longer clears KEEP: a NOLOAD stack needs it under --gc-sections.
    KeepState state = OnNoLoadChanged(true, true, true);
    EXPECT_TRUE(state.keep);
    EXPECT_TRUE(state.keepEnabled);
    state = OnNoLoadChanged(true, false, true);
    EXPECT_FALSE(state.keep);
    EXPECT_TRUE(state.keepEnabled);
    // Without garbage collection KEEP cannot be changed, NOLOAD or not.
    state = OnNoLoadChanged(false, true, false);
    EXPECT_TRUE(state.keep);
    EXPECT_FALSE(state.keepEnabled);
    EXPECT_FALSE(OnNoLoadChanged(true, false, false).keepEnabled);
}
