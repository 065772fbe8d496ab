// The plug-in's share of a build: every call the host makes into the plug-in
// for one source file, measured over a generated project of 2,000 C files.
// No tool runs: the installation directory holds placeholders only, so the
// dependency scan's compiler cannot start and the build's tools are not run.
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
#include "host/tool_run.h"

namespace {

namespace fs = std::filesystem;
using namespace quorle::host;

constexpr int kFiles = 2000;

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
        for (std::string tool : {"gcc", "as", "ld", "libgen"}) {
            fs::create_directories(root / "tc" / "corvo-elf" / "bin");
            std::ofstream(root / "tc" / "corvo-elf" / "bin" / ("corvo-elf-" + tool + ".exe"));
        }
        workspace.path = (root / "bench.qws").generic_string();
        workspace.dir = root.generic_string();
        workspace.name = workspace.settingsName = "bench";
        workspace.toolchainName = "Dravik GNUCORVO [ELF]";
        workspace.cpuSeries = "CORVO";
        workspace.toolchainDir = (root / "tc").generic_string();
        workspace.phases = DefaultPhaseNames();
        Project project;
        project.name = "bench";
        project.dir = root.generic_string();
        project.configurations = {{"DEBUG", "Debug"}};
        for (int i = 0; i < kFiles; ++i) {
            char name[32];
            std::snprintf(name, sizeof name, "src/f%04d.c", i);
            std::ofstream(root / name)
                << "#include \"common.h\"\nint f" << i << "(void) { return " << i << "; }\n";
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

// One compile step's calls, as the builder makes them.
void BM_PluginCallsPerSourceFile(benchmark::State& state) {
    Fixture& f = Shared();
    const QuorleProjectInfo& info = f.context->info();
    std::vector<const Step*> compiles;
    for (const Step& step : f.plan->steps)
        if (f.plan->phases[step.phase].kind == PhaseKind::Compiler) compiles.push_back(&step);
    size_t next = 0;
    const std::string phase = "GNU Compiler";
    const std::string warning =
        f.root.generic_string() + "/src/f0001.c:7:9: warning: unused variable 'x' [-Wunused]";
    for (auto _ : state) {
        const Step& step = *compiles[next++ % compiles.size()];
        auto options = f.calls->DefaultOptions(phase, "DEBUG", step.fileType);
        auto outputs = f.calls->OutputFiles(phase, step.options, info);
        auto deps = f.calls->FileDependencies(phase, step.filePath, step.fileType, step.options,
                                              true, info);
        std::string text = f.calls->DisplayText(phase, "FILE_START");
        PrePhaseResult pre = f.calls->PrePhase(
            phase, JoinNulList({step.filePath + "|" + step.fileType}), step.options, info);
        auto line1 = f.calls->OutputLineInfo(phase, "f.c: In function 'f':", info);
        auto line2 = f.calls->OutputLineInfo(phase, warning, info);
        int post = f.calls->PostPhase(phase, step.options, pre.command, info);
        benchmark::DoNotOptimize(options);
        benchmark::DoNotOptimize(outputs);
        benchmark::DoNotOptimize(deps);
        benchmark::DoNotOptimize(line1);
        benchmark::DoNotOptimize(line2);
        benchmark::DoNotOptimize(post);
        if (pre.result != 0) state.SkipWithError("PrePhase failed");
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_PluginCallsPerSourceFile)->Unit(benchmark::kMicrosecond);

// The same calls one export at a time, to show where the time goes.
void BM_SingleExport(benchmark::State& state) {
    Fixture& f = Shared();
    const QuorleProjectInfo& info = f.context->info();
    std::vector<const Step*> compiles;
    for (const Step& step : f.plan->steps)
        if (f.plan->phases[step.phase].kind == PhaseKind::Compiler) compiles.push_back(&step);
    const std::string phase = "GNU Compiler";
    size_t next = 0;
    for (auto _ : state) {
        const Step& step = *compiles[next++ % compiles.size()];
        switch (state.range(0)) {
        case 0:
            benchmark::DoNotOptimize(f.calls->FileDependencies(phase, step.filePath, step.fileType,
                                                               step.options, true, info));
            break;
        case 1:
            benchmark::DoNotOptimize(f.calls->OutputFiles(phase, step.options, info));
            break;
        case 2:
            benchmark::DoNotOptimize(f.calls->PrePhase(
                phase, JoinNulList({step.filePath + "|" + step.fileType}), step.options, info));
            break;
        case 3:
            benchmark::DoNotOptimize(f.calls->PostPhase(
                phase, step.options, "@\"" + f.context->configDir() + "/x.gcc\"", info));
            break;
        default:
            benchmark::DoNotOptimize(f.calls->OutputLineInfo(
                phase, "src/f.c:7:9: warning: unused variable 'x' [-Wunused]", info));
            break;
        }
    }
    static const char* const names[] = {"GetFileDependencies", "GetOutputFiles", "PrePhase",
                                        "PostPhase", "GetOutputLineInfo"};
    state.SetLabel(names[state.range(0)]);
}
BENCHMARK(BM_SingleExport)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);

// The whole build of the 2,000 files by the host with tools that do nothing:
// the plug-in's share plus the host's own bookkeeping.
void BM_HostBuildWithoutTools(benchmark::State& state) {
    Fixture& f = Shared();
    for (auto _ : state) {
        BuildState buildState; // empty: every step runs
        Builder::Settings settings;
        settings.out = nullptr;
        Builder builder(*f.calls, *f.context, *f.plan, buildState, settings,
                        [](const std::string&, const std::string&) {
                            quorle::platform::ProcessResult r;
                            r.started = true;
                            r.exitCode = 0;
                            return r;
                        });
        builder.Run();
        benchmark::DoNotOptimize(builder.totals());
    }
    state.counters["per_file"] = benchmark::Counter(
        kFiles, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_HostBuildWithoutTools)->Unit(benchmark::kMillisecond)->Iterations(3);

} // namespace
