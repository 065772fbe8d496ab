// The host's reading of the plug-in's lists and its placeholder expansion.
#include <gtest/gtest.h>

#include "host/placeholders.h"
#include "host/plugin_calls.h"
#include "host/text_list.h"

namespace quorle::host {
namespace {

TEST(TextList, NulListStopsAtTheEmptyEntryAndAtTheBufferEnd) {
    const char list[] = "Object file\0Assembly source file\0\0garbage";
    EXPECT_EQ(SplitNulList(list, sizeof list - 1),
              (std::vector<std::string>{"Object file", "Assembly source file"}));
    // A list cut short by its size never reads past it.
    EXPECT_EQ(SplitNulList(list, 6), (std::vector<std::string>{"Object"}));
    EXPECT_TRUE(SplitNulList("\0\0", 2).empty());
    std::string joined = JoinNulList({"a|C source file", "b"});
    EXPECT_EQ(joined, std::string("a|C source file\0b\0\0", 19));
    EXPECT_EQ(SplitNulList(joined.data(), joined.size()),
              (std::vector<std::string>{"a|C source file", "b"}));
}

TEST(TextList, ArgumentsKeepBackslashesAndGroupQuotedBlanks) {
    EXPECT_EQ(
        SplitArguments("-c -x c\n-I \"C:\\My Dir\\inc\"\r\n\"\"\t-o \"a b.o\" "),
        (std::vector<std::string>{"-c", "-x", "c", "-I", "C:\\My Dir\\inc", "", "-o", "a b.o"}));
    EXPECT_EQ(SplitArguments("-T \"x.gsi\" "), (std::vector<std::string>{"-T", "x.gsi"}));
    EXPECT_EQ(SplitArguments("-I\"dir\"x"), (std::vector<std::string>{"-Idirx"}));
    EXPECT_TRUE(SplitArguments(" \n\t").empty());
}

TEST(Placeholders, KnownNamesExpandUnknownOnesStay) {
    PlaceholderMap values{{"CONFIGDIR", "/w/Debug"}, {"FILELEAF", "main"}};
    EXPECT_EQ(ExpandPlaceholders("$(CONFIGDIR)\\$(FILELEAF).o", values), "/w/Debug\\main.o");
    EXPECT_EQ(ExpandPlaceholders("$(NOPE)/$(CONFIGDIR", values), "$(NOPE)/$(CONFIGDIR");
    EXPECT_EQ(ExpandPlaceholders("", values), "");
}

TEST(Placeholders, ValuesHoldingPlaceholdersExpandAndCyclesEnd) {
    PlaceholderMap values{{"A", "$(B)/a"}, {"B", "/root"}, {"LOOP", "x$(LOOP)"}};
    EXPECT_EQ(ExpandPlaceholders("$(A)", values), "/root/a");
    std::string looped = ExpandPlaceholders("$(LOOP)", values);
    EXPECT_EQ(looped.substr(0, 9), "xxxxxxxxx");
    EXPECT_LT(looped.size(), 40u);
}

TEST(Placeholders, FileLeafDropsDirectoryAndExtension) {
    EXPECT_EQ(FileLeaf("src\\main.c"), "main");
    EXPECT_EQ(FileLeaf("/a.b/ring.cpp"), "ring");
    EXPECT_EQ(FileLeaf("Makefile"), "Makefile");
    EXPECT_EQ(FileLeaf(".hidden"), ".hidden");
}

TEST(PluginRecords, DependencyItemsAndLineRecordsSplitAtTheRightBars) {
    DependencyItem dep = ParseDependencyItem("C:\\tc\\include\\a.h|TRUE|C header file");
    EXPECT_EQ(dep.path, "C:\\tc\\include\\a.h");
    EXPECT_TRUE(dep.system);
    EXPECT_EQ(dep.type, "C header file");
    DependencyItem local = ParseDependencyItem("/p/inc|x/b.h|FALSE|C++ header file");
    EXPECT_EQ(local.path, "/p/inc|x/b.h");
    EXPECT_FALSE(local.system);
    DependencyItem error = ParseDependencyItem("ERROR|File not found: x.c");
    EXPECT_TRUE(error.path.empty());
    EXPECT_EQ(error.error, "File not found: x.c");

    LineInfo info;
    ParseLineRecord("\\src\\a.c|12||warning: a | b", info);
    EXPECT_EQ(info.file, "\\src\\a.c");
    EXPECT_EQ(info.line, "12");
    EXPECT_EQ(info.number, "");
    EXPECT_EQ(info.message, "warning: a | b");
    ParseLineRecord("", info);
    EXPECT_EQ(info.file, "");
    EXPECT_EQ(info.line, "None");
    EXPECT_EQ(info.message, "");
}

} // namespace
} // namespace quorle::host
