// PostPhase with a real ar and objcopy (the machine's own, linked in as the
// family's tools) rather than the stand-in, which would mend the paths
// itself: what the plug-in hands them must open as it stands.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "interface/quorle.h"
#include "platform/platform.h"
#include "step_fixture.h"

namespace fs = std::filesystem;
using namespace quorle;
using quorle::testing::ScratchProject;

namespace {

#if !defined(_WIN32)

std::string OnPath(const std::string& program) {
    std::string path = platform::GetEnv("PATH").value_or("");
    size_t start = 0;
    while (start <= path.size()) {
        size_t colon = path.find(':', start);
        if (colon == std::string::npos) colon = path.size();
        fs::path candidate = fs::path(path.substr(start, colon - start)) / program;
        if (fs::is_regular_file(candidate)) return candidate.string();
        start = colon + 1;
    }
    return {};
}

int Post(ScratchProject& p, const char* phase, const std::string& options) {
    return PostPhase(phase, "", "", options.c_str(), "", 0, "@\"x\"", 0, p.Info());
}

std::string Windows(std::string path) {
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

TEST(PostPhaseWithRealTools, ArchiveAndSRecordsThroughTheMachinesTools) {
    const std::string ar = OnPath("ar"), objcopy = OnPath("objcopy"), gcc = OnPath("gcc");
    if (ar.empty() || objcopy.empty() || gcc.empty()) GTEST_SKIP() << "no ar, objcopy or gcc";
    ScratchProject p;
    fs::path bin = fs::path(p.toolchainDir) / "corvo-elf" / "bin";
    fs::create_directories(bin);
    fs::create_symlink(ar, bin / "corvo-elf-ar.exe");
    fs::create_symlink(objcopy, bin / "corvo-elf-objcopy.exe");
    p.WriteText(p.root + "/main.c", "int answer(void) { return 42; }\n");
    platform::ProcessOptions run;
    run.timeoutMs = 60000;
    auto compiled =
        platform::RunProcess(gcc + " -c " + p.root + "/main.c -o " + p.configDir + "/main.o", run);
    ASSERT_EQ(compiled.exitCode, 0) << compiled.output;

    // The archive is "<config>\demo.a", the object as the options name it.
    std::string object = Windows(p.configDir + "/main.o");
    EXPECT_EQ(Post(p, "Compiler", "[S|PROJECTTYPE|LIBPROJECT] [S|OBJPATH|\"" + object + "\"]"), 0)
        << p.ReadBytes(p.root + "/messages.log");
    ASSERT_TRUE(fs::exists(p.configDir + "/demo.a"));
    EXPECT_NE(platform::RunProcess(ar + " t " + p.configDir + "/demo.a", run).output.find("main.o"),
              std::string::npos);

    // "<config>\demo.x" becomes "<config>\demo.mot".
    fs::copy_file(p.configDir + "/main.o", p.configDir + "/demo.x");
    EXPECT_EQ(Post(p, "Linker", "[S|OUTFORM|BOTH]"), 0) << p.ReadBytes(p.root + "/messages.log");
    EXPECT_EQ(p.ReadBytes(p.configDir + "/demo.mot").substr(0, 2), "S0");
    EXPECT_TRUE(p.MessageLines().empty());

    // A tool that fails says why, after the step's own message.
    fs::remove(p.configDir + "/demo.x");
    EXPECT_EQ(Post(p, "Linker", "[S|OUTFORM|BOTH]"), 1);
    auto lines = p.MessageLines();
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0].rfind("ERROR\tError during mot file creation -- failed\\n", 0), 0u)
        << lines[0];
    EXPECT_NE(lines[0].find("demo.x"), std::string::npos) << lines[0];
    EXPECT_NE(lines[0].find("No such file"), std::string::npos) << lines[0];
}

#endif

} // namespace
