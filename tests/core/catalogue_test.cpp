#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "support/export_call.h"
#include "interface/quorle.h"
#include "options/option_string.h"

using namespace std::string_literals;

namespace {

// Splits a NUL-separated list up to its terminating empty entry.
std::vector<std::string> ListEntries(const std::string& bytes) {
    std::vector<std::string> entries;
    size_t pos = 0;
    while (pos < bytes.size()) {
        size_t end = bytes.find('\0', pos);
        if (end == std::string::npos || end == pos) break;
        entries.push_back(bytes.substr(pos, end - pos));
        pos = end + 1;
    }
    return entries;
}

ExportAnswer Defaults(const char* phase, const char* config, const char* type,
                      int32_t capacity = 4096) {
    return CallExport(
        [&](char* b, int32_t* l) { return GetDefaultOptions(phase, config, type, b, l); },
        capacity);
}

std::string DefaultText(const char* phase, const char* config, const char* type) {
    ExportAnswer a = Defaults(phase, config, type);
    EXPECT_EQ(a.result, 0) << phase << " " << config;
    return a.bytes.substr(0, a.bytes.find('\0'));
}

const std::string kObjPath = "\"$(CONFIGDIR)\\$(FILELEAF).o\"";
const std::string kCompilerDebug =
    "[V|VERSION|2] [B|DEBUG|1] [S|OBJPATH|" + kObjPath + "] [B|LIST|0] [B|CHGINCPATH|1]";
const std::string kCompilerRelease =
    "[V|VERSION|2] [S|OBJPATH|" + kObjPath + "] [B|LIST|0] [B|CHGINCPATH|1]";

} // namespace

TEST(FileTypeCatalogue, ListsAllTypesWithExtensionsInOrder) {
    ExportAnswer a = CallExport(GetSupportedFileExtensions);
    ASSERT_EQ(a.result, 0);
    std::string list = Filled(a);
    // Ends in the list terminator and nothing follows it.
    ASSERT_GE(list.size(), 2u);
    EXPECT_EQ(list.substr(list.size() - 2), "\0\0"s);
    EXPECT_EQ(a.bytes[list.size()], '#');

    std::vector<std::string> entries = ListEntries(list);
    ASSERT_EQ(entries.size(), 31u);
    EXPECT_EQ(entries[0], "C source file|TEXT|C");
    EXPECT_EQ(entries[4], "C++ source file|TEXT|CPP|CC|CP");
    EXPECT_EQ(entries[11], "Assembly source file|TEXT|SRC|S");
    EXPECT_EQ(entries[25], "Optimize map file|BIN|bls");
    EXPECT_EQ(entries[30], "Archive File|BIN|A");
    std::set<std::string> names;
    for (const std::string& e : entries) {
        std::vector<std::string> fields;
        std::string rest = e;
        while (!rest.empty()) fields.push_back(quorle::options::NextField(rest, "|"));
        ASSERT_GE(fields.size(), 3u) << e;
        EXPECT_TRUE(fields[1] == "TEXT" || fields[1] == "BIN") << e;
        EXPECT_TRUE(names.insert(fields[0]).second) << "duplicate " << fields[0];
    }
    // The total size is the sum of the entries, their NULs and the end.
    size_t expected = 1;
    for (const std::string& e : entries) expected += e.size() + 1;
    EXPECT_EQ(static_cast<size_t>(a.length), expected);
}

TEST(FileTypeCatalogue, PhaseTypesAreCatalogueNamesExceptTheArchive) {
    ExportAnswer cat = CallExport(GetSupportedFileExtensions);
    std::set<std::string> names;
    for (const std::string& e : ListEntries(Filled(cat))) names.insert(e.substr(0, e.find('|')));
    for (const char* phase : {"Compiler", "Assembler", "Linker", "Generator"}) {
        for (auto fn : {GetInputFileTypes, GetOutputFileTypes}) {
            ExportAnswer a = CallExport([&](char* b, int32_t* l) { return fn(phase, b, l); });
            ASSERT_EQ(a.result, 0) << phase;
            for (const std::string& type : ListEntries(Filled(a))) {
                // The generator's output keeps its own spelling.
                if (type == "Archive file") continue;
                EXPECT_TRUE(names.count(type)) << phase << ": " << type;
            }
        }
    }
}

TEST(PhaseCatalogue, InformationPerPhase) {
    struct Case {
        const char* phase;
        std::string bytes;
    } cases[] = {
        {"GNU Library Generator", "SINGLE\0PRE_COMPILE\0ON\0\0"s},
        {"GNU Compiler", "MULTIPLE\0COMPILE\0ON\0\0"s},
        {"Assembler", "MULTIPLE\0ASSEMBLE\0ON\0\0"s},
        {"OptLinker", "SINGLE\0LINK\0ON\0\0"s},
        {"OPTIMIZER", "SINGLE\0LINK\0ON\0\0"s},
        {"Linker", "SINGLE\0LINK\0ON\0\0"s},
    };
    for (const Case& c : cases) {
        ExportAnswer a = CallExport(
            [&](char* b, int32_t* l) { return GetBuildPhaseInformation(c.phase, b, l); });
        EXPECT_EQ(a.result, 0) << c.phase;
        EXPECT_EQ(Filled(a), c.bytes) << c.phase;
    }
    // Named but unimplemented phases, unknown names and wrong case have no row.
    for (const char* phase : {"Debug", "Librarian", "Stype Converter", "compiler", "Nothing", ""}) {
        for (auto fn : {GetBuildPhaseInformation, GetInputFileTypes, GetOutputFileTypes}) {
            ExportAnswer a = CallExport([&](char* b, int32_t* l) { return fn(phase, b, l); });
            EXPECT_EQ(a.result, 1) << phase;
            EXPECT_TRUE(Untouched(a)) << phase;
        }
    }
}

TEST(PhaseCatalogue, InputAndOutputTypes) {
    struct Case {
        const char* phase;
        std::string inputs, outputs;
    } cases[] = {
        {"Generator", "\0\0"s, "Archive file\0\0"s},
        {"Compiler", "C source file\0C++ source file\0Preprocess Assembly file\0\0"s,
         "Object file\0Assembly source file\0\0"s},
        {"Assembler", "Assembly source file\0\0"s, "Object file\0\0"s},
        {"Linker", "Object file\0Library file\0Relocatable file\0\0"s,
         "Relocatable file\0Absolute file\0S-Record file\0Binary file\0Hex file\0Library "
         "file\0\0"s},
    };
    for (const Case& c : cases) {
        ExportAnswer in =
            CallExport([&](char* b, int32_t* l) { return GetInputFileTypes(c.phase, b, l); });
        ExportAnswer out =
            CallExport([&](char* b, int32_t* l) { return GetOutputFileTypes(c.phase, b, l); });
        EXPECT_EQ(in.result, 0);
        EXPECT_EQ(out.result, 0);
        EXPECT_EQ(Filled(in), c.inputs) << c.phase;
        EXPECT_EQ(Filled(out), c.outputs) << c.phase;
    }
}

TEST(PhaseCatalogue, SecondaryTypesAreAnEmptyList) {
    ExportAnswer a = CallExport(GetEditOptionsSecondaryFileTypes);
    EXPECT_EQ(a.result, 0);
    EXPECT_EQ(Filled(a), "\0\0"s);
    a = CallExport(GetEditOptionsSecondaryFileTypes, 1);
    EXPECT_EQ(a.result, 1);
    EXPECT_EQ(a.length, 2);
    EXPECT_EQ(GetEditOptionsSecondaryFileTypes(nullptr, &a.length), 1);
}

TEST(DefaultOptions, AllEighteenRows) {
    const std::string generator =
        "[V|VERSION|2] [S|OUTPUTPATH|\"$(CONFIGDIR)\\lib$(PROJECTNAME).a\"]";
    const std::string asmDebug = "[V|VERSION|2] [B|DEBUG|1] [S|OUTPUTPATH|" + kObjPath +
                                 "] [B|LIST|0] [B|CHGINCPATH|1] [B|ERRORPATH|1]";
    const std::string linker = "[V|VERSION|2] [B|OPTIMIZE|0] [B|DEBUG|1] "
                               "[S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]";
    struct Row {
        const char* phase;
        const char* type;
        const char* config;
        std::string options;
    } rows[] = {
        {"Generator", nullptr, "DEFAULT", generator},
        {"Generator", nullptr, "DEBUG", generator},
        {"Generator", nullptr, "RELEASE", generator},
        {"Compiler", "C source file", "DEFAULT",
         "[V|VERSION|2] [B|DEBUG|1] [S|OUTPUTPATH|" + kObjPath + "] [B|LIST|0] [B|CHGINCPATH|1]"},
        {"Compiler", "C source file", "DEBUG", kCompilerDebug},
        {"Compiler", "C source file", "RELEASE",
         "[V|VERSION|2] [S|OBJPATH|" + kObjPath + "] [S|OBJPATH|" + kObjPath +
             "] [B|LIST|0] [B|CHGINCPATH|1]"},
        {"Compiler", "C++ source file", "DEFAULT", kCompilerDebug},
        {"Compiler", "C++ source file", "DEBUG", kCompilerDebug},
        {"Compiler", "C++ source file", "RELEASE", kCompilerRelease},
        {"Compiler", "Preprocess Assembly file", "DEFAULT", kCompilerDebug},
        {"Compiler", "Preprocess Assembly file", "DEBUG", kCompilerDebug},
        {"Compiler", "Preprocess Assembly file", "RELEASE", kCompilerRelease},
        {"Assembler", "Assembly source file", "DEFAULT", asmDebug},
        {"Assembler", "Assembly source file", "DEBUG", asmDebug},
        {"Assembler", "Assembly source file", "RELEASE",
         "[V|VERSION|2] [B|DEBUG|0] [S|OUTPUTPATH|" + kObjPath +
             "] [B|LIST|0] [B|CHGINCPATH|1] [B|ERRORPATH|1]"},
        {"Linker", nullptr, "DEFAULT", linker},
        {"Linker", nullptr, "DEBUG", linker},
        {"Linker", nullptr, "RELEASE",
         "[V|VERSION|2] [B|OPTIMIZE|0] [B|DEBUG|0] "
         "[S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"]"},
    };
    for (const Row& r : rows) {
        ExportAnswer a = Defaults(r.phase, r.config, r.type);
        ASSERT_EQ(a.result, 0) << r.phase << " " << r.config;
        // String-then-list form: the text, its NUL, no newline to convert.
        EXPECT_EQ(a.length, static_cast<int32_t>(r.options.size() + 1));
        EXPECT_EQ(Filled(a), r.options + '\0') << r.phase << " " << r.config;
        EXPECT_EQ(a.bytes[r.options.size() + 1], '#');
    }
}

TEST(DefaultOptions, PathsReadBackThroughTheTokenizer) {
    auto bodies =
        quorle::options::ReadTokenBodies(DefaultText("Compiler", "DEBUG", "C source file"));
    ASSERT_EQ(bodies.size(), 5u);
    EXPECT_EQ(bodies[0], "V|VERSION|2");
    EXPECT_EQ(bodies[2].substr(0, 10), "S|OBJPATH|");
    EXPECT_EQ(quorle::options::Unquote(std::string_view(bodies[2]).substr(10)),
              "$(CONFIGDIR)\\$(FILELEAF).o");
    auto linker = quorle::options::ReadTokenBodies(DefaultText("Linker", "RELEASE", nullptr));
    ASSERT_EQ(linker.size(), 4u);
    EXPECT_EQ(linker[3], "S|OUTPUT|\"$(CONFIGDIR)\\$(PROJECTNAME).x\"");
}

TEST(DefaultOptions, ConfigurationCaseMattersOnlyForCompilerAndAssembler) {
    EXPECT_EQ(DefaultText("Compiler", "Debug", "C source file"), kCompilerDebug);
    EXPECT_EQ(DefaultText("GNU Compiler", "release", "C++ source file"), kCompilerRelease);
    EXPECT_NE(DefaultText("Assembler", "Release", "Assembly source file"), "");
    EXPECT_EQ(DefaultText("Linker", "Debug", nullptr), "");
    EXPECT_EQ(DefaultText("Generator", "release", nullptr), "");
    // The file type is compared exactly.
    EXPECT_EQ(DefaultText("Compiler", "DEBUG", "c source file"), "");
    EXPECT_EQ(DefaultText("Compiler", "DEBUG", "C header file"), "");
    EXPECT_EQ(DefaultText("Assembler", "DEBUG", "C source file"), "");
    // Linker and generator ignore the file type.
    EXPECT_NE(DefaultText("Linker", "DEBUG", "C source file"), "");
    // A user-defined configuration or an unknown phase starts empty.
    EXPECT_EQ(DefaultText("Compiler", "MYCONFIG", "C source file"), "");
    EXPECT_EQ(DefaultText("Librarian", "DEBUG", "C source file"), "");
    EXPECT_EQ(DefaultText("nothing", "DEBUG", nullptr), "");
}

TEST(DefaultOptions, RequiredArgumentsAndCapacities) {
    // The file type is required for compiler and assembler only.
    EXPECT_EQ(Defaults("Compiler", "DEBUG", nullptr).result, 1);
    EXPECT_EQ(Defaults("Assembler", "DEBUG", nullptr).result, 1);
    EXPECT_EQ(Defaults("Generator", "DEBUG", nullptr).result, 0);
    EXPECT_EQ(Defaults(nullptr, "DEBUG", "C source file").result, 1);
    EXPECT_EQ(Defaults("Linker", nullptr, nullptr).result, 1);
    int32_t len = 100;
    EXPECT_EQ(GetDefaultOptions("Linker", "DEBUG", nullptr, nullptr, &len), 1);
    EXPECT_EQ(len, 100);
    char buf[4];
    EXPECT_EQ(GetDefaultOptions("Linker", "DEBUG", nullptr, buf, nullptr), 1);

    // A capacity equal to the text's length is one short.
    int32_t size = static_cast<int32_t>(kCompilerDebug.size());
    ExportAnswer shortBy1 = Defaults("Compiler", "DEBUG", "C source file", size);
    EXPECT_EQ(shortBy1.result, 1);
    EXPECT_EQ(shortBy1.length, size + 1);
    EXPECT_TRUE(Untouched(shortBy1));
    ExportAnswer exact = Defaults("Compiler", "DEBUG", "C source file", size + 1);
    EXPECT_EQ(exact.result, 0);
    EXPECT_EQ(Filled(exact), kCompilerDebug + '\0');
    ExportAnswer negative = Defaults("Compiler", "DEBUG", "C source file", -1);
    EXPECT_EQ(negative.result, 1);
    EXPECT_EQ(negative.length, size + 1);
    EXPECT_TRUE(Untouched(negative));

    // An empty result still needs room for its NUL.
    ExportAnswer empty = Defaults("Linker", "MINE", nullptr, 0);
    EXPECT_EQ(empty.result, 1);
    EXPECT_EQ(empty.length, 1);
    empty = Defaults("Linker", "MINE", nullptr, 1);
    EXPECT_EQ(empty.result, 0);
    EXPECT_EQ(Filled(empty), "\0"s);
}

TEST(OptionValues, EscapedValuesRoundTripThroughTokens) {
    using namespace quorle::options;
    for (std::string value :
         {"C:\\dir]x\\a.o"s, "say \"hi\""s, "a]]b\"\"c"s, "with space"s, "ends]"s}) {
        std::string optionString;
        AppendToken(optionString, kVersionToken);
        AppendToken(optionString, "S|OBJPATH|" + QuoteValue(value));
        AppendToken(optionString, "B|LIST|0");
        auto bodies = ReadTokenBodies(optionString);
        ASSERT_EQ(bodies.size(), 3u) << optionString;
        EXPECT_EQ(bodies[1], "S|OBJPATH|\"" + value + "\"") << optionString;
        EXPECT_EQ(Unquote(std::string_view(bodies[1]).substr(10)), value);
        EXPECT_EQ(bodies[2], "B|LIST|0");
    }
}

TEST(DisplayEvents, ProgressTexts) {
    auto display = [](const char* name, const char* event) {
        return CallExport([&](char* b, int32_t* l) {
            return GetInformationForDisplay(name, event, 12345, b, l);
        });
    };
    for (const char* event :
         {"PHASE_START", "FILE_START", "STEP_START", "STEP_END", "FILE_END", "PHASE_END"}) {
        ExportAnswer a = display("GNU Compiler", event);
        EXPECT_EQ(a.result, 0) << event;
        EXPECT_EQ(Filled(a), "\0"s) << event;
    }
    ExportAnswer wait = display("GNU Library Generator", "PHASE_START");
    EXPECT_EQ(wait.result, 0);
    EXPECT_EQ(Filled(wait), "Please wait...This may take a few minutes\0"s);
    // Only the exact display name and only the start of the phase.
    EXPECT_EQ(Filled(display("GNU Library Generator", "FILE_START")), "\0"s);
    EXPECT_EQ(Filled(display("Generator", "PHASE_START")), "\0"s);
    EXPECT_EQ(Filled(display("gnu library generator", "PHASE_START")), "\0"s);
    // Event keys are compared exactly.
    for (const char* event : {"phase_start", "PHASE", "", "PHASE_START "}) {
        ExportAnswer a = display("GNU Compiler", event);
        EXPECT_EQ(a.result, 1) << event;
        EXPECT_TRUE(Untouched(a));
    }
    ExportAnswer tooSmall = CallExport(
        [](char* b, int32_t* l) {
            return GetInformationForDisplay("GNU Library Generator", "PHASE_START", 0, b, l);
        },
        41);
    EXPECT_EQ(tooSmall.result, 1);
    EXPECT_EQ(tooSmall.length, 42);
    EXPECT_TRUE(Untouched(tooSmall));
    int32_t len = 10;
    EXPECT_EQ(GetInformationForDisplay(nullptr, "PHASE_START", 0, wait.bytes.data(), &len), 1);
    EXPECT_EQ(GetInformationForDisplay("Compiler", nullptr, 0, wait.bytes.data(), &len), 1);
}
