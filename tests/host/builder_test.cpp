// The build driver against a scripted plug-in: calls into the plug-in never
// overlap and stay on the builder's thread while tools run in parallel, a
// failing step stops the phases after it, and tool output is counted the way
// the plug-in classifies it.
#include <gtest/gtest.h>
#include <memory>

#include "support/captured_file.h"
#include "support/temp_dir.h"
#include "support/test_files.h"

#include <atomic>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <mutex>
#include <thread>

#include "host/build_plan.h"
#include "host/builder.h"
#include "host/project_context.h"
#include "host/text_list.h"

namespace quorle::host {
namespace {

namespace fs = std::filesystem;

// What the scripted plug-in saw.
struct Record {
    std::thread::id owner;
    std::atomic<int> inside{0};
    std::atomic<bool> overlapped{false};
    std::atomic<bool> foreignThread{false};
    std::mutex mutex;
    std::vector<std::string> prePhases;  // file of each PrePhase, in call order
    std::vector<std::string> linkInputs; // the linker's input list
    std::vector<std::string> postPhases;
    std::string configDir;
};
Record* gRecord = nullptr;

struct CallGuard {
    CallGuard() {
        if (++gRecord->inside > 1) gRecord->overlapped = true;
        if (std::this_thread::get_id() != gRecord->owner) gRecord->foreignThread = true;
        // Give an overlapping call the chance to show itself.
        std::this_thread::sleep_for(std::chrono::microseconds(200));
    }
    ~CallGuard() { --gRecord->inside; }
};

int CopyList(const std::string& text, char* buffer, int32_t* length) {
    *length = static_cast<int32_t>(text.size());
    if (static_cast<size_t>(*length) > 0x7fffffff) return 1;
    std::memcpy(buffer, text.data(), text.size());
    return 0;
}

bool EndsWith(const char* text, const char* suffix) {
    size_t a = std::strlen(text), b = std::strlen(suffix);
    return a >= b && std::strcmp(text + a - b, suffix) == 0;
}

int QUORLE_CALL PhaseInfo(const char* phase, char* buffer, int32_t* length) {
    CallGuard guard;
    if (EndsWith(phase, "Compiler"))
        return CopyList(std::string("MULTIPLE\0COMPILE\0ON\0\0", 21), buffer, length);
    return CopyList(std::string("SINGLE\0LINK\0ON\0\0", 16), buffer, length);
}
int QUORLE_CALL InputTypes(const char* phase, char* buffer, int32_t* length) {
    CallGuard guard;
    if (EndsWith(phase, "Compiler"))
        return CopyList(std::string("C source file\0\0", 15), buffer, length);
    return CopyList(std::string("Object file\0\0", 13), buffer, length);
}
int QUORLE_CALL Extensions(char* buffer, int32_t* length) {
    CallGuard guard;
    return CopyList(std::string("C source file|TEXT|C\0Object file|BIN|OBJ\0\0", 42), buffer,
                    length);
}
int QUORLE_CALL Defaults(const char*, const char*, const char*, char* buffer, int32_t* length) {
    CallGuard guard;
    static const char options[] = "[V|VERSION|2]";
    *length = sizeof options;
    std::memcpy(buffer, options, sizeof options);
    return 0;
}
// One object per source, named by the $(FILELEAF) the host expanded.
int QUORLE_CALL Outputs(const char* phase, const void*, const void*, const char* options, int32_t,
                        char* buffer, int32_t* length, const QuorleProjectInfo* info) {
    CallGuard guard;
    std::string leaf = std::string(options).substr(std::strlen("[V|VERSION|2] "));
    std::string list = std::string(info->configDir) + "/" + leaf +
                       (EndsWith(phase, "Compiler") ? ".o|Object file" : ".x|Absolute file");
    list += '\0';
    list += '\0';
    *length = static_cast<int32_t>(list.size());
    if (*length > 4096) return 1;
    std::memcpy(buffer, list.data(), list.size());
    return 0;
}
int QUORLE_CALL Dependencies(const char*, const char*, const char*, const char*, const char*,
                             int32_t, char** result, const void*, const void*, const void*,
                             const void*, const QuorleProjectInfo*,
                             const QuorleDependencyRequest*) {
    CallGuard guard;
    *result = static_cast<char*>(std::calloc(2, 1));
    return 0;
}
void QUORLE_CALL Free(void* block) {
    std::free(block);
}
int QUORLE_CALL Pre(const char* phase, const char* inputList, const void*, const char* options,
                    const char*, int32_t* ready, char* command, char* directory,
                    const QuorleProjectInfo* info, int32_t) {
    CallGuard guard;
    std::string leaf = std::string(options).substr(std::strlen("[V|VERSION|2] "));
    {
        std::lock_guard<std::mutex> lock(gRecord->mutex);
        gRecord->prePhases.push_back(leaf);
        if (!EndsWith(phase, "Compiler"))
            for (const char* p = inputList; *p != '\0'; p += std::strlen(p) + 1)
                gRecord->linkInputs.push_back(fs::path(p).filename().string());
    }
    std::string sub = std::string(info->configDir) + "/" + leaf + ".sub";
    std::ofstream(sub) << "-o \"" << leaf << ".o\"\n" << inputList << "\n";
    std::string cmd = "@\"" + sub + "\"";
    std::strcpy(command, cmd.c_str());
    std::strcpy(directory, info->configDir);
    *ready = 1;
    return 0;
}
int QUORLE_CALL Post(const char*, const char*, const char*, const char* options, const char*,
                     intptr_t, const char*, int32_t, const QuorleProjectInfo*) {
    CallGuard guard;
    std::lock_guard<std::mutex> lock(gRecord->mutex);
    gRecord->postPhases.push_back(std::string(options).substr(std::strlen("[V|VERSION|2] ")));
    return 0;
}
// "E:" lines are errors, "W:" lines warnings, anything else no message.
int QUORLE_CALL LineInfo(const char*, intptr_t, intptr_t, intptr_t, const char* line,
                         int32_t* errors, int32_t* warnings, int32_t* fatals, char* buffer,
                         int32_t* length, int32_t* isMessage, const QuorleProjectInfo*) {
    CallGuard guard;
    *errors = std::strncmp(line, "E:", 2) == 0;
    *warnings = std::strncmp(line, "W:", 2) == 0;
    *fatals = 0;
    *isMessage = *errors || *warnings;
    std::string record = std::string("a.c|3||") + (line[0] != '\0' ? line + 1 : "");
    record += '\0';
    *length = static_cast<int32_t>(record.size());
    std::memcpy(buffer, record.data(), record.size());
    return 0;
}
int QUORLE_CALL Display(const char*, const char*, intptr_t, char* buffer, int32_t* length) {
    CallGuard guard;
    *length = 1;
    buffer[0] = '\0';
    return 0;
}

PluginApi ScriptedApi() {
    PluginApi api;
    api.GetBuildPhaseInformation = PhaseInfo;
    api.GetInputFileTypes = InputTypes;
    api.GetSupportedFileExtensions = Extensions;
    api.GetDefaultOptions = Defaults;
    api.GetOutputFiles = Outputs;
    api.GetFileDependencies = Dependencies;
    api.FreeSimpleType = Free;
    api.PrePhase = Pre;
    api.PostPhase = Post;
    api.GetOutputLineInfo = LineInfo;
    api.GetInformationForDisplay = Display;
    return api;
}

// A tool that succeeds and writes what a compile or the link would.
platform::ProcessResult WriteOutputs(const ToolRun& run) {
    std::string leaf = run.commandLine.substr(run.commandLine.find("-o ") + 3);
    std::ofstream(fs::path(run.workDir) / leaf.substr(0, leaf.find(' ')));
    std::ofstream(fs::path(run.workDir) / "app.x");
    platform::ProcessResult r;
    r.started = true;
    r.exitCode = 0;
    return r;
}

Builder::Settings Quiet() {
    Builder::Settings settings;
    settings.out = nullptr;
    return settings;
}

class BuilderTest : public ::testing::Test {
  protected:
    void SetUp() override {
        record_ = std::make_unique<Record>();
        record_->owner = std::this_thread::get_id();
        gRecord = record_.get();
        root_ = temp_.Root();
        fs::create_directories(root_ / "tc" / "corvo-elf" / "bin");
        for (const char* tool : {"gcc", "ld"})
            std::ofstream(root_ / "tc" / "corvo-elf" / "bin" /
                          (std::string("corvo-elf-") + tool + ".exe"));
        ws_.dir = root_.generic_string();
        ws_.toolchainName = "Dravik GNUCORVO [ELF]";
        ws_.toolchainDir = (root_ / "tc").generic_string();
        ws_.phases = {"GNU Linker", "GNU Compiler"}; // build order comes from the plug-in
        Project p;
        p.name = "app";
        p.dir = root_.generic_string();
        p.configurations = {{"DEBUG", "Debug"}};
        for (const char* f : {"a.c", "b.c", "c.c", "d.c", "e.c", "f.c", "ready.obj"}) {
            p.files.push_back(f);
            std::ofstream(root_ / f) << "int x;\n";
        }
        p.options.push_back({"Compiler", "", "", "", "[V|VERSION|2] $(FILELEAF)"});
        p.options.push_back({"Linker", "", "", "", "[V|VERSION|2] $(PROJECTNAME)"});
        ws_.projects.push_back(p);
        context_ = std::make_unique<ProjectContext>(ws_, ws_.projects[0],
                                                    ws_.projects[0].configurations[0],
                                                    root_.generic_string(), root_.generic_string());
        fs::create_directories(context_->configDir());
        record_->configDir = context_->configDir();
    }
    void TearDown() override {
        gRecord = nullptr;
        fs::remove_all(root_);
    }

    PluginApi api_ = ScriptedApi();
    std::unique_ptr<Record> record_;
    testing_support::TempDir temp_{"builder"};
    fs::path root_;
    Workspace ws_;
    std::unique_ptr<ProjectContext> context_;
};

TEST_F(BuilderTest, PluginCallsStayOnOneThreadWhileToolsRunInParallel) {
    PluginCalls calls(api_);
    std::string error;
    auto plan = MakeBuildPlan(calls, *context_, error);
    ASSERT_TRUE(plan) << error;
    ASSERT_EQ(plan->phases.size(), 2u);
    EXPECT_TRUE(plan->phases[0].Compiles());
    EXPECT_EQ(plan->steps.size(), 7u);
    // Each stored text is held once, however many files it serves, and
    // every step gets its own expansion of it.
    EXPECT_EQ(plan->optionTexts.size(), 2u);
    EXPECT_EQ(plan->OptionsOf(plan->steps[0], *context_), "[V|VERSION|2] a");
    EXPECT_EQ(plan->OptionsOf(plan->steps[1], *context_), "[V|VERSION|2] b");
    EXPECT_EQ(plan->OptionsOf(plan->steps.back(), *context_), "[V|VERSION|2] app");
    EXPECT_NE(plan->steps[0].optionsHash, plan->steps[1].optionsHash);

    std::atomic<int> running{0}, peak{0};
    std::vector<std::string> commandLines;
    std::mutex linesMutex;
    auto tool = [&](const ToolRun& run) {
        const std::string& line = run.commandLine;
        const std::string& dir = run.workDir;
        int now = ++running;
        int old = peak.load();
        while (now > old && !peak.compare_exchange_weak(old, now)) {
        }
        {
            std::lock_guard<std::mutex> lock(linesMutex);
            commandLines.push_back(line);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(30));
        // Each object appears as the real tool would write it.
        std::string leaf = line.substr(line.find("-o ") + 3);
        leaf = leaf.substr(0, leaf.find(' '));
        std::ofstream(fs::path(dir) / leaf);
        std::ofstream(fs::path(dir) / "app.x");
        --running;
        platform::ProcessResult r;
        r.started = true;
        r.exitCode = 0;
        r.output = leaf == "c.o" ? "W: careful\nplain line\n" : "";
        return r;
    };
    BuildState state;
    Builder::Settings settings;
    settings.jobs = 3;
    settings.out = nullptr;
    Builder builder(calls, *context_, *plan, state, settings, tool);
    EXPECT_TRUE(builder.Run());
    EXPECT_FALSE(record_->overlapped);
    EXPECT_FALSE(record_->foreignThread);
    EXPECT_GT(peak.load(), 1);
    EXPECT_LE(peak.load(), 3);
    EXPECT_EQ(builder.totals().run, 7);
    EXPECT_EQ(builder.totals().warnings, 1);
    EXPECT_EQ(builder.totals().errors, 0);
    // The link comes last, after every compile has finished.
    ASSERT_EQ(record_->postPhases.size(), 7u);
    EXPECT_EQ(record_->prePhases.back(), "app");
    EXPECT_EQ(record_->postPhases.back(), "app");
    // The linker gets every object, the project's own ready-made one included.
    std::sort(record_->linkInputs.begin(), record_->linkInputs.end());
    EXPECT_EQ(record_->linkInputs,
              (std::vector<std::string>{"a.o|Object file", "b.o|Object file", "c.o|Object file",
                                        "d.o|Object file", "e.o|Object file", "f.o|Object file",
                                        "ready.obj|Object file"}));
    // The tool is the family's gcc, its arguments those of the sub-command file.
    ASSERT_FALSE(commandLines.empty());
    EXPECT_NE(commandLines.front().find("corvo-elf-gcc.exe -o "), std::string::npos)
        << commandLines.front();

    // Nothing changed: nothing runs again.
    Builder again(calls, *context_, *plan, state, settings, tool);
    EXPECT_TRUE(again.Run());
    EXPECT_EQ(again.totals().run, 0);
    EXPECT_EQ(again.totals().upToDate, 7);
}

TEST_F(BuilderTest, AFailedCompileStopsBeforeTheLinkAndIsBuiltAgainNextTime) {
    PluginCalls calls(api_);
    std::string error;
    auto plan = MakeBuildPlan(calls, *context_, error);
    ASSERT_TRUE(plan) << error;
    bool broken = true;
    auto tool = [&broken](const ToolRun& run) {
        const std::string& line = run.commandLine;
        const std::string& dir = run.workDir;
        platform::ProcessResult r;
        r.started = true;
        std::string leaf = line.substr(line.find("-o ") + 3);
        leaf = leaf.substr(0, leaf.find(' '));
        if (broken && leaf == "b.o") {
            r.exitCode = 1;
            r.output = "E: b.c is broken\n";
            return r;
        }
        if (broken && leaf == "d.o") {
            r.exitCode = 2; // a failure without any line the plug-in calls an error
            return r;
        }
        std::ofstream(fs::path(dir) / leaf);
        std::ofstream(fs::path(dir) / "app.x");
        r.exitCode = 0;
        return r;
    };
    BuildState state;
    Builder::Settings settings;
    settings.jobs = 2;
    settings.out = nullptr;
    Builder first(calls, *context_, *plan, state, settings, tool);
    EXPECT_FALSE(first.Run());
    EXPECT_EQ(first.totals().errors, 2);
    // Every compile ran (the phase finishes), the link did not.
    EXPECT_EQ(record_->prePhases.size(), 6u);
    EXPECT_EQ(std::count(record_->prePhases.begin(), record_->prePhases.end(), "app"), 0);
    EXPECT_EQ(std::count(record_->postPhases.begin(), record_->postPhases.end(), "b"), 0)
        << "no PostPhase after a failed tool";

    broken = false;
    record_->prePhases.clear();
    Builder second(calls, *context_, *plan, state, settings, tool);
    EXPECT_TRUE(second.Run());
    std::sort(record_->prePhases.begin(), record_->prePhases.end());
    EXPECT_EQ(record_->prePhases, (std::vector<std::string>{"app", "b", "d"}));
}

TEST_F(BuilderTest, AToolThatCouldNotStartIsNamedWithTheSystemsReason) {
    PluginCalls calls(api_);
    std::string error;
    auto plan = MakeBuildPlan(calls, *context_, error);
    ASSERT_TRUE(plan) << error;
    auto tool = [](const ToolRun& run) {
        platform::ProcessResult r;
        std::string leaf = run.commandLine.substr(run.commandLine.find("-o ") + 3);
        leaf = leaf.substr(0, leaf.find(' '));
        if (leaf == "b.o") {
            r.output = "CreateProcess failed: Access denied (5)";
            return r;
        }
        std::ofstream(fs::path(run.workDir) / leaf);
        r.started = true;
        r.exitCode = 0;
        return r;
    };
    CapturedFile out;
    ASSERT_NE(out.file(), nullptr);
    BuildState state;
    Builder::Settings settings;
    settings.out = out.file();
    Builder builder(calls, *context_, *plan, state, settings, tool);
    EXPECT_FALSE(builder.Run());
    const std::string text = out.Text();
    EXPECT_NE(text.find("FAILED: "), std::string::npos) << text;
    EXPECT_NE(text.find("b.c: error: the tool could not be started (CreateProcess failed: Access "
                        "denied (5))"),
              std::string::npos)
        << text;
}

// The plan looks at every input and output once to check where outputs go;
// a build given those times asks the file system for nothing more, and
// decides as it would have without them.
TEST_F(BuilderTest, TimesThePlanFoundSpareTheCheckItsLookups) {
    PluginCalls calls(api_);
    auto tool = &WriteOutputs;
    BuildState state;
    Builder::Settings settings = Quiet();
    auto build = [&](bool useTimes) {
        std::string error;
        auto plan = MakeBuildPlan(calls, *context_, error);
        EXPECT_TRUE(plan) << error;
        if (!plan) return std::pair<BuildTotals, size_t>{};
        Builder builder(calls, *context_, *plan, state, settings, tool);
        if (useTimes) builder.UseTimesFound(*plan);
        EXPECT_TRUE(builder.Run());
        return std::pair{builder.totals(), builder.fileLookups()};
    };

    // Before the first build the outputs are missing: found so, and built.
    std::string error;
    auto first = MakeBuildPlan(calls, *context_, error);
    ASSERT_TRUE(first) << error;
    std::vector<std::pair<std::string, std::optional<int64_t>>> times;
    first->entryTimes.ForEach([&](std::string_view path, std::optional<int64_t> time) {
        times.emplace_back(path, time);
    });
    auto found = [&](const std::string& path) -> const std::optional<int64_t>* {
        for (const auto& [p, time] : times)
            if (p == path) return &time;
        return nullptr;
    };
    ASSERT_NE(found(context_->FilePath("a.c")), nullptr);
    EXPECT_EQ(*found(context_->FilePath("a.c")),
              platform::FileModifiedTime(context_->FilePath("a.c")));
    const std::string& object = first->steps.front().outputs.front().path;
    ASSERT_NE(found(object), nullptr);
    EXPECT_FALSE(found(object)->has_value());
    auto [built, builtLookups] = build(true);
    EXPECT_EQ(built.run, 7);

    auto [plain, plainLookups] = build(false);
    auto [seeded, seededLookups] = build(true);
    EXPECT_EQ(plain.run, 0);
    EXPECT_EQ(seeded.run, 0);
    EXPECT_EQ(seeded.upToDate, plain.upToDate);
    EXPECT_GT(plainLookups, 0u);
    EXPECT_EQ(seededLookups, 0u);

    // A source changed after the state was written is still seen.
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ofstream(root_ / "b.c") << "int y;\n";
    auto [changed, changedLookups] = build(true);
    EXPECT_EQ(changed.run, 2); // b.c's compile and the link
}

// As the build command runs it: the state loads from the configuration
// directory numbering the plan's paths as the plan did, and the times go in
// by number. The no-op asks nothing; a changed source is still seen.
TEST_F(BuilderTest, AStateThatTookThePlansPathsDecidesAsOneThatDidNot) {
    PluginCalls calls(api_);
    auto tool = &WriteOutputs;
    Builder::Settings settings = Quiet();
    auto build = [&] {
        std::string error;
        auto plan = MakeBuildPlan(calls, *context_, error);
        EXPECT_TRUE(plan) << error;
        if (!plan) return std::pair<BuildTotals, size_t>{};
        BuildState state;
        state.Load(context_->configDir(), plan->entryTimes.TakePaths());
        Builder builder(calls, *context_, *plan, state, settings, tool);
        builder.UseTimesFound(*plan);
        EXPECT_TRUE(builder.Run());
        return std::pair{builder.totals(), builder.fileLookups()};
    };
    EXPECT_EQ(build().first.run, 7);
    auto [noop, noopLookups] = build();
    EXPECT_EQ(noop.run, 0);
    EXPECT_EQ(noop.upToDate, 7);
    EXPECT_EQ(noopLookups, 0u);
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    std::ofstream(root_ / "b.c") << "int y;\n";
    EXPECT_EQ(build().first.run, 2); // b.c's compile and the link
    EXPECT_EQ(build().first.run, 0);
}

// The link's inputs are hashed from the objects one by one; a file taken
// out of the project must still relink, and only once.
TEST_F(BuilderTest, AFileLeavingTheProjectRelinksOnce) {
    PluginCalls calls(api_);
    auto tool = &WriteOutputs;
    BuildState state;
    Builder::Settings settings = Quiet();
    auto build = [&] {
        context_ = std::make_unique<ProjectContext>(ws_, ws_.projects[0],
                                                    ws_.projects[0].configurations[0],
                                                    root_.generic_string(), root_.generic_string());
        std::string error;
        auto plan = MakeBuildPlan(calls, *context_, error);
        EXPECT_TRUE(plan) << error;
        if (!plan) return BuildTotals{};
        record_->linkInputs.clear();
        Builder builder(calls, *context_, *plan, state, settings, tool);
        EXPECT_TRUE(builder.Run());
        return builder.totals();
    };
    EXPECT_EQ(build().run, 7);
    EXPECT_EQ(build().run, 0);
    auto& files = ws_.projects[0].files;
    files.erase(std::find(files.begin(), files.end(), "f.c"));
    BuildTotals relinked = build();
    EXPECT_EQ(relinked.run, 1);
    EXPECT_EQ(relinked.upToDate, 5);
    EXPECT_EQ(std::count(record_->linkInputs.begin(), record_->linkInputs.end(), "f.o|Object file"),
              0);
    EXPECT_EQ(record_->linkInputs.size(), 6u);
    EXPECT_EQ(build().run, 0);
}

} // namespace
} // namespace quorle::host
