// Section-group chains far deeper than any call stack: each group placed at a
// label of the one before. Reading, writing, copying, comparing and freeing
// such a layout must hold on a 1 MiB stack, a Windows main thread's default.
#include <gtest/gtest.h>

#include <string>

#include "models/linker_model.h"
#include "platform/platform.h"
#include "sections/layout_text.h"
#include "sections/layout_tree.h"
#include "sections/ld_script.h"

using namespace quorle;
using namespace quorle::sections;

namespace {

constexpr size_t kOneMiB = size_t{1} << 20;
constexpr int kDepth = 100000;

// Group i is placed at label "l<i-1>" and defines label "l<i>".
std::string ChainText(int depth) {
    std::string text = ".g0|0|0||1|0x0|0|0|1|l0|<<FEND>>|<<CEND>>|<<GEND>>|";
    for (int i = 1; i < depth; ++i) {
        text += ".g" + std::to_string(i) + "|0|0||2|l" + std::to_string(i - 1) + "|0|0|1|l" +
                std::to_string(i) + "|<<FEND>>|<<CEND>>|<<GEND>>|";
    }
    return text;
}

size_t ChainDepth(const std::vector<SectionGroup>& groups) {
    size_t depth = 0;
    const std::vector<SectionGroup>* level = &groups;
    while (!level->empty()) {
        ++depth;
        if (level->size() != 1) return 0;
        level = &level->front().children;
    }
    return depth;
}

void RunSmallStack(const std::function<void()>& work) {
    ASSERT_TRUE(platform::RunOnThreadWithStack(kOneMiB, work));
}

} // namespace

TEST(DeepChain, ReadWriteCopyAndFreeOnOneMebibyteStack) {
    const std::string text = ChainText(kDepth);
    size_t depth = 0, copyDepth = 0, lines = 0;
    bool sameText = false, equalCopy = false, differentAfterEdit = true, scriptWritten = false;
    RunSmallStack([&] {
        SectionLayout layout;
        if (!GroupsFromText(text, layout.groups)) return;
        depth = ChainDepth(layout.groups);
        sameText = GroupsToText(layout.groups) == text;
        scriptWritten = WriteLayout(layout, [&lines](const std::string& piece) {
            for (char c : piece) lines += c == '\n';
            return true;
        });
        SectionLayout copy = layout;
        copyDepth = ChainDepth(copy.groups);
        equalCopy = copy == layout;
        // The deepest group differs: equality must look all the way down.
        SectionGroup* last = &copy.groups.front();
        while (!last->children.empty()) last = &last->children.front();
        last->keep = true;
        differentAfterEdit = copy == layout;
        copy = layout; // assignment frees the old tree
    });
    EXPECT_EQ(depth, static_cast<size_t>(kDepth));
    EXPECT_EQ(copyDepth, static_cast<size_t>(kDepth));
    EXPECT_TRUE(sameText);
    EXPECT_TRUE(scriptWritten);
    // "SECTIONS", "{", then header, "{", label, "}" for every group.
    EXPECT_EQ(lines, 2u + 4u * kDepth);
    EXPECT_TRUE(equalCopy);
    EXPECT_FALSE(differentAfterEdit);
}

TEST(DeepChain, LinkerModelRoundTripsTheChain) {
    const std::string optionString = "[S|GROUPDET|" + ChainText(kDepth) + "]";
    bool stable = false;
    size_t depth = 0;
    RunSmallStack([&] {
        models::LinkerModel model(optionString);
        depth = ChainDepth(model.layout_.groups);
        std::string written = model.Serialize();
        stable = models::LinkerModel(written).Serialize() == written;
    });
    EXPECT_EQ(depth, static_cast<size_t>(kDepth));
    EXPECT_TRUE(stable);
}

// The group that a placement at a label joins is the one a search of the
// finished tree finds first: top-level groups, then the children in
// pre-order, whatever order the holders were read in.
TEST(DeepChain, LabelHolderIsTheFirstInTreeOrder) {
    auto group = [](std::string name, int placement, std::string at, std::string label) {
        return name + "|0|0||" + std::to_string(placement) + "|" + at + "|0|0|1|" + label +
               "|<<FEND>>|<<CEND>>|<<GEND>>|";
    };
    // C (under B) is read before D (under A), but D comes first in the tree.
    std::string text = group("A", 1, "0x0", "a") + group("B", 1, "0x10", "b") +
                       group("C", 2, "b", "x") + group("D", 2, "a", "x") + group("E", 2, "x", "e");
    std::vector<SectionGroup> groups;
    ASSERT_TRUE(GroupsFromText(text, groups));
    ASSERT_EQ(groups.size(), 2u);
    ASSERT_EQ(groups[0].children.size(), 1u);
    EXPECT_EQ(groups[0].children[0].name, "D");
    ASSERT_EQ(groups[0].children[0].children.size(), 1u);
    EXPECT_EQ(groups[0].children[0].children[0].name, "E");
    EXPECT_TRUE(groups[1].children[0].children.empty());

    // A label held by a top-level group wins over an earlier child holder,
    // and groups already in the list take part in the search.
    std::string more = group("F", 1, "0x20", "x") + group("G", 2, "x", "g");
    ASSERT_TRUE(GroupsFromText(more, groups));
    ASSERT_EQ(groups.size(), 3u);
    ASSERT_EQ(groups[2].children.size(), 1u);
    EXPECT_EQ(groups[2].children[0].name, "G");
    EXPECT_EQ(groups[0].children[0].children.size(), 1u);
    // A group whose label nobody holds is dropped; a cut text keeps what
    // was read before the cut.
    EXPECT_FALSE(GroupsFromText(group("H", 2, "nowhere", "h") + "I|0|0|", groups));
    EXPECT_EQ(groups.size(), 3u);
    EXPECT_EQ(FindGroupByName(groups, "H"), nullptr);
    EXPECT_EQ(FindGroupByName(groups, "E"), &groups[0].children[0].children[0]);
}
