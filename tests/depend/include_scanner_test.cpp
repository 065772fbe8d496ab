#include <gtest/gtest.h>

#include <set>

#include "depend/include_scanner.h"
#include "scan_test_support.h"

using namespace quorle::depend;
using scantest::TempTree;

TEST(IncludeReading, DirectivesCommentsAndSyntaxErrors) {
    IncludeReading r = ReadIncludeEntries("; header\r\n"
                                          "\t.include \"a.inc\" ; first\r\n"
                                          "  mov r1,r2 ; .INCLUDE \"no.inc\"\n"
                                          "\n"
                                          " .InClUdE   \"sub\\b.inc\"\n");
    EXPECT_EQ(r.code, kScanOk);
    ASSERT_EQ(r.entries.size(), 2u);
    EXPECT_EQ(r.entries[0].quotedName, "\"a.inc\"");
    EXPECT_EQ(r.entries[0].line, 2);
    EXPECT_EQ(r.entries[1].quotedName, "\"sub\\b.inc\"");
    EXPECT_EQ(r.entries[1].line, 5);

    // A label before the directive stops the scan; earlier entries are dropped.
    r = ReadIncludeEntries(".include \"a.inc\"\nlab: .include \"b.inc\"\n.include \"c.inc\"\n");
    EXPECT_EQ(r.code, kSyntaxError);
    EXPECT_EQ(r.line, 2);
    EXPECT_TRUE(r.entries.empty());

    for (std::string_view bad :
         {".include \"\"", ".include a.inc", ".include \"a\"b\"", ".include \"open", ".INCLUDE"}) {
        r = ReadIncludeEntries(bad);
        EXPECT_EQ(r.code, kSyntaxError) << bad;
        EXPECT_EQ(r.line, 1) << bad;
    }
    for (std::string_view odd : {"", ";", ":", "\\", "\"", "\n\n\r\n", "\t \t"}) {
        r = ReadIncludeEntries(odd);
        EXPECT_EQ(r.code, kScanOk) << odd;
        EXPECT_TRUE(r.entries.empty()) << odd;
    }
    // Quoted text after the name is ignored; a directive glued to its name is no directive.
    r = ReadIncludeEntries(".include \"a.inc\" extra\n.include\"b.inc\"\n");
    EXPECT_EQ(r.code, kScanOk);
    ASSERT_EQ(r.entries.size(), 1u);
    EXPECT_EQ(r.entries[0].quotedName, "\"a.inc\"");
}

TEST(IncludeScanner, ResolvesAgainstSourceAndIncludeDirs) {
    TempTree tree;
    std::string source = tree.Write("src/main.src", ".include \"local.inc\"\n"
                                                    ".include \"two.inc\"\n"
                                                    ".include \"gone.inc\"\n"
                                                    ".include \"adir\"\n");
    tree.Write("src/local.inc", "");
    tree.Write("inc2/two.inc", "");
    tree.Write("inc1/adir/x", "");
    IncludeScanInput input{
        source, "Assembly source file", {tree.Path("inc1"), tree.Path("inc2")}, false};
    std::set<std::string> seen;
    std::string list = ScanIncludes(input, seen);
    EXPECT_EQ(list, tree.Path("src/local.inc") + "|FALSE|Assembly include file\n" +
                        tree.Path("inc2/two.inc") + "|FALSE|Assembly include file\n" + "ERROR|" +
                        source + "(3) : DA201 (E) A header file does not exist 'gone.inc'\n" +
                        "ERROR|" + source +
                        "(4) : DA201 (E) A header file does not exist 'adir'\n\n");
    EXPECT_EQ(seen.size(), 2u);

    // Another source of the same batch: the same includes are not reported
    // again; with the missing-include flag nothing is said about gone.inc.
    std::string other =
        tree.Write("src/other.src", ".include \"two.inc\"\n.include \"gone.inc\"\n");
    input.sourcePath = other;
    input.sourceType = "Preprocess Assembly file";
    input.skipMissing = true;
    EXPECT_EQ(ScanIncludes(input, seen), "\n");
    seen.clear();
    EXPECT_EQ(ScanIncludes(input, seen), tree.Path("inc2/two.inc") + "|FALSE|\n\n");
}

TEST(IncludeScanner, RootedNamesAndDirectories) {
    TempTree tree;
    std::string header = tree.Write("abs/h.inc", "");
    std::string dir = tree.MakeDir("abs/folder");
    tree.Write("inc/h.inc", "");
    std::string source = tree.Write("s.src", ".include \"" + header + "\"\n.include \"" + dir +
                                                 "\"\n.include \"/no/where/h.inc\"\n");
    IncludeScanInput input{source, "C source file", {tree.Path("inc")}, false};
    std::set<std::string> seen;
    // A rooted name that does not exist is searched for in the include directories.
    EXPECT_EQ(ScanIncludes(input, seen),
              header + "|FALSE|C header file\nERROR|" + source + "(2) : DA202 (E) '" + dir +
                  "' is directory\nERROR|" + source +
                  "(3) : DA201 (E) A header file does not exist '/no/where/h.inc'\n\n");
}

TEST(IncludeScanner, UnreadableSource) {
    TempTree tree;
    std::set<std::string> seen;
    IncludeScanInput input{tree.Path("missing.src"), "Assembly source file", {}, false};
    EXPECT_EQ(ScanIncludes(input, seen),
              "ERROR|" + tree.Path("missing.src") + "(0) : DA301 (F) Cannot open this file\n\n");
    input.sourcePath = tree.Write("bad.src", "\n\nx .include \"a\"\n");
    EXPECT_EQ(ScanIncludes(input, seen),
              "ERROR|" + input.sourcePath + "(3) : DA306 (F) Syntax error\n\n");
    EXPECT_EQ(HeaderTypeForSource("C++ source file"), "C++ header file");
    EXPECT_EQ(HeaderTypeForSource("assembly source file"), "");
}
