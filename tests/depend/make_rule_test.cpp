#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "depend/make_rule.h"

using namespace quorle::depend;
using Items = std::vector<std::string>;

TEST(MakeRule, WindowsRuleLastDependencyFirst) {
    const std::string rule = "main.o: C:\\src\\main.c C:\\inc\\a.h \\\r\n"
                             " C:\\tc\\corvo-elf\\include\\stdio.h C:/src/b.h\r\n";
    EXPECT_EQ(
        ParseMakeRule(rule, "C:\\src\\main.c", {"C:\\tc\\corvo-elf\\include"}, "C header file"),
        (Items{"C:\\src\\b.h|FALSE|C header file",
               "C:\\tc\\corvo-elf\\include\\stdio.h|TRUE|C header file",
               "C:\\inc\\a.h|FALSE|C header file"}));
}

TEST(MakeRule, ContinuationsEscapedBlanksAndSystemDirs) {
    // The source alone on the first line, escaped blanks, LF and CR LF ends.
    const std::string rule = "x.o: /w/x.cpp \\\n /w/My\\ Dir/a.h \\\r\n  /opt/tc/include/c++/v.h\n";
    EXPECT_EQ(ParseMakeRule(rule, "/w/x.cpp", {"/opt/tc/include", ""}, "C++ header file"),
              (Items{"\\opt\\tc\\include\\c++\\v.h|TRUE|C++ header file",
                     "\\w\\My Dir\\a.h|FALSE|C++ header file"}));
    // Relative paths are dependencies as well.
    EXPECT_EQ(ParseMakeRule("a.o: a.c ../inc/h.h sub/g.h\n", "a.c", {}, "C header file"),
              (Items{"sub\\g.h|FALSE|C header file", "..\\inc\\h.h|FALSE|C header file"}));
    // A rule without prerequisites, and output without the source's name.
    EXPECT_EQ(ParseMakeRule("a.o: C:\\a.c\r\n", "C:\\a.c", {}, "C header file"), Items{});
    EXPECT_EQ(ParseMakeRule("b.o: C:\\b.c C:\\x.h\r\n", "C:\\a.c", {}, "C header file"), Items{});
}

TEST(MakeRule, DriverErrors) {
    const std::string missing = "C:\\a.c:1:10: fatal error: zz.h: No such file or directory\r\n"
                                "compilation terminated.\r\n";
    EXPECT_EQ(ParseDriverOutput(missing, "C:\\a.c", {}, "C header file"),
              (Items{"ERROR|C:\\a.c:1:10: fatal error: zz.h: No such file or directory"}));
    // Two messages: each up to its phrase; one without the phrase takes 24 bytes.
    const std::string two = "a.c:1: error: x.h: No such file or directory\r\n"
                            "a.c:2: error: y.h: No such file or directory\r\n"
                            "a.c:9: error: something else entirely\r\n";
    EXPECT_EQ(ParseDriverErrors(two), (Items{"ERROR|a.c:1: error: x.h: No such file or directory",
                                             "ERROR|a.c:2: error: y.h: No such file or directory",
                                             "ERROR|a.c:9: error: something "}));
    EXPECT_EQ(ParseDriverErrors("In file included from a.c:1:\nb.h:2: error: q\n"),
              (Items{"ERROR|In file included from a.c:1:\nb.h:2: error: q\n"}));
    EXPECT_EQ(ParseDriverOutput("g++: warning: a.c: linker input file unused because linking "
                                "not done\nerror: ",
                                "a.c", {}, "C header file"),
              Items{});
}

TEST(MakeRule, HostileTextsStayInside) {
    for (std::string_view text :
         {"", ":", "\\", "\\\r", "error: ", "error: \\", "a.c", "a.c \\", "a.c:\\\n:", "No such",
          "In file included from", "error: No such file or directory"}) {
        SCOPED_TRACE(std::string(text));
        for (const std::string& item : ParseDriverOutput(text, "C:\\a.c", {"C:\\"}, "t"))
            EXPECT_LE(item.size(), text.size() + 12);
        for (const std::string& item : ParseDriverOutput(text, "a.c", {""}, "t"))
            EXPECT_LE(item.size(), text.size() + 12);
        for (const std::string& item : ParseDriverErrors(text))
            EXPECT_LE(item.size(), text.size() + 6);
    }
    EXPECT_EQ(ParseDriverErrors(""), Items{"ERROR|"});
    // Many short error messages are read in one pass.
    std::string many;
    for (int i = 0; i < 40000; ++i) many += "error: No such file or directory\r\n";
    EXPECT_EQ(ParseDriverErrors(many).size(), 40000u);
}

TEST(MakeRule, RuleLargerThanAMegabyte) {
    std::string rule = "big.o: C:\\src\\big.c";
    const int count = 30000;
    for (int i = 0; i < count; ++i) {
        rule += " \\\r\n C:\\deep\\headers\\directory\\level\\header_number_" + std::to_string(i) +
                ".h";
    }
    rule += "\r\n";
    ASSERT_GT(rule.size(), 1024u * 1024);
    Items items = ParseMakeRule(rule, "C:\\src\\big.c", {}, "C header file");
    ASSERT_EQ(items.size(), static_cast<size_t>(count));
    EXPECT_EQ(items.front(),
              "C:\\deep\\headers\\directory\\level\\header_number_29999.h|FALSE|C header file");
    EXPECT_EQ(items.back(),
              "C:\\deep\\headers\\directory\\level\\header_number_0.h|FALSE|C header file");
}
