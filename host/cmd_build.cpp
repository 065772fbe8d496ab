// quorle-host build: builds every selected project of a workspace.
#include <chrono>
#include <cstdio>

#include "host/builder.h"
#include "host/diagnostics.h"
#include "host/workspace_command.h"

namespace quorle::host {

namespace {

std::string Count(int n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

} // namespace

int RunBuild(const CommandContext& context) {
    WorkspaceCommand command(context, "build");
    if (!command.ok()) return command.exitCode();
    const Session& session = command.session();
    const HostOptions& options = command.options();
    const PluginCalls& calls = command.calls();
    auto start = std::chrono::steady_clock::now();
    BuildTotals all;
    bool ok = true;
    std::vector<std::string> outputs;
    // Unlike the other commands, a project without the configuration fails
    // the build, and a failed plan still ends with the summary line.
    for (const Project* project : session.Projects()) {
        const Configuration* config = session.ConfigOf(*project);
        if (config == nullptr)
            return command.Error("project " + project->name + " has no configuration " +
                                 options.config);
        auto ctx = session.ContextFor(*project, *config);
        std::printf("== %s (%s) in %s\n", project->name.c_str(), config->name.c_str(),
                    ctx->configDir().c_str());
        std::fflush(stdout);
        std::string error;
        auto plan = MakeBuildPlan(calls, *ctx, error);
        if (!plan) {
            command.Error(error);
            ++all.errors;
            ok = false;
            break;
        }
        BuildState state;
        state.Load(BuildState::FileIn(ctx->configDir()));
        Builder::Settings settings;
        settings.jobs = options.jobs;
        settings.colour = UseColour();
        settings.verbose = options.verbose;
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
