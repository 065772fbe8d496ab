// The host's and the plug-in's share of a build, measured against the
// stand-in toolchain: its scans start the real compiler driver, as a build
// does. The registry file the link counts in is a temporary one, never the
// user's.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>

#include "host/build_plan.h"
#include "host/builder.h"
#include "host/plugin.h"
#include "host/plugin_calls.h"
#include "host/project_context.h"
#include "host/text_list.h"
#include "host/toolchain_layout.h"
#include "platform/platform.h"

namespace {

namespace fs = std::filesystem;
using namespace quorle::host;

constexpr int kFiles = 200;

struct Fixture {
    Plugin plugin;
    std::unique_ptr<PluginCalls> calls;
    Workspace workspace;
    std::unique_ptr<ProjectContext> context;
    std::unique_ptr<BuildPlan> plan;
    fs::path root;

    Fixture() {
        std::string error;
        if (!plugin.Load(QUORLE_BENCH_PLUGIN, error)) throw std::runtime_error(error);
        calls = std::make_unique<PluginCalls>(plugin.api());
        root = fs::temp_directory_path() / "quorle-bench-host";
        fs::remove_all(root);
        fs::create_directories(root / "src");
        fs::create_directories(root / "include");
        quorle::platform::SetEnv("QUORLE_REGISTRY", (root / "registry.ini").string());
        const std::string binary = QUORLE_BENCH_BINARY_DIR;
        if (!LayOutToolchain((root / "tc").string(), binary + "/bin/quorle-standin",
                             binary + "/share/quorle-standin/libsrc", error))
            throw std::runtime_error(error);
        std::ofstream(root / "include" / "common.h") << "#define COMMON 1\n";
        workspace.path = (root / "bench.qws").generic_string();
        workspace.dir = root.generic_string();
        workspace.name = workspace.settingsName = "bench";
        workspace.toolchainName = "Dravik GNUCORVO [ELF]";
        workspace.cpuSeries = "CORVO";
        workspace.toolchainDir = (root / "tc").generic_string();
        workspace.phases = {"GNU Compiler"};
        Project project;
        project.name = "bench";
        project.dir = root.generic_string();
        project.configurations = {{"DEBUG", "Debug"}};
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "src/f%04d.c", i);
            std::ofstream(root / name) << "#include \"common.h\"\nint f" << i
                                       << "(void) { return COMMON + " << i << "; }\n";
            project.files.push_back(name);
        }
        project.options.push_back(
            {"Compiler", "C source file", "", "",
             "[V|VERSION|2] [B|DEBUG|1] [S|OBJPATH|\"$(CONFIGDIR)\\$(FILELEAF).o\"] "
             "[S|INCDIR|\"$(PROJDIR)\\include\"] [B|WALL|1] [S|CPUTYPE|CV2]"});
        workspace.projects.push_back(project);
        context = std::make_unique<ProjectContext>(workspace, workspace.projects[0],
                                                   workspace.projects[0].configurations[0],
                                                   root.generic_string(), root.generic_string());
        fs::create_directories(context->configDir());
        auto made = MakeBuildPlan(*calls, *context, error);
        if (!made) throw std::runtime_error(error);
        plan = std::make_unique<BuildPlan>(std::move(*made));
    }
    ~Fixture() { fs::remove_all(root); }
};

Fixture& Shared() {
    static Fixture fixture;
    return fixture;
}

// A tool that makes the step's object and says nothing, as a compile that
// finished cleanly.
quorle::platform::ProcessResult Touch(const ToolRun& run) {
    std::string line = run.commandLine;
    size_t at = line.find(" -o ");
    if (at != std::string::npos)
        std::ofstream(line.substr(at + 4, line.find(' ', at + 4) - at - 4));
    quorle::platform::ProcessResult r;
    r.started = true;
    r.exitCode = 0;
    return r;
}

// One dependency scan: the compiler driver with -M, started for real.
void BM_GetFileDependencies(benchmark::State& state) {
    Fixture& f = Shared();
    const QuorleProjectInfo& info = f.context->info();
    size_t next = 0;
    for (auto _ : state) {
        const Step& step = f.plan->steps[next++ % f.plan->steps.size()];
        f.calls->ResetDependencies("GNU Compiler", info);
        auto deps = f.calls->FileDependencies("GNU Compiler", step.filePath, step.fileType,
                                              f.plan->OptionsOf(step, *f.context), false, info);
        if (!deps || deps->empty()) state.SkipWithError("the scan found nothing");
        benchmark::DoNotOptimize(deps);
    }
}
BENCHMARK(BM_GetFileDependencies)->Unit(benchmark::kMillisecond);

// Every other call the host makes into the plug-in for one source file.
void BM_PluginCallsPerSourceFile(benchmark::State& state) {
    Fixture& f = Shared();
    const QuorleProjectInfo& info = f.context->info();
    size_t next = 0;
    const std::string phase = "GNU Compiler";
    const std::string warning =
        f.root.generic_string() + "/src/f0001.c:7:9: warning: unused variable 'x' [-Wunused]";
    for (auto _ : state) {
        const Step& step = f.plan->steps[next++ % f.plan->steps.size()];
        auto options = f.calls->DefaultOptions(phase, "DEBUG", step.fileType);
        const std::string expanded = f.plan->OptionsOf(step, *f.context);
        auto outputs = f.calls->OutputFiles(phase, expanded, info);
        std::string text = f.calls->DisplayText(phase, "FILE_START");
        PrePhaseResult pre = f.calls->PrePhase(
            phase, JoinNulList({step.filePath + "|" + step.fileType}), expanded, info);
        auto line1 = f.calls->OutputLineInfo(phase, "f.c: In function 'f':", info);
        auto line2 = f.calls->OutputLineInfo(phase, warning, info);
        int post = f.calls->PostPhase(phase, expanded, pre.command, info);
        benchmark::DoNotOptimize(options);
        benchmark::DoNotOptimize(outputs);
        benchmark::DoNotOptimize(line1);
        benchmark::DoNotOptimize(line2);
        benchmark::DoNotOptimize(post);
        if (pre.result != 0) state.SkipWithError("PrePhase failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PluginCallsPerSourceFile)->Unit(benchmark::kMicrosecond);

// A no-op build of every file: the state read, every step decided from the
// dependency log (no scan, no tool), nothing written.
void BM_NoOpBuild(benchmark::State& state) {
    Fixture& f = Shared();
    Builder::Settings settings;
    settings.out = nullptr;
    {
        BuildState first;
        first.Load(f.context->configDir());
        Builder builder(*f.calls, *f.context, *f.plan, first, settings, &Touch);
        builder.Run();
    }
    for (auto _ : state) {
        BuildState buildState;
        buildState.Load(f.context->configDir());
        Builder builder(*f.calls, *f.context, *f.plan, buildState, settings, &Touch);
        builder.Run();
        if (builder.totals().run != 0) state.SkipWithError("a step ran in a no-op build");
    }
    state.counters["per_file"] = benchmark::Counter(
        kFiles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NoOpBuild)->Unit(benchmark::kMillisecond);

// Reading and writing the state of 10,000 steps with 20 dependencies each.
void BM_StateSaveAndLoad(benchmark::State& state) {
    fs::path dir = fs::temp_directory_path() / "quorle-bench-state";
    fs::create_directories(dir);
    {
        BuildState big;
        big.Load(dir.generic_string());
        for (int i = 0; i < 10000; ++i) {
            StepRecord record;
            record.optionsHash = HashText(std::to_string(i));
            record.depsKnown = true;
            for (int d = 0; d < 20; ++d)
                record.deps.push_back(
                    {big.PathId("/usr/include/h" + std::to_string((i + d) % 300) + ".h"), 1000});
            record.made = {"/w/Debug/f" + std::to_string(i) + ".o"};
            big.Finished("GNU Compiler|/w/src/f" + std::to_string(i) + ".c", std::move(record));
        }
        big.Save();
    }
    for (auto _ : state) {
        BuildState again;
        again.Load(dir.generic_string());
        if (again.size() != 10000) state.SkipWithError("records lost");
        benchmark::DoNotOptimize(again.size());
    }
    state.counters["bytes"] =
        static_cast<double>(fs::file_size(BuildState::FileIn(dir.generic_string())));
    fs::remove_all(dir);
}
BENCHMARK(BM_StateSaveAndLoad)->Unit(benchmark::kMillisecond);

} // namespace
