#include "host/builder.h"

#include "host/diagnostics.h"
#include "host/job_runner.h"

namespace quorle::host {

std::string StepKeyOf(const PhaseDesc& phase, const Step& step) {
    return phase.name + "|" + step.filePath;
}

Builder::Builder(const PluginCalls& calls, const ProjectContext& context, const BuildPlan& plan,
                 BuildState& state, Settings settings, Executor executor)
    : calls_(calls), context_(context), plan_(plan), state_(state), settings_(std::move(settings)),
      executor_(std::move(executor)), stats_(&platform::FileModifiedTime) {
    for (const std::string& file : context_.project().files)
        sourcePaths_.insert(context_.FilePath(file));
}

platform::ProcessResult Builder::RunTool(const ToolRun& run) {
    platform::ProcessOptions options;
    options.workingDirectory = run.workDir;
    options.timeoutMs = 30u * 60u * 1000u;
    options.captureOutput = true;
    options.environment = run.environment;
    return platform::RunProcess(run.commandLine, options);
}

void Builder::Print(const std::string& line) {
    if (settings_.out == nullptr) return;
    std::fputs(line.c_str(), settings_.out);
    std::fputc('\n', settings_.out);
    std::fflush(settings_.out);
}

void Builder::ReportError(const std::string& where, const std::string& message) {
    ++totals_.errors;
    Print(FormatHostError(where, message, settings_.currentDir, settings_.colour));
}

std::string Builder::StepKey(const Step& step) const {
    return StepKeyOf(plan_.phases[step.phase], step);
}

std::string Builder::StepLabel(const Step& step) const {
    std::string base = context_.project().dir + "/";
    auto shorten = [&base](std::string path) {
        return path.rfind(base, 0) == 0 ? path.substr(base.size()) : path;
    };
    if (!step.filePath.empty()) return shorten(step.filePath);
    std::string shown;
    for (const OutputFile& out : step.outputs)
        shown += (shown.empty() ? "" : ", ") + shorten(out.path);
    return shown;
}

// What a step hands to PrePhase: its file, or for a single step its
// project inputs and every earlier output of a type it takes.
std::vector<std::string> Builder::StepInputs(size_t index) const {
    const Step& step = plan_.steps[index];
    const PhaseDesc& phase = plan_.phases[step.phase];
    if (!phase.single) return {step.filePath + "|" + step.fileType};
    std::vector<std::string> inputs = step.projectInputs;
    if (!phase.Links()) return inputs;
    for (size_t i = 0; i < index; ++i) {
        for (const OutputFile& out : plan_.steps[i].outputs) {
            bool wanted = false;
            for (const std::string& type : phase.inputTypes) wanted = wanted || type == out.type;
            if (wanted) inputs.push_back(out.path + "|" + out.type);
        }
    }
    return inputs;
}

bool Builder::Run() {
    totals_.steps = static_cast<int>(plan_.steps.size());
    for (size_t p = 0; p < plan_.phases.size(); ++p) {
        if (interrupted_ || (anyFailed_ && !settings_.keepGoing)) break;
        RunPhase(p);
    }
    if (!state_.Save())
        Print("warning: the build state could not be written; the next build runs every step");
    return !anyFailed_ && !interrupted_ && totals_.errors == 0;
}

void Builder::RunPhase(size_t phase) {
    const PhaseDesc& desc = plan_.phases[phase];
    JobRunner runner(settings_.jobs);
    continuation_ = false;
    announced_ = false;
    bool reset = false;
    for (size_t i = 0; i < plan_.steps.size(); ++i) {
        if (plan_.steps[i].phase != phase) continue;
        if (platform::PendingInterrupt() != 0) interrupted_ = true;
        if (interrupted_) break;
        if (!reset && !desc.single) {
            calls_.ResetDependencies(desc.name, context_.info());
            reset = true;
        }
        StartStep(i, runner);
        Drain(runner, false);
    }
    Drain(runner, true);
    if (platform::PendingInterrupt() != 0) interrupted_ = true;
    if (announced_) {
        std::string text = calls_.DisplayText(desc.name, "PHASE_END");
        if (!text.empty()) Print(text);
    }
}

void Builder::Drain(JobRunner& runner, bool untilIdle) {
    while (untilIdle ? !runner.Idle() : runner.Full()) {
        JobRunner::Done done = runner.WaitAny();
        FinishStep(pending_[done.id], done.result);
    }
}

void Builder::StepFailed(const Step& step) {
    anyFailed_ = true;
    for (const OutputFile& out : step.outputs) failedOutputs_.insert(out.path);
}

// A step made from a failed step's output, or a link after any failure.
bool Builder::DependsOnFailure(size_t index) const {
    if (!anyFailed_) return false;
    const Step& step = plan_.steps[index];
    if (plan_.phases[step.phase].single) return true;
    return failedOutputs_.count(step.filePath) > 0;
}

void Builder::StartStep(size_t index, JobRunner& runner) {
    const Step& step = plan_.steps[index];
    ++counter_;
    if (step.options.empty()) {
        ++totals_.upToDate;
        return; // no option string: the phase has nothing to do here
    }
    if (DependsOnFailure(index)) {
        ++totals_.skipped;
        StepFailed(step);
        return;
    }
    Pending pending;
    pending.step = index;
    pending.record.optionsHash = HashText(step.options);
    std::string inputs;
    for (const std::string& in : StepInputs(index)) inputs += in + "\n";
    pending.record.inputsHash = HashText(inputs);
    Check check = CheckStep(index, pending.record);
    if (check.verdict == Verdict::UpToDate) {
        ++totals_.upToDate;
        return;
    }
    if (check.verdict == Verdict::Fail) {
        ReportError(step.filePath, check.reason);
        StepFailed(step);
        return;
    }
    pending.scanned = std::move(check.scanned);
    LaunchStep(index, check.reason, std::move(pending), runner);
}

} // namespace quorle::host
