// PrePhase and the start of the tool: the command that comes back names a
// sub-command file; the host reads it, expands any placeholder the plug-in
// left in it, and runs the family's tool (behind the launcher, for
// compiles and assemblies) on a worker thread.
#include <algorithm>
#include <filesystem>

#include "host/builder.h"
#include "host/dep_file.h"
#include "host/diagnostics.h"
#include "host/job_runner.h"
#include "host/plan_files.h"
#include "host/text_list.h"
#include "host/tool_run.h"

namespace quorle::host {

void Builder::LaunchStep(size_t index, const std::string& reason, Pending pending,
                         JobRunner& runner) {
    const Step& step = plan_.steps[index];
    const PhaseDesc& desc = plan_.phases[step.phase];
    if (!announced_) {
        announced_ = true;
        // The catalogue's texts are for the IDE's status bar; only -v shows them.
        std::string text = settings_.verbose ? calls_.DisplayText(desc.name, "PHASE_START") : "";
        if (!text.empty()) Print(text);
    }
    ++counter_;
    planned_ = std::max(planned_, counter_);
    pending.label = "[" + std::to_string(counter_) + "/" + std::to_string(planned_) + "] " +
                    std::string(PlaceVerb(desc.place)) + " " + StepLabel(step);
    output_.Started(index, settings_.verbose ? pending.label + " (" + reason + ")" : pending.label);
    if (settings_.verbose) {
        std::string fileText = calls_.DisplayText(desc.name, "FILE_START");
        if (!fileText.empty()) output_.StartedMore(index, fileText);
    }
    if (settings_.dryRun) {
        // What the step would run, from the plug-in's own command; no
        // journal entry, no tool.
        PrePhaseResult pre = calls_.PrePhase(desc.name, JoinNulList(StepInputs(index)),
                                             plan_.OptionsOf(step, context_), context_.info());
        ++totals_.run;
        if (pre.result == 2) return;
        if (pre.result != 0) {
            ReportError(step.filePath, "PrePhase failed for " + desc.name);
            StepFailed(step);
            return;
        }
        pending.workDir = pre.directory.empty() ? context_.configDir() : NativePath(pre.directory);
        if (auto run = ToolRunFor(step, pre.command, pending))
            output_.StartedMore(index, "  " + run->commandLine);
        return;
    }

    if (!state_.Started(StepKey(step), &pending.mark)) {
        // Without its start on record, a build killed now would leave
        // half-written outputs that look finished.
        ReportError(step.filePath, "cannot write the build journal " +
                                       BuildState::JournalIn(context_.configDir()));
        StepFailed(step);
        return;
    }
    RemoveOutputLinks(step);
    PrePhaseResult pre = calls_.PrePhase(desc.name, JoinNulList(StepInputs(index)),
                                         plan_.OptionsOf(step, context_), context_.info());
    if (pre.result == 2) {
        ++totals_.run;
        RecordDependencies(pending);
        state_.Finished(StepKey(step), std::move(pending.record));
        return;
    }
    if (pre.result != 0) {
        ReportError(step.filePath, "PrePhase failed for " + desc.name);
        StepFailed(step);
        return;
    }
    pending.command = pre.command;
    pending.workDir = pre.directory.empty() ? context_.configDir() : NativePath(pre.directory);
    auto run = ToolRunFor(step, pre.command, pending);
    if (!run) {
        StepFailed(step);
        RecordIncomplete(pending);
        return;
    }
    size_t id = pending_.size();
    pending_.push_back(std::move(pending));
    Executor executor = executor_;
    runner.Start(id, [executor, run = std::move(*run)] { return executor(run); });
}

std::optional<ToolRun> Builder::ToolRunFor(const Step& step, const std::string& command,
                                           Pending& pending) {
    const PhaseDesc& desc = plan_.phases[step.phase];
    auto parsed = ParseToolCommand(command);
    if (!parsed) {
        ReportError(step.filePath, "PrePhase handed back an unknown command: " + command);
        return std::nullopt;
    }
    auto text = platform::ReadFile(parsed->subcommandFile, true);
    if (!text) {
        ReportError(step.filePath, "cannot read the sub-command file " + parsed->subcommandFile);
        return std::nullopt;
    }
    std::string triplet = TripletOf(context_.workspace().toolchainName);
    std::string tool = ToolPath(context_.toolchainDir(), triplet,
                                ToolOf(desc.place, step.fileType, parsed->useGccToLink));
    if (triplet.empty() || !platform::FileExists(tool)) {
        ReportError(step.filePath, "the tool " + tool +
                                       " is missing (lay out a toolchain with quorle-host "
                                       "toolchain DIR)");
        return std::nullopt;
    }
    std::string leaf = step.file.empty() ? context_.project().name : FileLeaf(step.file);
    pending.args.clear();
    for (const std::string& arg : SplitArguments(*text)) {
        std::string expanded = context_.Expand(arg, leaf);
        // A file the plug-in wrote under a name that still holds a
        // placeholder (a linker script, the linker input file) takes the
        // name the tool is given.
        if (expanded != arg && platform::FileExists(NativePath(arg)) &&
            !platform::IsDirectory(NativePath(arg))) {
            std::error_code ec;
            std::filesystem::rename(std::filesystem::u8path(NativePath(arg)),
                                    std::filesystem::u8path(NativePath(expanded)), ec);
        }
        pending.args.push_back(ToolArgument(expanded));
    }
    std::vector<std::string> args;
    bool launched = !settings_.launcher.empty() && (desc.Compiles() || desc.place == "ASSEMBLE");
    if (launched) args = settings_.launcher;
    args.push_back(tool);
    args.insert(args.end(), pending.args.begin(), pending.args.end());
    ToolRun run{"", pending.workDir, {}};
    if (desc.Compiles() && !step.outputs.empty()) {
        pending.depFile = DependencyFileOf(step.outputs.front().path);
        platform::DeleteFile(pending.depFile);
        // The compiler writes the list as it compiles. A launcher such as
        // ccache refuses the environment variable, but caches the list that
        // the options ask for and gives it back on a hit.
        if (launched) {
            for (const char* extra : {"-MD", "-MF"}) args.push_back(extra);
            args.push_back(pending.depFile);
        } else {
            run.environment.push_back(
                DependencyEnvironment(pending.depFile, step.outputs.front().path));
        }
    }
    run.commandLine = JoinCommandLine(args);
    std::vector<std::string> shown = launched ? settings_.launcher : std::vector<std::string>{};
    shown.push_back(ShownPath(tool, settings_.currentDir));
    shown.push_back("@" + ShownPath(parsed->subcommandFile, settings_.currentDir));
    pending.shown = JoinCommandLine(shown);
    // The command as it runs, its paths in the form this system's tools read.
    if (settings_.verbose && !settings_.dryRun)
        output_.StartedMore(pending.step, "  " + run.commandLine);
    return run;
}

} // namespace quorle::host
