// Real gcc output, made by the stand-in toolchain, through the plug-in's
// classification: notes, context lines and source excerpts count nothing,
// so a compile gcc finished with warnings only is no failure, and each
// real error counts once, with carets shown or not.
#include <gtest/gtest.h>
#include <memory>

#include "host/diagnostics.h"
#include "host/plugin.h"
#include "host/plugin_calls.h"
#include "host/project_context.h"
#include "host/tool_run.h"
#include "host/toolchain_layout.h"
#include "platform/platform.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

namespace quorle::host {
namespace {

namespace fs = std::filesystem;

struct Totals {
    int errors = 0; // errors and fatal errors, as the host counts them
    int warnings = 0;
    int notes = 0; // lines shown as messages that count nothing
};

class GccOutput : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        temp_ = std::make_unique<testing_support::TempDir>("gcc_output");
        root_ = temp_->Root();
        std::string error;
        const std::string binary = QUORLE_TEST_BINARY_DIR;
        ASSERT_TRUE(LayOutToolchain((root_ / "tc").string(), binary + "/bin/quorle-standin",
                                    binary + "/share/quorle-standin/libsrc", error))
            << error;
        plugin_ = new Plugin();
        ASSERT_TRUE(plugin_->Load(binary + "/lib/libquorle.so", error)) << error;
    }
    static void TearDownTestSuite() {
        delete plugin_;
        temp_.reset();
    }

    // Each line of a compile's output with the plug-in's reading of it.
    std::vector<std::pair<std::string, LineInfo>> Classified(const std::string& output) {
        PluginCalls calls(plugin_->api());
        Workspace ws;
        Project project;
        project.name = "p";
        Configuration config{"DEBUG", root_.string()};
        ProjectContext context(ws, project, config, root_.string(), root_.string());
        std::vector<std::pair<std::string, LineInfo>> lines;
        for (const std::string& line : OutputLines(output)) {
            auto info = calls.OutputLineInfo("GNU Compiler", line, context.info());
            EXPECT_TRUE(info.has_value()) << line;
            if (info) lines.emplace_back(line, *info);
        }
        return lines;
    }

    // Compiles `source` (a file name decides C or C++) and classifies every line.
    Totals Compile(const std::string& name, const std::string& text, bool caret,
                   std::string* output = nullptr) {
        std::ofstream(root_ / name) << text;
        bool cpp = name.size() > 4 && name.substr(name.size() - 4) == ".cpp";
        std::string tool = (root_ / "tc/corvo-elf/bin").string() +
                           (cpp ? "/corvo-elf-g++.exe" : "/corvo-elf-gcc.exe");
        std::vector<std::string> args{
            tool, "-Wall", "-c", (root_ / name).string(), "-o", (root_ / (name + ".o")).string()};
        if (caret) args.push_back("-fdiagnostics-show-caret");
        platform::ProcessOptions options;
        options.timeoutMs = 60000;
        auto run = platform::RunProcess(JoinCommandLine(args), options);
        EXPECT_TRUE(run.started);
        if (output != nullptr) *output = run.output;
        Totals totals;
        for (const auto& [line, lineInfo] : Classified(run.output)) {
            const LineInfo* info = &lineInfo;
            totals.errors += ErrorsOf(*info);
            totals.warnings += info->warnings;
            if (info->isMessage && info->errors + info->warnings + info->fatals == 0)
                ++totals.notes;
        }
        return totals;
    }

    static std::unique_ptr<testing_support::TempDir> temp_;
    static fs::path root_;
    static Plugin* plugin_;
};

std::unique_ptr<testing_support::TempDir> GccOutput::temp_;
fs::path GccOutput::root_;
Plugin* GccOutput::plugin_ = nullptr;

TEST_F(GccOutput, WarningsWithNotesAndIncludeChainsAreNoErrors) {
    std::ofstream(root_ / "noisy.h") << "static int twice(int v) { int spare; return v + v; }\n";
    const std::string source = "#include \"noisy.h\"\n"
                               "#define DECLARE int spare_value = 1\n"
                               "int f(int a) { DECLARE; return twice(a); }\n";
    for (bool caret : {false, true}) {
        SCOPED_TRACE(caret ? "carets" : "no carets");
        std::string output;
        Totals t = Compile("macro.c", source, caret, &output);
        ASSERT_NE(output.find("note: in expansion of macro"), std::string::npos) << output;
        ASSERT_NE(output.find("In file included from"), std::string::npos) << output;
        EXPECT_EQ(t.errors, 0) << output;
        EXPECT_EQ(t.warnings, 2) << output;
        EXPECT_GE(t.notes, 2) << output;
    }
}

TEST_F(GccOutput, EachRealErrorCountsOnce) {
    const std::string undeclared = "int g(void) { return undeclared_thing; }\n";
    const std::string templ = "template <typename T> struct Box { T value;\n"
                              "  int get() { return value.size(); } };\n"
                              "int use() { Box<int> b{1}; return b.get(); }\n";
    for (bool caret : {false, true}) {
        SCOPED_TRACE(caret ? "carets" : "no carets");
        std::string output;
        Totals t = Compile("undeclared.c", undeclared, caret, &output);
        ASSERT_NE(output.find("note: each undeclared identifier"), std::string::npos) << output;
        EXPECT_EQ(t.errors, 1) << output;
        t = Compile("chain.cpp", templ, caret, &output);
        ASSERT_NE(output.find("required from here"), std::string::npos) << output;
        EXPECT_EQ(t.errors, 1) << output;
    }
    // Source excerpts and carets never change the count.
    std::string plain, carets;
    Totals a = Compile("missing.c", "#include \"no_such_header.h\"\n", false, &plain);
    Totals b = Compile("missing.c", "#include \"no_such_header.h\"\n", true, &carets);
    EXPECT_NE(carets.find(" | "), std::string::npos) << carets;
    EXPECT_EQ(a.errors, 1) << plain;
    EXPECT_EQ(a.errors, b.errors) << plain << carets;
}

// A missing header is one fatal error, shown in gcc's words; the line gcc
// ends with, "compilation terminated.", counts nothing.
TEST_F(GccOutput, AMissingHeaderIsOneFatalErrorShownAsGccWroteIt) {
    std::string output;
    Totals t = Compile("nohdr.c", "#include \"gone.h\"\nint x;\n", true, &output);
    ASSERT_NE(output.find("compilation terminated."), std::string::npos) << output;
    EXPECT_EQ(t.errors, 1) << output;
    std::vector<std::string> shown;
    for (const auto& [line, lineInfo] : Classified(output)) {
        const LineInfo* info = &lineInfo;
        if (line == "compilation terminated.") {
            EXPECT_EQ(ErrorsOf(*info), 0) << "the fatal error before it was counted";
        }
        std::string text = FormatLine(*info, line, {root_.generic_string(), "", false});
        if (!text.empty()) shown.push_back(text);
    }
    ASSERT_GE(shown.size(), 3u) << output;
    EXPECT_EQ(shown[0], "nohdr.c:1:10: fatal error: gone.h: No such file or directory") << output;
    // The excerpt and its caret follow the message, as gcc printed them.
    std::vector<std::string> raw = OutputLines(output);
    ASSERT_EQ(raw.size(), shown.size()) << output;
    EXPECT_EQ(std::vector<std::string>(shown.begin() + 1, shown.end()),
              std::vector<std::string>(raw.begin() + 1, raw.end()));
    EXPECT_NE(shown[1].find("1 | #include \"gone.h\""), std::string::npos) << output;
    EXPECT_NE(shown[2].find("^~~~~~~~"), std::string::npos) << output;
    EXPECT_EQ(shown.back(), "compilation terminated.");
}

// A preprocessed source (distcc sends one, with the macros -g3 keeps)
// defines gcc's own macros again: the warning names "<built-in>", which is
// no file, and is shown as gcc wrote it; its note counts nothing.
TEST_F(GccOutput, WarningsOnBuiltInMacrosAreShownAsGccWroteThem) {
    std::string output;
    Totals t = Compile("again.c",
                       "# 1 \"<built-in>\"\n#define __STDC_HOSTED__ 0\n# 1 \"again.c\"\nint x;\n",
                       false, &output);
    ASSERT_NE(output.find("<built-in>: note:"), std::string::npos) << output;
    EXPECT_EQ(t.errors, 0) << output;
    EXPECT_EQ(t.warnings, 1) << output;
    for (const auto& [line, lineInfo] : Classified(output)) {
        const LineInfo* info = &lineInfo;
        // Shown from the configuration's folder, the name is still not joined to it.
        EXPECT_EQ(FormatLine(*info, line,
                             {root_.generic_string(), (root_ / "Debug").generic_string(), false}),
                  line);
    }
}

} // namespace
} // namespace quorle::host
