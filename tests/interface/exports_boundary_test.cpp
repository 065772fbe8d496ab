#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "interface/quorle.h"

using namespace std::string_literals;

namespace {

struct Answer {
    int result;
    int32_t length;
    std::string bytes;
};

template <typename Call> Answer CallWith(Call call, int32_t capacity) {
    Answer a{0, capacity, std::string(256, '#')};
    a.result = call(a.bytes.data(), &a.length);
    return a;
}

bool Untouched(const Answer& a) {
    return a.bytes == std::string(256, '#');
}

// The build step a phase name selects, read back through the catalogue.
std::string StepOf(const char* phase) {
    Answer a =
        CallWith([&](char* b, int32_t* l) { return GetBuildPhaseInformation(phase, b, l); }, 256);
    if (a.result != 0) return "none";
    return std::string(a.bytes.c_str() + std::strlen(a.bytes.c_str()) + 1);
}

} // namespace

TEST(PhaseNamesAtTheExports, SuffixDecidesAndCaseMatters) {
    EXPECT_EQ(StepOf("Compiler"), "COMPILE");
    EXPECT_EQ(StepOf("Dravik GNU Compiler"), "COMPILE");
    EXPECT_EQ(StepOf("xCompiler"), "COMPILE");
    EXPECT_EQ(StepOf("compiler"), "none");
    EXPECT_EQ(StepOf("GNU COMPILER"), "none");
    EXPECT_EQ(StepOf("Compiler "), "none");
    EXPECT_EQ(StepOf("GNU Library Generator"), "PRE_COMPILE");
    EXPECT_EQ(StepOf("Assembler"), "ASSEMBLE");
    // Three names reach the linker.
    EXPECT_EQ(StepOf("OptLinker"), "LINK");
    EXPECT_EQ(StepOf("OPTIMIZER"), "LINK");
    EXPECT_EQ(StepOf("Linker"), "LINK");
    EXPECT_EQ(StepOf("GNU Linker"), "LINK");
    EXPECT_EQ(StepOf("optimizer"), "none");
    // A name shorter than every row, and the named but unimplemented phases.
    EXPECT_EQ(StepOf("ker"), "none");
    EXPECT_EQ(StepOf(""), "none");
    EXPECT_EQ(StepOf("Debug"), "none");
    EXPECT_EQ(StepOf("Librarian"), "none");
    EXPECT_EQ(StepOf("Stype Converter"), "none");
    EXPECT_EQ(StepOf(nullptr), "none");
}

TEST(BufferFormsAtTheExports, ListForm) {
    auto type = [](char* b, int32_t* l) { return GetDLLType(b, l); };
    // "Build Phase" and one NUL; no NUL of its own is counted.
    Answer exact = CallWith(type, 12);
    EXPECT_EQ(exact.result, 0);
    EXPECT_EQ(exact.length, 12);
    EXPECT_EQ(exact.bytes.substr(0, 13), "Build Phase\0#"s);
    for (int32_t capacity : {11, 0, -1, INT32_MIN}) {
        Answer a = CallWith(type, capacity);
        EXPECT_EQ(a.result, 1) << capacity;
        EXPECT_EQ(a.length, 12) << capacity;
        EXPECT_TRUE(Untouched(a)) << capacity;
    }
    Answer nav =
        CallWith([](char* b, int32_t* l) { return GetCodeNavigationItems("x", b, l); }, -18);
    EXPECT_EQ(nav.result, 1);
    EXPECT_EQ(nav.length, 18);
    EXPECT_TRUE(Untouched(nav));
}

TEST(BufferFormsAtTheExports, StringForm) {
    // A sub-command file that cannot be read still gives a display text.
    auto convert = [](char* b, int32_t* l) {
        return ConvertOptionsForCommandLineDisplay("a", "b", "@\"/nonexistent/q.gcc\"", b, l);
    };
    const std::string text = "\nCan not open sub-command file.";
    Answer exact = CallWith(convert, static_cast<int32_t>(text.size() + 1));
    EXPECT_EQ(exact.result, 0);
    EXPECT_EQ(exact.bytes.substr(0, text.size() + 2), text + "\0#"s);
    for (int32_t capacity : {static_cast<int32_t>(text.size()), -1}) {
        Answer a = CallWith(convert, capacity);
        EXPECT_EQ(a.result, 1);
        EXPECT_EQ(a.length, static_cast<int32_t>(text.size() + 1));
        EXPECT_TRUE(Untouched(a));
    }
}

TEST(BufferFormsAtTheExports, NullPointersDoNoWork) {
    char buffer[64];
    int32_t length = 64;
    EXPECT_EQ(GetSupportedFileExtensions(nullptr, &length), 1);
    EXPECT_EQ(GetSupportedFileExtensions(buffer, nullptr), 1);
    EXPECT_EQ(GetBuildPhaseInformation(nullptr, buffer, &length), 1);
    EXPECT_EQ(GetBuildPhaseInformation("Compiler", nullptr, &length), 1);
    EXPECT_EQ(GetInputFileTypes("Compiler", buffer, nullptr), 1);
    EXPECT_EQ(GetOutputFileTypes("Compiler", nullptr, &length), 1);
    EXPECT_EQ(GetEditOptionsSecondaryFileTypes(nullptr, &length), 1);
    EXPECT_EQ(GetInformationForDisplay("Compiler", "PHASE_START", 0, nullptr, &length), 1);
    EXPECT_EQ(ConvertOptionsForCommandLineDisplay("a", "b", "c", nullptr, &length), 1);
    EXPECT_EQ(length, 64);
}
