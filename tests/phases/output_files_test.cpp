// GetOutputFiles and GetLinkerInputFiles through the exports.
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "interface/quorle.h"
#include "step_fixture.h"

namespace fs = std::filesystem;
using quorle::testing::ScratchProject;

namespace {

// The entries of a returned list; "!" when the call failed.
std::vector<std::string> Outputs(ScratchProject& p, const char* phase, const std::string& options,
                                 int32_t* lengthOut = nullptr) {
    char buffer[4096];
    std::memset(buffer, 'x', sizeof buffer);
    int32_t length = sizeof buffer;
    int marker = 0;
    int result =
        GetOutputFiles(phase, &marker, &marker, options.c_str(), 0, buffer, &length, p.Info());
    if (lengthOut) *lengthOut = length;
    if (result != 0) return {"!"};
    std::vector<std::string> entries;
    for (const char* e = buffer; *e != '\0'; e += std::strlen(e) + 1) {
        // Compared with "/" separators, whatever the platform's full paths use.
        std::string entry = e;
        for (char& c : entry)
            if (c == '\\') c = '/';
        entries.push_back(entry);
    }
    EXPECT_EQ(buffer[length - 1], '\0');
    EXPECT_EQ(buffer[length], 'x');
    return entries;
}

std::string Full(const ScratchProject& p, const std::string& leaf) {
    return p.configDir + "/" + leaf;
}

} // namespace

TEST(OutputFiles, EmptyOptionsGiveTheEmptyListForAnyPhase) {
    ScratchProject p;
    int32_t length = 0;
    EXPECT_TRUE(Outputs(p, "No such phase", "", &length).empty());
    EXPECT_EQ(length, 2);
    QuorleProjectInfo bad = *p.Info();
    bad.size = 0;
    char buffer[8];
    int32_t capacity = 8;
    int marker = 0;
    EXPECT_EQ(GetOutputFiles("Compiler", &marker, &marker, "", 0, buffer, &capacity, &bad), 1);
    EXPECT_EQ(GetOutputFiles("Compiler", nullptr, &marker, "", 0, buffer, &capacity, p.Info()), 1);
}

TEST(OutputFiles, CompilerTypesFollowTheOutputKind) {
    ScratchProject p;
    EXPECT_EQ(Outputs(p, "Compiler", "[S|OBJPATH|\"obj\\main.o\"]"),
              std::vector<std::string>{Full(p, "obj/main.o") + "|Object file"});
    EXPECT_EQ(Outputs(p, "Compiler", "[S|OUTPUT|ASMCODE] [S|OBJPATH|\"main.s\"]"),
              std::vector<std::string>{Full(p, "main.s") + "|Assembly source file"});
    EXPECT_EQ(Outputs(p, "Compiler", "[S|OUTPUT|PREPROCESSOR] [S|OBJPATH|\"main.p\"]"),
              std::vector<std::string>{Full(p, "main.p") + "|Preprocessed C source file"});
    EXPECT_EQ(Outputs(p, "Compiler", "[S|OUTPUT|PREPROCESSOR] [S|OBJPATH|\"main.PP\"]"),
              std::vector<std::string>{Full(p, "main.PP") + "|Preprocessed C++ source file"});
    EXPECT_EQ(Outputs(p, "Compiler", "[S|OUTPUT|PREPROCESSORNOLINE] [S|OBJPATH|\"main.p\"]"),
              std::vector<std::string>{Full(p, "main.p") + "|Preprocessed C source file"});
    EXPECT_EQ(Outputs(p, "Compiler", "[S|OUTPUT|PREPROCESSOR] [S|OBJPATH|\"main.i\"]"),
              std::vector<std::string>{"!"});
    // A configuration directory that does not exist fails, length untouched.
    p.configDir += "/missing";
    int32_t length = 0;
    EXPECT_EQ(Outputs(p, "Compiler", "[S|OBJPATH|\"main.o\"]", &length),
              std::vector<std::string>{"!"});
    EXPECT_EQ(length, 4096);
}

TEST(OutputFiles, AssemblerAndGenerator) {
    ScratchProject p;
    EXPECT_EQ(Outputs(p, "GNU Assembler", "[S|OBJPATH|\"start\"]"),
              std::vector<std::string>{Full(p, "start.o") + "|Object file"});
    EXPECT_EQ(Outputs(p, "GNU Library Generator", "[S|OUTPUTPATH|\"libdemo.a\"]"),
              std::vector<std::string>{Full(p, "libdemo.a") + "|Archive file"});
}

TEST(OutputFiles, LinkerForms) {
    ScratchProject p;
    std::string out = "[S|OUTFILE|\"prog.x\"]";
    EXPECT_EQ(Outputs(p, "Linker", "[S|OUTFORM|DEFAULT] " + out),
              std::vector<std::string>{Full(p, "prog.x") + "|Absolute file"});
    EXPECT_EQ(Outputs(p, "Linker", "[S|OUTFORM|BOTH] " + out),
              (std::vector<std::string>{Full(p, "prog.mot") + "|S-Record file",
                                        Full(p, "prog.x") + "|Absolute file"}));
    EXPECT_EQ(Outputs(p, "Linker", "[S|FORM|LIBRARY|S] [S|OUTFILE|\"libp.a\"]"),
              std::vector<std::string>{Full(p, "libp.a")});
    // Only the extension changes, not a ".x" inside a directory name.
    fs::create_directories(p.configDir + "/a.xdir");
    EXPECT_EQ(Outputs(p, "Linker", "[S|OUTFORM|BOTH] [S|OUTFILE|\"a.xdir\\prog.x\"]"),
              (std::vector<std::string>{Full(p, "a.xdir/prog.mot") + "|S-Record file",
                                        Full(p, "a.xdir/prog.x") + "|Absolute file"}));
    EXPECT_EQ(Outputs(p, "Linker",
                      "[S|OUTFORM|DEFAULT] [B|DIVIDEOUTPUT|1] "
                      "[S|MULTIOUTPUT|\"one.x\"=A|\"two.x\"=B] " +
                          out),
              (std::vector<std::string>{Full(p, "one.x") + "|Absolute file",
                                        Full(p, "two.x") + "|Absolute file"}));
}

TEST(LinkerInputFiles, ObjectPathsAndTheLinkersOwnLists) {
    ScratchProject p;
    char buffer[512];
    int32_t length = sizeof buffer;
    int marker = 0;
    ASSERT_EQ(GetLinkerInputFiles("Compiler", "[S|OBJPATH|\"main.o\"]", &marker, buffer, &length,
                                  p.Info()),
              0);
    std::string path = buffer;
    for (char& c : path)
        if (c == '\\') c = '/';
    EXPECT_EQ(path, Full(p, "main.o"));
    EXPECT_EQ(static_cast<size_t>(length), Full(p, "main.o").size() + 1);

    length = sizeof buffer;
    std::string linker = "[S|ARCHIVE|libm.a*libc.a] [S|INPUT|\"a.o\"|\"b.o\"]";
    ASSERT_EQ(GetLinkerInputFiles("Linker", linker.c_str(), &marker, buffer, &length, p.Info()), 0);
    EXPECT_EQ(std::string(buffer, length), std::string("libm.a\0libc.a\0a.o\0b.o\0\0\0", 24));

    length = sizeof buffer;
    EXPECT_EQ(GetLinkerInputFiles("Debug", "", &marker, buffer, &length, p.Info()), 1);
    EXPECT_EQ(length, static_cast<int32_t>(sizeof buffer));
}

// A linker option string whose group text ends inside a group: each query
// answers as before and shows the reading's box once.
TEST(LinkerInputFiles, TheReadingsBoxComesWithEachAnswerOnce) {
    ScratchProject p;
    const std::string truncated = "[S|INPUT|\"a.o\"] [S|GROUPDET|.a|0|0||0||0|0|<<CEND>>|<<GEND>>|"
                                  ".g|0|0||0||0|0|0|.text|All-files]";
    const std::string box =
        "ERROR\tAn error occurred processing section groups.  Please inform us of this bug.\tOK";
    char buffer[512];
    int32_t length = sizeof buffer;
    int marker = 0;
    ASSERT_EQ(GetLinkerInputFiles("Linker", truncated.c_str(), &marker, buffer, &length, p.Info()),
              0);
    EXPECT_EQ(std::string(buffer, length), std::string("a.o\0\0\0", 6));
    EXPECT_EQ(p.MessageLines(), std::vector<std::string>{box});
    std::vector<std::string> outputs = Outputs(p, "Linker", truncated);
    ASSERT_EQ(outputs.size(), 1u);
    EXPECT_NE(outputs[0], "!");
    EXPECT_EQ(p.MessageLines(), (std::vector<std::string>{box, box}));
}
