#include <gtest/gtest.h>

#include "output/colouring.h"

using quorle::output::ColouringText;

TEST(Colouring, TextsHaveTheirExactLengths) {
    EXPECT_EQ(ColouringText("C source file").size(), 930u);
    EXPECT_EQ(ColouringText("C++ source file").size(), 1262u);
    EXPECT_EQ(ColouringText("Assembly source file").size(), 1333u);
}

TEST(Colouring, FileTypesSelectTheirRow) {
    const std::string& c = ColouringText("C source file");
    const std::string& cpp = ColouringText("C++ source file");
    const std::string& as = ColouringText("Assembly source file");
    for (auto type : {"C header file", "C list file", "Preprocessed C source file"})
        EXPECT_EQ(&ColouringText(type), &c) << type;
    for (auto type : {"C++ header file", "C++ list file", "Preprocessed C++ source file"})
        EXPECT_EQ(&ColouringText(type), &cpp) << type;
    for (auto type :
         {"Assembly include file", "Expanded assembly source file", "Assembly list file"})
        EXPECT_EQ(&ColouringText(type), &as) << type;
    for (auto type : {"c source file", "C source file ", "", "Assembly", "C source file,"})
        EXPECT_TRUE(ColouringText(type).empty()) << type;
}

TEST(Colouring, AssemblyTextBlocks) {
    const std::string& as = ColouringText("Assembly source file");
    const std::string global = "GLOBAL\n{\nLineComment=;\nCommentForeground=DARKGREEN\n"
                               "CommentBackground=SYSTEM\nNoQuotes=OFF\nNoCase=ON\n"
                               "TextForeground=BLACK\nTextBackground=SYSTEM\n"
                               "BookmarkForeground=WHITE\nBookmarkBackground=DARKGREEN\n"
                               "SelTextForeground=WHITE\nSelTextBackground=BLACK\n}\n\n";
    EXPECT_EQ(as.substr(0, global.size()), global);
    const std::string tail = ".SRESZ .FRES .FRES.S\nKeywordForeground=PURPLE\n"
                             "KeywordBackground=SYSTEM\n}\n";
    ASSERT_GE(as.size(), tail.size());
    EXPECT_EQ(as.substr(as.size() - tail.size()), tail);
    EXPECT_NE(as.find("\n\nKEYWORDGROUP\n{\nName=Directive\nKeywords=.CPU .EXPORT"),
              std::string::npos);
}

TEST(Colouring, CppTextBlocks) {
    const std::string& cpp = ColouringText("C++ source file");
    const std::string head =
        "GLOBAL\n{\nCommentBlockStart=/*\nCommentBlockEnd=*/\nLineComment=//\n";
    EXPECT_EQ(cpp.substr(0, head.size()), head);
    EXPECT_NE(cpp.find("NoCase=OFF\n"), std::string::npos);
    const std::string tail = "KEYWORDGROUP\n{\nName=Value\nKeywords=false true this\n"
                             "KeywordForeground=DARKYELLOW\nKeywordBackground=SYSTEM\n}\n";
    EXPECT_EQ(cpp.substr(cpp.size() - tail.size()), tail);
    // Blocks are separated by exactly one empty line; no line has a CR.
    EXPECT_EQ(cpp.find("\r"), std::string::npos);
    EXPECT_EQ(cpp.find("\n\n\n"), std::string::npos);
    size_t groups = 0;
    for (size_t at = cpp.find("}\n\nKEYWORDGROUP\n{\n"); at != std::string::npos;
         at = cpp.find("}\n\nKEYWORDGROUP\n{\n", at + 1))
        ++groups;
    EXPECT_EQ(groups, 5u);
}
