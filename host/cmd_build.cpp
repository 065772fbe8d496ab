// quorle-host build: builds every selected project of a workspace.
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "host/builder.h"
#include "host/diagnostics.h"
#include "host/workspace_command.h"

namespace quorle::host {

namespace {

std::string Count(int n, const char* word) {
    return std::to_string(n) + " " + word + (n == 1 ? "" : "s");
}

void Add(BuildTotals& all, const BuildTotals& t) {
    all.errors += t.errors;
    all.warnings += t.warnings;
    all.run += t.run;
    all.upToDate += t.upToDate;
    all.skipped += t.skipped;
    all.steps += t.steps;
}

// Steps that started in an interrupted or killed build may have left half
// written outputs: they go before anything reads them.
void RemoveUnfinished(const std::vector<std::string>& outputs) {
    for (const std::string& out : outputs) {
        std::error_code ec;
        std::filesystem::remove(std::filesystem::u8path(out), ec);
    }
}

Builder::Settings SettingsOf(const Session& session) {
    const HostOptions& options = session.options();
    std::string note;
    Builder::Settings settings;
    settings.jobs = session.Jobs(&note);
    if (!note.empty()) std::printf("note: %s\n", note.c_str());
    settings.colour = UseColour();
    settings.verbose = options.verbose;
    settings.keepGoing = options.keepGoing;
    settings.launcher = session.Launcher();
    settings.currentDir = std::filesystem::current_path().generic_string();
    return settings;
}

} // namespace

int RunBuild(const CommandContext& context) {
    WorkspaceCommand command(context, "build");
    if (!command.ok()) return command.exitCode();
    const Session& session = command.session();
    const HostOptions& options = command.options();
    const PluginCalls& calls = command.calls();
    platform::WatchInterrupts();
    auto start = std::chrono::steady_clock::now();
    Builder::Settings settings = SettingsOf(session);
    BuildTotals all;
    bool ok = true;
    bool interrupted = false;
    std::vector<std::string> outputs;
    // Unlike the other commands, a project without the configuration fails
    // the build, and a failed plan still ends with the summary line.
    for (const Project* project : session.Projects()) {
        std::string error;
        const Configuration* config = session.ConfigOf(*project, &error);
        if (config == nullptr) return command.Error(error);
        auto ctx = session.ContextFor(*project, *config);
        std::printf("== %s (%s) in %s\n", project->name.c_str(), config->name.c_str(),
                    ShownPath(ctx->configDir(), settings.currentDir).c_str());
        std::fflush(stdout);
        auto plan = MakeBuildPlan(calls, *ctx, error);
        if (!plan) {
            command.Error(error);
            ++all.errors;
            ok = false;
            break;
        }
        for (const std::string& warning : plan->warnings)
            std::printf("warning: %s\n", warning.c_str());
        BuildState state;
        std::vector<std::string> unfinished;
        state.Load(ctx->configDir(), &unfinished);
        RemoveUnfinished(unfinished);
        Builder builder(calls, *ctx, *plan, state, settings, &Builder::RunTool);
        bool built = builder.Run();
        Add(all, builder.totals());
        interrupted = builder.interrupted();
        if (!built) {
            ok = false;
            if (interrupted || !options.keepGoing) break;
            continue;
        }
        for (const Step& step : plan->steps)
            if (plan->phases[step.phase].Links())
                for (const OutputFile& out : step.outputs) outputs.push_back(out.path);
    }
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (interrupted) {
        std::printf("Build INTERRUPTED: the unfinished steps' outputs were removed; %d of %d "
                    "steps run\n",
                    all.run, all.steps);
        return 128 + platform::PendingInterrupt();
    }
    if (all.run == 0 && ok) std::printf("Nothing to do: every step is up to date.\n");
    std::string skipped =
        all.skipped > 0 ? ", " + std::to_string(all.skipped) + " skipped after a failure" : "";
    std::printf("%s: %s, %s; %d of %d steps run, %d up to date%s; %.2f s\n",
                ok ? "Build succeeded" : "Build FAILED", Count(all.errors, "error").c_str(),
                Count(all.warnings, "warning").c_str(), all.run, all.steps, all.upToDate,
                skipped.c_str(), seconds);
    if (ok)
        for (const std::string& out : outputs)
            std::printf("Output: %s\n", ShownPath(out, settings.currentDir).c_str());
    return ok ? 0 : 1;
}

} // namespace quorle::host
