// The stand-in GNU cross toolchain: its argument handling, and its programs
// run against the machine's own gcc, as, ld, ar and objcopy.
#include <gtest/gtest.h>

#include "support/temp_dir.h"
#include "support/test_files.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

#include "host/tool_run.h"
#include "host/toolchain_layout.h"
#include "platform/platform.h"
#include "tools/standin/libgen.h"
#include "tools/standin/standin_args.h"
#include "tools/standin/target_flags.h"
#include "tools/standin/target_profile.h"

namespace quorle::standin {
namespace {

namespace fs = std::filesystem;
using Args = std::vector<std::string>;

TEST(StandinArgs, ProgramNamesGiveTripletAndTool) {
    ProgramName n = ParseProgramName("/tc/corvo-elf/bin/corvo-elf-g++.exe");
    EXPECT_EQ(n.dir, "/tc/corvo-elf/bin");
    EXPECT_EQ(n.triplet, "corvo-elf");
    EXPECT_EQ(n.tool, "g++");
    EXPECT_EQ(ParseProgramName("zenta-elf-objcopy").tool, "objcopy");
    EXPECT_EQ(ParseProgramName("zenta-elf-objcopy").dir, "");
    EXPECT_EQ(ParseProgramName("quorle-standin").triplet, "");
}

TEST(StandinArgs, FamilyFlagsGoEverythingElseStays) {
    // CPU table flags (one row holds two), family extra options, byte order.
    EXPECT_EQ(DropTargetFlags(ToolKind::Compiler,
                              {"-c", "-mcv4x-dsp", "-ml", "-mpk3", "-mpkmac", "-mdalign",
                               "-mcpu=zn610", "-mint-register=0", "-nofpu", "-O2", "-mb", "-Wall",
                               "-Wa,--muse-conventional-section-names", "-o", "a.o"}),
              (Args{"-c", "-O2", "-Wall", "-o", "a.o"}));
    // A machine flag that merely looks alike is kept.
    EXPECT_EQ(DropTargetFlags(ToolKind::Compiler, {"-mgeneral-regs-only", "-march=x86-64"}),
              (Args{"-mgeneral-regs-only", "-march=x86-64"}));
    EXPECT_EQ(DropTargetFlags(ToolKind::Assembler,
                              {"a.s", "-little", "--m32bit-doubles", "--gdwarf2", "-o", "a.o"}),
              (Args{"a.s", "--gdwarf2", "-o", "a.o"}));
    EXPECT_EQ(DropTargetFlags(ToolKind::Linker, {"-T", "x.gsi", "-EL", "-mcorvolelf", "-relax",
                                                 "--oformat=elf32-zenta-be", "-o", "a.x"}),
              (Args{"-T", "x.gsi", "-o", "a.x"}));
    EXPECT_EQ(DropTargetFlags(ToolKind::ObjectCopier,
                              {"-I", "elf32-zenta-be-ns", "-O", "srec", "a.x", "a.mot"}),
              (Args{"-O", "srec", "a.x", "a.mot"}));
    EXPECT_EQ(DropTargetFlags(ToolKind::ObjectCopier, {"-I", "binary", "a", "b"}),
              (Args{"-I", "binary", "a", "b"}));
}

TEST(StandinArgs, ResponseFilesAndSeparators) {
    testing_support::TempDir temp("standin_args");
    fs::path dir = temp.Root();
    std::ofstream(dir / "inner.rsp") << "-DX=\"a\\b\"\n";
    std::ofstream(dir / "outer.rsp")
        << "-c -x c\r\n-I \"C:\\My Dir\"\n@" + (dir / "inner.rsp").generic_string() + "\n";
    std::string error;
    Args args = ExpandResponseFiles({"@" + (dir / "outer.rsp").generic_string(), "last"}, error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(args, (Args{"-c", "-x", "c", "-I", "C:\\My Dir", "-DX=a\\b", "last"}));
#if !defined(_WIN32)
    EXPECT_EQ(ToNativeSeparators(args),
              (Args{"-c", "-x", "c", "-I", "C:/My Dir", "-DX=a\\b", "last"}));
#endif
    ExpandResponseFiles({"@/no/such/file.rsp"}, error);
    EXPECT_NE(error.find("/no/such/file.rsp"), std::string::npos);
    fs::remove_all(dir);
}

TEST(StandinArgs, AMacroValueAfterALoneDKeepsItsBackslashes) {
#if !defined(_WIN32)
    EXPECT_EQ(ToNativeSeparators({"-D", "P=\"a\\b\"", "-I", "x\\y", "-DQ=c\\d"}),
              (Args{"-D", "P=\"a\\b\"", "-I", "x/y", "-DQ=c\\d"}));
#endif
}

TEST(StandinProfile, TheTableGivesToolsFlagsAndRefusals) {
    const TargetProfile* m3 = FindTargetProfile("cortex-m3");
    ASSERT_NE(m3, nullptr);
    EXPECT_EQ(FindTargetProfile("cortex-m33"), nullptr);
    EXPECT_EQ(RealTool("gcc", m3), "arm-none-eabi-gcc");
    EXPECT_EQ(RealTool("objcopy", m3), "arm-none-eabi-objcopy");
    EXPECT_EQ(RealTool("objcopy", nullptr), "objcopy");
    EXPECT_EQ(ProfileFlags(ToolKind::Compiler, *m3), (Args{"-mcpu=cortex-m3", "-mthumb"}));
    EXPECT_EQ(ProfileFlags(ToolKind::Assembler, *m3), (Args{"-mcpu=cortex-m3", "-mthumb"}));
    EXPECT_TRUE(ProfileFlags(ToolKind::Linker, *m3).empty());
    EXPECT_TRUE(ProfileFlags(ToolKind::ObjectCopier, *m3).empty());
    // Big-endian code is refused, naming the flag and the target.
    auto refused = RefusedArgument(ToolKind::Compiler, {"-c", "-mcv2", "-mb", "a.c"}, *m3);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->rfind("error: -mb ", 0), 0u) << *refused;
    EXPECT_NE(refused->find("cortex-m3 target is little-endian"), std::string::npos);
    EXPECT_TRUE(RefusedArgument(ToolKind::Linker, {"-EB", "-o", "a.x"}, *m3));
    EXPECT_FALSE(RefusedArgument(ToolKind::Compiler, {"-c", "-ml", "a.c"}, *m3));
    EXPECT_FALSE(RefusedArgument(ToolKind::ObjectCopier, {"-mb"}, *m3));
    // Every row runs one family's tool names, with flags of its own.
    std::vector<std::string> names;
    for (const TargetProfile& p : TargetProfiles()) {
        const auto& triplets = host::StandinTriplets();
        EXPECT_NE(std::find(triplets.begin(), triplets.end(), std::string(p.triplet)),
                  triplets.end())
            << p.name;
        EXPECT_EQ(p.toolPrefix.back(), '-') << p.name;
        EXPECT_FALSE(ProfileFlags(ToolKind::Compiler, p).empty()) << p.name;
        EXPECT_EQ(std::find(names.begin(), names.end(), std::string(p.name)), names.end());
        names.emplace_back(p.name);
    }
}

TEST(StandinArgs, ArchitectureLinesLeaveTheScript) {
    EXPECT_EQ(RemoveArchitecture("OUTPUT_ARCH(corvo)\nSECTIONS\n{\n}"), "SECTIONS\n{\n}");
    EXPECT_EQ(RemoveArchitecture("OUTPUT_ARCH(pelka2n)\r\nX"), "X");
    EXPECT_EQ(RemoveArchitecture("SECTIONS {}"), "SECTIONS {}");
    EXPECT_EQ(RemoveArchitecture("OUTPUT_ARCH(broken"), "OUTPUT_ARCH(broken");
}

TEST(StandinLibgen, SubcommandArgumentsAndSourceChoice) {
    std::string error;
    LibgenRequest r = ParseLibgenArguments(
        {"--compiler-options=-mcv2,,-O2", "--assembler-options=--m32bit-doubles",
         "--output=/w/Debug/libdemo.a", "--select-lib=optlib", "--header-files=ctype,math"},
        error);
    EXPECT_EQ(error, "");
    EXPECT_EQ(r.compilerOptions, (Args{"-mcv2", "-O2"}));
    EXPECT_EQ(r.assemblerOptions, (Args{"--m32bit-doubles"}));
    EXPECT_EQ(r.output, "/w/Debug/libdemo.a");
    EXPECT_EQ(r.library, "optlib");
    EXPECT_EQ(SourcesFor(r.headerGroups), (Args{"ctype.c", "math.c", "string.c"}));
    EXPECT_EQ(SourcesFor({}), (Args{"string.c"}));
    EXPECT_EQ(SourcesFor({"all"}).size(), 5u);
    ParseLibgenArguments({"--compiler-options="}, error);
    EXPECT_NE(error.find("--output="), std::string::npos);
    ParseLibgenArguments({"--output=x.a", "--select-lib=glibc"}, error);
    EXPECT_NE(error.find("glibc"), std::string::npos);
    ParseLibgenArguments({"--output=x.a", "--frob"}, error);
    EXPECT_NE(error.find("--frob"), std::string::npos);
}

// The tools themselves, laid out in a temporary installation directory.
class StandinTools : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::string binary = QUORLE_TEST_BINARY_DIR;
        bin_ = binary + "/bin";
        root_ = temp_.Root();
        std::string error;
        ASSERT_TRUE(host::LayOutToolchain((root_ / "tc").string(), bin_ + "/quorle-standin",
                                          binary + "/share/quorle-standin/libsrc", error))
            << error;
    }
    void TearDown() override {
        if (!root_.empty()) fs::remove_all(root_);
    }
    std::string Tool(const std::string& name) const {
        return (root_ / "tc" / "corvo-elf" / "bin" / ("corvo-elf-" + name + ".exe")).string();
    }
    platform::ProcessResult Run(const Args& args) const {
        platform::ProcessOptions options;
        options.timeoutMs = 60000;
        return platform::RunProcess(host::JoinCommandLine(args), options);
    }
    void Write(const std::string& name, const std::string& text) const {
        std::ofstream(root_ / name, std::ios::binary) << text;
    }
    std::string At(const std::string& name) const { return (root_ / name).generic_string(); }
    // The Windows form the plug-in writes.
    std::string Windows(const std::string& name) const {
        std::string p = At(name);
        std::replace(p.begin(), p.end(), '/', '\\');
        return p;
    }
    std::string bin_;
    testing_support::TempDir temp_{"standin_tools"};
    fs::path root_;
};

TEST_F(StandinTools, LayoutHasEveryToolAndDirectoryOfEveryFamily) {
    for (const std::string& t : host::StandinTriplets()) {
        for (const std::string& tool : host::StandinTools())
            EXPECT_TRUE(fs::exists(root_ / "tc" / t / "bin" / (t + "-" + tool + ".exe"))) << tool;
        for (const char* sub : {"include", "optlibinc", "lib", "libexec", "libgen/src/string.c"})
            EXPECT_TRUE(fs::exists(root_ / "tc" / t / sub)) << t << "/" << sub;
        EXPECT_TRUE(fs::is_directory(root_ / "tc" / t / t / "lib"));
        // Relative, so the tree still works when moved.
        fs::path link = root_ / "tc" / t / "bin" / (t + "-gcc.exe");
        if (fs::is_symlink(link)) {
            EXPECT_TRUE(fs::read_symlink(link).is_relative());
        }
    }
    std::string error;
    EXPECT_FALSE(host::LayOutToolchain(At("x"), At("missing-program"), At("."), error));
    EXPECT_NE(error.find("missing-program"), std::string::npos);
}

TEST_F(StandinTools, ATargetLayoutTakesOneFamilyAndNamesItsTarget) {
    const std::string binary = QUORLE_TEST_BINARY_DIR;
    const std::string program = bin_ + "/quorle-standin";
    const std::string sources = binary + "/share/quorle-standin/libsrc";
    std::string error;
    fs::path m3 = root_ / "m3";
    ASSERT_TRUE(host::LayOutToolchain(m3.string(), program, sources, error, "cortex-m3")) << error;
    EXPECT_TRUE(fs::exists(m3 / "corvo-elf" / "bin" / "corvo-elf-objcopy.exe"));
    EXPECT_TRUE(fs::exists(m3 / "corvo-elf" / "libgen" / "src" / "string.c"));
    EXPECT_FALSE(fs::exists(m3 / "pelka-elf"));
    EXPECT_EQ(testing_support::ReadBytes(m3 / "corvo-elf" / "standin-target"), "cortex-m3\n");
    // The target's libgcc for the profile's CPU, in the compiler library
    // directory, for links that ld drives.
    const fs::path libgcc = m3 / "corvo-elf" / "lib" / "gcc" / "corvo-elf" / "libgcc.a";
    EXPECT_NE(fs::read_symlink(libgcc).generic_string().find("/thumb/v7-m/"), std::string::npos)
        << fs::read_symlink(libgcc);
    ProgramName name = ParseProgramName((m3 / "corvo-elf" / "bin" / "corvo-elf-gcc.exe").string());
    EXPECT_EQ(ProfileOf(name, error), FindTargetProfile("cortex-m3"));
    EXPECT_EQ(error, "");
    // A file naming no known target stops the tool with a reason.
    std::ofstream(m3 / "corvo-elf" / "standin-target") << "cortex-z9\n";
    EXPECT_EQ(ProfileOf(name, error), nullptr);
    EXPECT_NE(error.find("cortex-z9"), std::string::npos);
    auto run = Run({(m3 / "corvo-elf" / "bin" / "corvo-elf-gcc.exe").string(), "--version"});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.output.find("corvo-elf-gcc: error:"), std::string::npos) << run.output;
    // Laid out again for the machine's tools, the layout names no target.
    ASSERT_TRUE(host::LayOutToolchain(m3.string(), program, sources, error)) << error;
    EXPECT_FALSE(fs::exists(m3 / "corvo-elf" / "standin-target"));
    EXPECT_FALSE(fs::exists(fs::symlink_status(libgcc)));
    EXPECT_TRUE(fs::exists(m3 / "pelka-elf"));
    EXPECT_EQ(ProfileOf(name, error), nullptr);
    EXPECT_EQ(error, "");
    EXPECT_FALSE(host::LayOutToolchain(m3.string(), program, sources, error, "cortex-z9"));
    EXPECT_NE(error.find("cortex-z9"), std::string::npos);
    EXPECT_EQ(host::TargetNames().front(), "cortex-m3");
}

TEST_F(StandinTools, CompilesAssemblesLinksAndConvertsWithTheMachineTools) {
    Write("a.c", "int value = 3;\nint twice(void) { return value * 2; }\n");
    Write("s.s", ".globl _start\n.text\n_start: call twice\n1: jmp 1b\n"
                 ".section .note.GNU-stack,\"\",@progbits\n");
    // A response file as PrePhase writes it: Windows paths, family flags.
    Write("a.gcc", "-c -x c\n-mcv2\n-ml\n-mdalign\n-O2\n\"" + Windows("a.c") + "\"\n-o \"" +
                       Windows("a.o") + "\"\n");
    auto cc = Run({Tool("gcc"), "@" + At("a.gcc")});
    ASSERT_EQ(cc.exitCode, 0) << cc.output;
    EXPECT_TRUE(fs::exists(root_ / "a.o"));

    auto as = Run({Tool("as"), Windows("s.s"), "-little", "-o", Windows("s.o")});
    ASSERT_EQ(as.exitCode, 0) << as.output;

    Write("x.gsi", "OUTPUT_ARCH(corvo)\nSECTIONS\n{\n\t.text 0x00001000 : AT (0x00001000)\n\t{\n"
                   "\t\t*(.text)\n\t}\n}");
    Write("in.tmp", "INPUT(\"" + At("s.o") + "\")\nINPUT(\"" + At("a.o") + "\")\n");
    auto ld = Run({Tool("ld"), "-T", Windows("x.gsi"), "-T", At("in.tmp"), "-EL", "-mcorvolelf",
                   "-o", Windows("a.x")});
    ASSERT_EQ(ld.exitCode, 0) << ld.output;
    auto nm = Run({"nm", At("a.x")});
    EXPECT_NE(nm.output.find("0000000000001000 T _start"), std::string::npos) << nm.output;

    auto conv = Run({Tool("objcopy"), "-O", "srec", Windows("a.x"), Windows("a.mot")});
    ASSERT_EQ(conv.exitCode, 0) << conv.output;
    auto back = Run({"objcopy", "-I", "srec", "-O", "binary", At("a.mot"), At("a.bin")});
    EXPECT_EQ(back.exitCode, 0) << back.output;

    // Errors of the machine's tools come back with their exit code.
    Write("bad.c", "int broken(void) { return }\n");
    auto bad = Run({Tool("gcc"), "-c", Windows("bad.c"), "-o", Windows("bad.o")});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.output.find("bad.c:1:"), std::string::npos) << bad.output;
    EXPECT_EQ(bad.output.find("^"), std::string::npos) << "no source excerpt: " << bad.output;
}

TEST_F(StandinTools, GccDrivingTheLinkGetsTheScriptWithoutItsArchitecture) {
    Write("s.s", ".globl _start\n.text\n_start: jmp _start\n"
                 ".section .note.GNU-stack,\"\",@progbits\n");
    auto as = Run({Tool("as"), Windows("s.s"), "-o", Windows("s.o")});
    ASSERT_EQ(as.exitCode, 0) << as.output;
    Write("x.gsi", "OUTPUT_ARCH(corvo)\nSECTIONS\n{\n\t.text 0x00002000 : AT (0x00002000)\n\t{\n"
                   "\t\t*(.text)\n\t}\n}");
    auto link = Run({Tool("gcc"), "-nostdlib", "-nostartfiles", "-no-pie", "-T", Windows("x.gsi"),
                     Windows("s.o"), "-o", Windows("g.x")});
    ASSERT_EQ(link.exitCode, 0) << link.output;
    auto nm = Run({"nm", At("g.x")});
    EXPECT_NE(nm.output.find("0000000000002000 T _start"), std::string::npos) << nm.output;
}

TEST_F(StandinTools, LibraryGeneratorBuildsTheSelectedGroups) {
    Write("lib.glg", "--compiler-options=-mcv2,-O2,-fno-pie\n--output=\"" + Windows("libx.a") +
                         "\"\n--select-lib=newlib\n--header-files=ctype,string\n");
    auto gen = Run({Tool("libgen"), "@" + At("lib.glg")});
    ASSERT_EQ(gen.exitCode, 0) << gen.output;
    auto members = Run({"ar", "t", At("libx.a")});
    EXPECT_NE(members.output.find("string.o"), std::string::npos) << members.output;
    EXPECT_NE(members.output.find("ctype.o"), std::string::npos) << members.output;
    EXPECT_EQ(members.output.find("math.o"), std::string::npos) << members.output;
    auto symbols = Run({"nm", At("libx.a")});
    EXPECT_NE(symbols.output.find("T memcpy"), std::string::npos);
    EXPECT_NE(symbols.output.find("T toupper"), std::string::npos);

    Write("bad.glg", "--compiler-options=-fno-such-flag\n--output=\"" + Windows("liby.a") + "\"\n");
    auto bad = Run({Tool("libgen"), "@" + At("bad.glg")});
    EXPECT_NE(bad.exitCode, 0);
    EXPECT_NE(bad.output.find("error"), std::string::npos) << bad.output;
    EXPECT_FALSE(fs::exists(root_ / "liby.a"));
}

} // namespace
} // namespace quorle::standin
