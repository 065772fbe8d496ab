#include <gtest/gtest.h>

#include "sections/layout_text.h"
#include "sections/layout_tree.h"

using namespace quorle::sections;

namespace {

SectionGroup Group(std::string name, int placement, std::string placementText,
                   std::vector<ContentItem> contents = {}) {
    SectionGroup group;
    group.name = std::move(name);
    group.colour = 2;
    group.placement = placement;
    group.placementText = std::move(placementText);
    group.contents = std::move(contents);
    return group;
}

} // namespace

TEST(LayoutText, RegionsRoundTripAndEndWithStar) {
    std::vector<MemoryRegion> regions = {{"ram", 4, "0x1000", "0x1FFF"}, {"rom", -1, "0", "FF"}};
    std::string text = RegionsToText(regions);
    EXPECT_EQ(text, "ram|4|0x1000|0x1FFF|rom|-1|0|FF|*");
    std::vector<MemoryRegion> back;
    RegionsFromText(text, back);
    EXPECT_EQ(back, regions);
    EXPECT_EQ(RegionsToText({}), "");
    // An unfinished region at the end is dropped.
    back.clear();
    RegionsFromText("a|1|0|F|b|2", back);
    ASSERT_EQ(back.size(), 1u);
    EXPECT_EQ(back[0].name, "a");
}

TEST(LayoutText, GroupTextFieldsAndMarkers) {
    SectionGroup group =
        Group(".t", kFixedAddress, "0x10", {LabelItem("_a"), SectionItem(".text", {"x.o", "y.o"})});
    group.loadKind = kLoadLabel;
    group.loadAddress = "_a";
    group.keep = true;
    EXPECT_EQ(GroupsToText({group}),
              ".t|2|2|_a|1|0x10|0|1|1|_a|<<FEND>>|0|.text|x.o|y.o|<<FEND>>|<<CEND>>|<<GEND>>|");
    EXPECT_EQ(GroupsToText({}), "");
}

TEST(LayoutText, TreesRoundTrip) {
    std::vector<SectionGroup> groups = DefaultGroups();
    groups[1].keep = true;
    groups[2].noLoad = true;
    SectionGroup child = Group(".child", kAtLabel, "_mdata", {LabelItem("_inner")});
    child.children.push_back(
        Group(".grandchild", kAtLabel, "_inner", {SectionItem(".x", {"All-files"})}));
    groups[1].children.push_back(child);
    groups.push_back(Group(".empty", kInRegion, "ram"));

    std::vector<SectionGroup> back;
    ASSERT_TRUE(GroupsFromText(GroupsToText(groups), back));
    EXPECT_EQ(back, groups);
}

TEST(LayoutText, OlderTextsWithoutKeepField) {
    // Label first, section first, and no contents at all.
    std::string text = ".a|0|0||1|0x0|0|1|_l|<<FEND>>|<<CEND>>|<<GEND>>|"
                       ".b|0|0||0||1|0|.text|All-files|<<FEND>>|<<CEND>>|<<GEND>>|"
                       ".c|0|0||0||0|<<CEND>>|<<GEND>>|";
    std::vector<SectionGroup> groups;
    ASSERT_TRUE(GroupsFromText(text, groups));
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_FALSE(groups[0].keep);
    EXPECT_FALSE(groups[0].noLoad);
    EXPECT_EQ(groups[0].contents, std::vector<ContentItem>{LabelItem("_l")});
    EXPECT_FALSE(groups[1].keep);
    EXPECT_TRUE(groups[1].noLoad);
    EXPECT_EQ(groups[1].contents, std::vector<ContentItem>{SectionItem(".text", {"All-files"})});
    EXPECT_TRUE(groups[2].contents.empty());
    // With the keep field and no contents.
    groups.clear();
    ASSERT_TRUE(GroupsFromText(".d|0|0||0||0|1|<<CEND>>|<<GEND>>|", groups));
    EXPECT_TRUE(groups[0].keep);
}

TEST(LayoutText, ChildGroupsAttachByLabelOrAreDropped) {
    std::string text = ".p|1|0||1|0x0|0|0|1|_p|<<FEND>>|<<CEND>>|<<GEND>>|"
                       ".lost|1|0||2|_nowhere|0|0|<<CEND>>|<<GEND>>|"
                       ".c|1|0||2|_p|0|0|1|_c|<<FEND>>|<<CEND>>|<<GEND>>|"
                       ".gc|1|0||2|_c|0|0|<<CEND>>|<<GEND>>|";
    std::vector<SectionGroup> groups;
    ASSERT_TRUE(GroupsFromText(text, groups));
    ASSERT_EQ(groups.size(), 1u);
    ASSERT_EQ(groups[0].children.size(), 1u);
    EXPECT_EQ(groups[0].children[0].name, ".c");
    // A group placed at a label of a child group is kept under that child.
    ASSERT_EQ(groups[0].children[0].children.size(), 1u);
    EXPECT_EQ(groups[0].children[0].children[0].name, ".gc");
}

TEST(LayoutText, TruncatedTextKeepsGroupsReadSoFar) {
    std::string whole = GroupsToText(DefaultGroups());
    size_t cut = whole.find(".bss|") + 12;
    std::vector<SectionGroup> groups;
    EXPECT_FALSE(GroupsFromText(whole.substr(0, cut), groups));
    ASSERT_EQ(groups.size(), 3u);
    EXPECT_EQ(groups[2].name, ".mdata");
    // Without the last "<<GEND>>" the last group is unfinished as well.
    groups.clear();
    EXPECT_FALSE(GroupsFromText(whole.substr(0, whole.size() - 9), groups));
    EXPECT_EQ(groups.size(), 4u);
    // A newline field ends the text like its end.
    groups.clear();
    EXPECT_TRUE(GroupsFromText(GroupsToText({DefaultGroups()[0]}) + "\n|junk|", groups));
    EXPECT_EQ(groups.size(), 1u);
}
