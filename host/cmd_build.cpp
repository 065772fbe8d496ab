// quorle-host build: builds every selected project of a workspace.
#include <chrono>
#include <cstdio>

#include "host/builder.h"
#include "host/commands.h"
#include "host/diagnostics.h"
#include "host/session.h"

namespace quorle::host {

namespace {

std::string Count(int n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

} // namespace

int RunBuild(const CommandContext& context) {
    std::string error;
    auto options = ParseHostOptions(context.args, false, error);
    if (!options) {
        std::fprintf(stderr, "quorle-host build: %s\n", error.c_str());
        return 2;
    }
    auto session = Session::Open(*options, context.program, error);
    if (!session) {
        std::fprintf(stderr, "quorle-host build: %s\n", error.c_str());
        return 1;
    }
    PluginCalls calls(context.api);
    auto start = std::chrono::steady_clock::now();
    BuildTotals all;
    bool ok = true;
    std::vector<std::string> outputs;
    for (const Project* project : session->Projects()) {
        const Configuration* config = session->ConfigOf(*project);
        if (config == nullptr) {
            std::fprintf(stderr, "quorle-host build: project %s has no configuration %s\n",
                         project->name.c_str(), options->config.c_str());
            return 1;
        }
        auto ctx = session->ContextFor(*project, *config);
        std::printf("== %s (%s) in %s\n", project->name.c_str(), config->name.c_str(),
                    ctx->configDir().c_str());
        std::fflush(stdout);
        auto plan = MakeBuildPlan(calls, *ctx, error);
        if (!plan) {
            std::fprintf(stderr, "quorle-host build: %s\n", error.c_str());
            ++all.errors;
            ok = false;
            break;
        }
        BuildState state;
        state.Load(BuildState::FileIn(ctx->configDir()));
        Builder::Settings settings;
        settings.jobs = options->jobs;
        settings.colour = UseColour();
        settings.verbose = options->verbose;
        Builder builder(calls, *ctx, *plan, state, settings, &Builder::RunTool);
        bool built = builder.Run();
        const BuildTotals& t = builder.totals();
        all.errors += t.errors;
        all.warnings += t.warnings;
        all.run += t.run;
        all.upToDate += t.upToDate;
        all.steps += t.steps;
        if (!built) {
            ok = false;
            break;
        }
        for (const Step& step : plan->steps)
            if (plan->phases[step.phase].kind == PhaseKind::Linker)
                for (const OutputFile& out : step.outputs) outputs.push_back(out.path);
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (all.run == 0 && ok) std::printf("Nothing to do: every step is up to date.\n");
    std::printf("%s: %s, %s; %d of %d steps run, %d up to date; %.2f s\n",
                ok ? "Build succeeded" : "Build FAILED", Count(all.errors, "error").c_str(),
                Count(all.warnings, "warning").c_str(), all.run, all.steps, all.upToDate, seconds);
    if (ok)
        for (const std::string& out : outputs) std::printf("Output: %s\n", out.c_str());
    return ok ? 0 : 1;
}

} // namespace quorle::host
