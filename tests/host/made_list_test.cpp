// The files a step made, held as one text: each path comes back whole and
// in order, whatever it holds, and one that names no file is not kept.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "host/made_list.h"

namespace quorle::host {
namespace {

TEST(MadeList, PathsComeBackWholeAndInOrder) {
    MadeList list;
    EXPECT_TRUE(list.empty());
    EXPECT_EQ(list.size(), 0u);
    EXPECT_EQ(list.begin(), list.end());
    list.push_back("/w/Debug/a.o");
    list.push_back("/w/my dir/tab\there.o"); // kept as it is; the state file refuses it
    list.push_back("/w/Debug/a.o");          // a list, not a set
    list.push_back(std::string("/w/bad\0name.o", 13));
    EXPECT_EQ(list.size(), 3u);
    EXPECT_EQ(list.ToVector(),
              (std::vector<std::string>{"/w/Debug/a.o", "/w/my dir/tab\there.o", "/w/Debug/a.o"}));
    std::vector<std::string> from{"/x/one.o", "/x/two.gcc"};
    MadeList copy(from);
    EXPECT_EQ(copy.ToVector(), from);
    MadeList listed{"/y/a.o", "/y/b.o"};
    EXPECT_EQ(listed.size(), 2u);
    EXPECT_EQ(*listed.begin(), "/y/a.o");
    EXPECT_EQ(listed, (MadeList{"/y/a.o", "/y/b.o"}));
    EXPECT_FALSE(listed == (MadeList{"/y/a.o"}));
    listed = {};
    EXPECT_TRUE(listed.empty());
}

} // namespace
} // namespace quorle::host
