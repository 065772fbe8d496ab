// quorle-host build: builds every selected project of a workspace.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include <unordered_set>

#include "host/builder.h"
#include "host/config_lock.h"
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
// written outputs: they go before anything reads them. The journal names
// steps only; what is removed is what the plan says those steps write, and
// a link there goes as itself.
void RemoveUnfinished(BuildPlan& plan, const BuildState& state,
                      const std::vector<uint64_t>& unfinished) {
    if (unfinished.empty()) return;
    // Numbers found through the state name the plan's paths only once the
    // state took them over; otherwise the plan's times all go.
    if (!plan.entryTimes.NumberedBy(state.paths())) plan.entryTimes = {};
    std::unordered_set<uint64_t> ids(unfinished.begin(), unfinished.end());
    for (const Step& step : plan.steps) {
        if (ids.count(BuildState::StepId(StepKeyOf(plan.phases[step.phase], step))) == 0) continue;
        for (const OutputFile& out : step.outputs) {
            std::error_code ec;
            auto path = std::filesystem::u8path(out.path);
            if (!std::filesystem::is_directory(std::filesystem::symlink_status(path, ec)))
                std::filesystem::remove(path, ec);
            // What the plan found there is gone.
            if (auto id = state.paths().Find(out.path)) plan.entryTimes.Drop(*id);
        }
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
    settings.failureLimit = options.failureLimit;
    settings.dryRun = options.dryRun;
    // One status line rewritten in place, as on any terminal that can move
    // the cursor back; -v keeps a line per step.
    auto term = platform::GetEnv("TERM");
    settings.statusLine =
        platform::StandardOutputIsTerminal() && !options.verbose && !(term && *term == "dumb");
    settings.columns = settings.statusLine ? platform::TerminalColumns() : 0;
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
    Builder::ClockSkew skewed; // the first file found with a time in the future
    std::vector<std::string> failedSteps;
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
        // One build of a configuration at a time; the lock goes with the state.
        ConfigLock lock;
        if (!lock.Take(ctx->configDir(), options.wait, error)) {
            command.Error(error);
            ++all.errors;
            ok = false;
            interrupted = platform::PendingInterrupt() != 0;
            break;
        }
        // Another build may have changed the files while this one waited.
        if (options.wait) plan->entryTimes = {};
        // The state numbers the paths the plan looked at as the plan did:
        // one table of paths for the whole build.
        BuildState state;
        LoadReport loaded = state.Load(ctx->configDir(), plan->entryTimes.TakePaths());
        for (const std::string& warning : loaded.warnings)
            std::printf("warning: %s\n", warning.c_str());
        if (!options.dryRun) RemoveUnfinished(*plan, state, loaded.unfinished);
        Builder builder(calls, *ctx, *plan, state, settings, &Builder::RunTool);
        builder.UseTimesFound(*plan);
        bool built = builder.Run();
        Add(all, builder.totals());
        std::string prefix = session.Projects().size() > 1 ? project->name + ": " : "";
        for (const std::string& step : builder.failedSteps()) failedSteps.push_back(prefix + step);
        // -k N counts the failures of the whole build, over its projects.
        if (settings.failureLimit > 0)
            settings.failureLimit -= std::min(settings.failureLimit, builder.failures());
        interrupted = builder.interrupted();
        if (skewed.path.empty()) skewed = builder.clockSkew();
        if (!built) {
            ok = false;
            if (interrupted || !options.keepGoing ||
                (options.failureLimit > 0 && settings.failureLimit == 0))
                break;
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
    // Once, as make does: such a file makes the steps that read it run every time.
    if (!skewed.path.empty())
        std::printf("warning: clock skew detected: %s has a modification time %lld s in the "
                    "future; the steps that read it run at every build\n",
                    ShownPath(skewed.path, settings.currentDir).c_str(),
                    static_cast<long long>(skewed.seconds));
    if (options.dryRun) {
        std::printf("Dry run: %d of %d steps would run, %d up to date; none was run\n", all.run,
                    all.steps, all.upToDate);
        return ok ? 0 : 1;
    }
    if (all.run == 0 && ok) std::printf("Nothing to do: every step is up to date.\n");
    std::string skipped =
        all.skipped > 0 ? ", " + std::to_string(all.skipped) + " skipped after a failure" : "";
    std::printf("%s: %s, %s; %d of %d steps run, %d up to date%s; %.2f s\n",
                ok ? "Build succeeded" : "Build FAILED", Count(all.errors, "error").c_str(),
                Count(all.warnings, "warning").c_str(), all.run, all.steps, all.upToDate,
                skipped.c_str(), seconds);
    if (!failedSteps.empty()) {
        std::string list;
        for (const std::string& step : failedSteps) list += (list.empty() ? "" : "; ") + step;
        std::printf("Failed steps: %s\n", list.c_str());
    }
    if (ok)
        for (const std::string& out : outputs)
            std::printf("Output: %s\n", ShownPath(out, settings.currentDir).c_str());
    return ok ? 0 : 1;
}

} // namespace quorle::host
