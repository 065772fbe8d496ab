#include <gtest/gtest.h>

#include <string>

#include "core/phase.h"
#include "output/line_classifier.h"
#include "output/line_parts.h"

using namespace quorle;
using output::ClassifyOutputLine;
using output::LineClass;

namespace {

LineClass Classify(PhaseIndex phase, std::string_view line) {
    auto result = ClassifyOutputLine(phase, line);
    EXPECT_TRUE(result.has_value());
    return result.value_or(LineClass{});
}

struct Counts {
    int errors, warnings, fatals;
};

void ExpectLine(PhaseIndex phase, std::string_view line, std::string_view record, Counts counts) {
    SCOPED_TRACE(std::string(line));
    LineClass c = Classify(phase, line);
    EXPECT_EQ(c.record, record);
    EXPECT_EQ(c.errors, counts.errors);
    EXPECT_EQ(c.warnings, counts.warnings);
    EXPECT_EQ(c.fatals, counts.fatals);
    EXPECT_TRUE(c.isMessage);
}

} // namespace

TEST(OutputLine, BannersAndEmptyLinesAreNoMessages) {
    for (PhaseIndex phase : {kPhaseCompiler, kPhaseAssembler, kPhaseLinker, kPhaseGenerator}) {
        for (std::string_view line : {"", "Copyright (C) 2004 Ostrel error"}) {
            LineClass c = Classify(phase, line);
            EXPECT_EQ(c.record, "\n\n");
            EXPECT_FALSE(c.isMessage);
            EXPECT_EQ(c.errors + c.warnings + c.fatals, 0);
        }
    }
    // Each phase has its own list; the compiler's needs its trailing blank.
    EXPECT_FALSE(Classify(kPhaseCompiler, "Licensed Material of Ostrel").isMessage);
    EXPECT_TRUE(Classify(kPhaseCompiler, "Licensed Material ofOstrel").isMessage);
    EXPECT_FALSE(Classify(kPhaseAssembler, "  *****TOTAL ERRORS 3").isMessage);
    EXPECT_TRUE(Classify(kPhaseCompiler, "  *****TOTAL ERRORS 3").isMessage);
    EXPECT_FALSE(Classify(kPhaseLinker, "Ostrel ELF/DWARF File Converter Ver 1").isMessage);
    EXPECT_FALSE(Classify(kPhaseGenerator, "  Evaluation period ends").isMessage);
    EXPECT_TRUE(Classify(kPhaseGenerator, "copyright (C)").isMessage);
}

TEST(OutputLine, UnknownPhasesAreRefused) {
    EXPECT_FALSE(ClassifyOutputLine(kPhaseDebug, "x").has_value());
    EXPECT_FALSE(ClassifyOutputLine(kPhaseUnknown, "x").has_value());
}

TEST(OutputLine, CompilerGnuRecords) {
    ExpectLine(kPhaseCompiler, "C:\\src\\main.c:12: error: 'x' undeclared",
               "C:\\src\\main.c|12|| error: 'x' undeclared\n\n", {1, 0, 0});
    ExpectLine(kPhaseCompiler, "C:/src/main.c:12: error: 'x' undeclared",
               "C:\\src\\main.c|12|| error: 'x' undeclared\n\n", {1, 0, 0});
    // A mixed path is made uniform, and an absolute path loses "." and "..".
    ExpectLine(kPhaseCompiler, "C:\\src/sub\\..\\.\\a.h:3:7: warning: unused",
               "C:\\src\\a.h|3||7: warning: unused\n\n", {0, 1, 0});
    // Line 0 means the whole file and becomes line 1.
    ExpectLine(kPhaseCompiler, "main.c:0: warning: empty file",
               "main.c|1|| warning: empty file\n\n", {0, 1, 0});
    // Relative paths are left as they are.
    ExpectLine(kPhaseCompiler, "..\\inc\\a.h:4: error: x", "..\\inc\\a.h|4|| error: x\n\n",
               {1, 0, 0});
    // Recognised without any colon: no file, no line, no message.
    ExpectLine(kPhaseCompiler, "in function error", "|None||\n\n", {1, 0, 0});
    // A path colon that is never followed by a line number.
    ExpectLine(kPhaseCompiler, "C:\\a.c: fatal error", "C:\\a.c|None||C:\\a.c: fatal error\n\n",
               {1, 0, 1});
}

TEST(OutputLine, CompilerWordRules) {
    // A first word only counts; nothing after it is a keyword.
    ExpectLine(kPhaseCompiler, "error: something bad", "None|None||error: something bad\n\n",
               {2, 0, 0});
    ExpectLine(kPhaseCompiler, "make: *** [all] Stop", "None|None||make: *** [all] Stop\n\n",
               {1, 0, 0});
    ExpectLine(kPhaseCompiler,
               "In file included from x.c:3:", "None|None||In file included from x.c:3:\n\n",
               {0, 0, 0});
    ExpectLine(kPhaseCompiler, "(-) abort", "None|None||(-) abort\n\n", {1, 0, 1});
    // Every rule applies to a later word: one word may count twice.
    ExpectLine(kPhaseCompiler, "x.c:1: FatalError (-)", "x.c|1|| FatalError (-)\n\n", {1, 0, 2});
    // "(I)" makes the word before it the message code.
    ExpectLine(kPhaseCompiler, "main.c(10) : C2500 (I) note", "main.c(10) |None|32500|\n\n",
               {0, 0, 0});
    ExpectLine(kPhaseCompiler, "x.c:4: DA201 (I) note", "x.c|4|50201| DA201 (I) note\n\n",
               {0, 0, 0});
}

TEST(OutputLine, AssemblerNativeAndGnuRecords) {
    ExpectLine(kPhaseAssembler, "test.src(12) : DA201 (E) A header file does not exist",
               "test.src|12||DA201 (E) A header file does not exist\n\n", {1, 0, 0});
    ExpectLine(kPhaseAssembler, "C:\\w\\..\\t.src(3) : 200 (W) odd", "C:\\t.src|3||200 (W) odd\n\n",
               {0, 1, 0});
    // A marker as the first word still makes a native record.
    ExpectLine(kPhaseAssembler, "(F) x(2) : stop", "(F) x|2||stop\n\n", {0, 0, 1});
    // A line number that is not a number is dropped.
    ExpectLine(kPhaseAssembler, "t.src(a1) : 300 (E) bad", "None|None||300 (E) bad\n\n", {1, 0, 0});
    // Without " : " or without parentheses the line is unrecognised.
    ExpectLine(kPhaseAssembler, "t.src(3): 300 (E) bad", "None|None||t.src(3): 300 (E) bad\n\n",
               {2, 0, 0});
    ExpectLine(kPhaseAssembler, "t.src : 300 (W) bad", "None|None||t.src : 300 (W) bad\n\n",
               {1, 1, 0});
    // The GNU assembler's own form.
    ExpectLine(kPhaseAssembler, "x.s:12: Error: bad instruction",
               "x.s|12|| Error: bad instruction\n\n", {1, 0, 0});
    ExpectLine(kPhaseAssembler,
               "x.s: Assembler messages:", "None|None||x.s: Assembler messages:\n\n", {0, 0, 0});
}

TEST(OutputLine, AssemblerErrorAfterFatalIsNotCounted) {
    ExpectLine(kPhaseAssembler, "x.s:3: Fatal error: can't open",
               "x.s|3|| Fatal error: can't open\n\n", {0, 0, 1});
    ExpectLine(kPhaseAssembler, "x.s:3: error, then fatal", "x.s|3|| error, then fatal\n\n",
               {1, 0, 1});
    // At the first word only the first rule that applies counts.
    ExpectLine(kPhaseAssembler, "WarningFatal x", "None|None||WarningFatal x\n\n", {1, 1, 0});
    ExpectLine(kPhaseAssembler, "Errors: 3", "Errors|None||\n\n", {1, 0, 0});
}

TEST(OutputLine, LinkerLooksAtTheWholeLine) {
    ExpectLine(kPhaseLinker, "ld: cannot find -lfoo", "None|None||ld: cannot find -lfoo\n\n\n\n",
               {1, 0, 0});
    ExpectLine(kPhaseLinker, "ld: warning: fatal section overlap",
               "None|None||ld: warning: fatal section overlap\n\n\n\n", {0, 1, 1});
    ExpectLine(kPhaseLinker, "In function `main':", "None|None||In function `main':\n\n\n\n",
               {0, 0, 0});
}

TEST(OutputLine, GeneratorRecords) {
    ExpectLine(kPhaseGenerator, "lib.c(5) : C1234 (E) bad thing",
               "lib.c|5||C1234 (E) bad thing\n\n", {1, 0, 0});
    ExpectLine(kPhaseGenerator, "(7) : C1 (W) t", "None|None||C1 (W) t\n\n", {0, 1, 0});
    // The severity word at index 1 or 2 keeps every word in the message.
    ExpectLine(kPhaseGenerator, "lib.c: error  in  build", "None|None||lib.c: error in build\n\n",
               {1, 0, 0});
    // Words after the record started are no longer counted.
    ExpectLine(kPhaseGenerator, "a b (W) error fatal", "None|None||a b (W) error fatal\n\n",
               {0, 1, 0});
    // A first word only counts; the line stays unrecognised.
    ExpectLine(kPhaseGenerator, "error at start", "None|None||error at start\n\n\n\n", {1, 0, 0});
    // A place without parentheses is not the native form.
    ExpectLine(kPhaseGenerator, "nofile : C1 (W) t", "None|None||nofile : C1 (W) t\n\n\n\n",
               {0, 1, 0});
    ExpectLine(kPhaseGenerator, "x) : C1 (-) t", "None|None||x) : C1 (-) t\n\n\n\n", {0, 0, 1});
    // A fatal word stops later errors from counting.
    ExpectLine(kPhaseGenerator, "Fatal (E) x", "None|None||Fatal (E) x\n\n", {0, 0, 1});
}

TEST(OutputLine, MessageNumbers) {
    using output::detail::MessageNumber;
    EXPECT_EQ(MessageNumber("C2500"), "32500");
    EXPECT_EQ(MessageNumber("DA201"), "50201");
    EXPECT_EQ(MessageNumber("P100"), "120100");
    EXPECT_EQ(MessageNumber("L5"), "120005");
    EXPECT_EQ(MessageNumber("DC7"), "40007");
    EXPECT_EQ(MessageNumber("DL3"), "60003");
    EXPECT_EQ(MessageNumber("DB1"), "80001");
    EXPECT_EQ(MessageNumber("B12x"), "20012");
    // No known prefix: class A and the whole text as digits.
    EXPECT_EQ(MessageNumber("123"), "10123");
    EXPECT_EQ(MessageNumber("X9"), "10000");
    EXPECT_EQ(MessageNumber("D9"), "10000");
    EXPECT_EQ(MessageNumber(""), "10000");
    // Huge digit runs saturate and wrap like 32-bit arithmetic instead of overflowing.
    EXPECT_EQ(MessageNumber("C99999999999999999999"), "29999");
}

TEST(OutputLine, CanonicalAbsolutePaths) {
    using output::detail::CanonicalIfAbsolute;
    EXPECT_EQ(CanonicalIfAbsolute("C:\\a\\.\\b\\..\\c.c"), "C:\\a\\c.c");
    EXPECT_EQ(CanonicalIfAbsolute("C:\\..\\..\\c.c"), "C:\\c.c");
    EXPECT_EQ(CanonicalIfAbsolute("\\a\\b\\..\\"), "\\a\\");
    EXPECT_EQ(CanonicalIfAbsolute("\\\\server\\share\\x\\..\\y"), "\\\\server\\share\\y");
    EXPECT_EQ(CanonicalIfAbsolute("a\\..\\b"), "a\\..\\b");
    EXPECT_EQ(CanonicalIfAbsolute("None"), "None");
    EXPECT_EQ(CanonicalIfAbsolute("C:rel\\..\\x"), "C:rel\\..\\x");
    EXPECT_EQ(CanonicalIfAbsolute(""), "");
}

TEST(OutputLine, HostileLinesFinishInsideTheText) {
    const std::string big(2 * 1024 * 1024, ':');
    const std::string words = [] {
        std::string s;
        for (int i = 0; i < 100000; ++i) s += "x(1) : ";
        return s + "(E) error";
    }();
    for (PhaseIndex phase : {kPhaseCompiler, kPhaseAssembler, kPhaseLinker, kPhaseGenerator}) {
        for (std::string_view line :
             {std::string_view(":"), std::string_view("\\"), std::string_view("("),
              std::string_view(")"), std::string_view(" : "), std::string_view("a : (E)"),
              std::string_view("(E) : ( )"), std::string_view(big), std::string_view(words)}) {
            LineClass c = Classify(phase, line);
            ASSERT_GE(c.record.size(), 2u);
            EXPECT_EQ(c.record.substr(c.record.size() - 2), "\n\n");
            // At most the file part and the whole line.
            EXPECT_LE(c.record.size(), 2 * line.size() + 32);
        }
    }
    // Millions of path colons without a line number: read in one pass, the
    // whole line becomes the message.
    const std::string colons = big + " error";
    LineClass c = Classify(kPhaseCompiler, colons);
    EXPECT_EQ(c.record, std::string(big.size() - 1, ':') + "|None||" + colons + "\n\n");
    EXPECT_EQ(c.errors, 1);
}

// gcc's notes, context lines and source excerpts count nothing in the
// Compiler and Generator phases; the other phases and every other line keep
// their rules.
TEST(OutputLine, GccNotesContextAndExcerptsCountNothing) {
    ExpectLine(kPhaseCompiler, "m.c:3:13: note: in expansion of macro 'SET'",
               "m.c|3||13: note: in expansion of macro 'SET'\n\n", {0, 0, 0});
    // A note whose words hold a keyword still counts nothing.
    ExpectLine(kPhaseCompiler, "m.c:3:22: note: 'error_count' declared here",
               "m.c|3||22: note: 'error_count' declared here\n\n", {0, 0, 0});
    ExpectLine(kPhaseCompiler, "m.c:4: note: no column", "m.c|4|| note: no column\n\n", {0, 0, 0});
    // Notes on what has no line: a predefined macro, the compiler proper.
    for (std::string_view note :
         {"<built-in>: note: this is the location of the previous definition",
          "cc1: note: unrecognized command-line option"}) {
        LineClass c = Classify(kPhaseCompiler, note);
        EXPECT_EQ(c.errors + c.warnings + c.fatals, 0) << note;
    }
    for (std::string_view context :
         {"In file included from a.h:3,",
          "                 from b.c:1:", "m.c: In function 'error_out':",
          "t.cpp: In instantiation of 'int Box<T>::get()':", "t.cpp:2:40:   required from here",
          "m.c: At top level:", "t.cpp: In member function 'void X::fatal()':",
          // gcc's last line after a fatal error, which was counted itself.
          "compilation terminated."}) {
        std::string record = "None|None||" + std::string(context) + "\n\n";
        ExpectLine(kPhaseCompiler, context, record, {0, 0, 0});
    }
    for (std::string_view excerpt : {"    7 |   int error = 0;", "      |   ^~~~~~", "12345 | x",
                                     "  +++ |+#include <stdio.h>"}) {
        std::string record = "None|None||" + std::string(excerpt) + "\n\n";
        ExpectLine(kPhaseCompiler, excerpt, record, {0, 0, 0});
        ExpectLine(kPhaseGenerator, excerpt, record + "\n\n", {0, 0, 0});
    }
    ExpectLine(kPhaseGenerator, "lib.c:3:1: note: 'error' here",
               "None|None||lib.c:3:1: note: 'error' here\n\n\n\n", {0, 0, 0});

    // Real problems and unknown lines keep counting.
    ExpectLine(kPhaseCompiler, "m.c:3:22: error: 'x' undeclared",
               "m.c|3||22: error: 'x' undeclared\n\n", {1, 0, 0});
    ExpectLine(kPhaseCompiler, "m.c:3: notes: not gcc's form",
               "None|None||m.c:3: notes: not gcc's form\n\n", {1, 0, 0});
    ExpectLine(kPhaseCompiler, "| no gutter", "None|None||| no gutter\n\n", {1, 0, 0});
    ExpectLine(kPhaseCompiler, "a note: with blanks before it",
               "None|None||a note: with blanks before it\n\n", {1, 0, 0});
    ExpectLine(kPhaseCompiler, "compilation terminated. again",
               "None|None||compilation terminated. again\n\n", {1, 0, 0});
    // The assembler has no such mend.
    ExpectLine(kPhaseAssembler, "a.s:3: note: error nearby", "a.s|3|| note: error nearby\n\n",
               {1, 0, 0});
    ExpectLine(kPhaseLinker, "      |   ^~~", "None|None||      |   ^~~\n\n\n\n", {1, 0, 0});
}
