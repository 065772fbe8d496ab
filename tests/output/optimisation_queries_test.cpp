// The optimisation and stack queries, through the exports.
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <string>

#include "interface/quorle.h"

namespace {

const std::string kLinkerOn =
    "[V|VERSION|2] [S|OUTFORM|DEFAULT] [S|OUTFILE|\"C:\\out\\prog.x\"] [B|OPTIMIZE|1]";
const std::string kLinkerOff =
    "[V|VERSION|2] [S|OUTFORM|DEFAULT] [S|OUTFILE|\"C:\\out\\prog.x\"] [B|OPTIMIZE|0]";

int32_t Mode(const char* phase, const std::string& options) {
    int32_t mode = -1;
    EXPECT_EQ(GetOptimisationMode(phase, options.c_str(), &mode), 0);
    return mode;
}

std::string Options(const char* phase, const std::string& options, int32_t request) {
    char buffer[2048];
    int32_t length = sizeof buffer;
    EXPECT_EQ(GetOptimisationOptions(phase, options.c_str(), request, buffer, &length), 0);
    EXPECT_EQ(static_cast<size_t>(length), std::strlen(buffer) + 1);
    return buffer;
}

} // namespace

TEST(OptimisationQueries, OnlyTheLinkerHasAnOptimisationMode) {
    EXPECT_EQ(Mode("OptLinker", kLinkerOn), 1);
    EXPECT_EQ(Mode("Linker", kLinkerOff), 0);
    EXPECT_EQ(Mode("Linker", "[V|VERSION|2]"), 0);
    for (const char* phase : {"GNU Compiler", "GNU Assembler", "GNU Library Generator", "Debug"})
        EXPECT_EQ(Mode(phase, "[B|OPTIMIZE|1]"), 0) << phase;
    int32_t mode = 0;
    EXPECT_EQ(GetOptimisationMode("Linker", nullptr, &mode), 1);
    EXPECT_EQ(GetOptimisationMode("Linker", "", nullptr), 1);
    EXPECT_EQ(GetOptimisationMode(nullptr, "", &mode), 1);
}

TEST(OptimisationQueries, RequestTwoClearsTheFlagAndOtherCodesKeepTheString) {
    std::string cleared = Options("OPTIMIZER", kLinkerOn, 2);
    EXPECT_EQ(cleared.find("B|OPTIMIZE|1"), std::string::npos);
    EXPECT_NE(cleared.find("[B|OPTIMIZE|0]"), std::string::npos);
    EXPECT_NE(cleared.find("[S|OUTFILE|\"C:\\out\\prog.x\"]"), std::string::npos);
    EXPECT_EQ(Mode("Linker", cleared), 0);
    // Flag off with request 1, unknown codes and other phases: byte for byte.
    std::string odd = kLinkerOff + "  [X|UNKNOWN|1]";
    EXPECT_EQ(Options("Linker", odd, 1), odd);
    EXPECT_EQ(Options("Linker", kLinkerOn, 7), kLinkerOn);
    EXPECT_EQ(Options("GNU Compiler", kLinkerOn, 2), kLinkerOn);
    EXPECT_EQ(Options("Nothing", kLinkerOn, 1), kLinkerOn);
}

TEST(OptimisationQueries, RequestOneMovesTheOutputIntoTheConfigurationDirectory) {
    auto started = std::chrono::steady_clock::now();
    std::string moved = Options("Linker", kLinkerOn, 1);
    EXPECT_GE(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(1900));
    EXPECT_NE(moved.find("[S|OUTFILE|\"$(CONFIGDIR)\\prog.x\"]"), std::string::npos) << moved;
    EXPECT_NE(moved.find("[B|OPTIMIZE|1]"), std::string::npos);
}

TEST(OptimisationQueries, BufferSizesOfTheStringForm) {
    int32_t length = 3;
    char buffer[8] = "xxxxxxx";
    EXPECT_EQ(GetOptimisationOptions("Compiler", "abc", 0, buffer, &length), 1);
    EXPECT_EQ(length, 4);
    EXPECT_EQ(buffer[0], 'x');
}

TEST(DependencyAndStackQueries, AlwaysEmptyLists) {
    char buffer[4];
    std::memset(buffer, 'x', sizeof buffer);
    int32_t length = 1;
    EXPECT_EQ(GetOptimisationDependency("Compiler", "[V|VERSION|2]", 2, buffer, &length), 1);
    EXPECT_EQ(length, 2);
    EXPECT_EQ(buffer[0], 'x');
    length = 2;
    EXPECT_EQ(GetOptimisationDependency("Linker", kLinkerOn.c_str(), 1, buffer, &length), 0);
    EXPECT_EQ(std::string(buffer, 3), std::string("\0\0x", 3));

    std::memset(buffer, 'x', sizeof buffer);
    length = 0;
    EXPECT_EQ(GetStackInformationFile(kLinkerOn.c_str(), buffer, &length), 1);
    EXPECT_EQ(length, 1);
    length = 1;
    EXPECT_EQ(GetStackInformationFile(kLinkerOn.c_str(), buffer, &length), 0);
    EXPECT_EQ(std::string(buffer, 2), std::string("\0x", 2));
    EXPECT_EQ(GetStackInformationFile(nullptr, buffer, &length), 1);
}
