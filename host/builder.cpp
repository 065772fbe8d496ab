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
      executor_(std::move(executor)), stats_(&platform::FileModifiedTime, state.paths()),
      output_(settings_.out, settings_.statusLine && !settings_.verbose, settings_.columns) {
    stats_.ReserveNumbered(state_.pathCount());
}

// Made when a step first runs: a no-op never needs them.
void Builder::KnowProjectFiles() {
    if (!projectFiles_.empty() || context_.project().files.empty()) return;
    projectFiles_.reserve(context_.project().files.size());
    for (const std::string& file : context_.project().files) {
        projectFiles_.push_back(context_.FilePath(file));
        sourcePaths_.insert(projectFiles_.back());
    }
}

void Builder::UseTimesFound(BuildPlan& fresh) {
    stats_.SeedAll(fresh.entryTimes);
    fresh.entryTimes = {};
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
    output_.Line(line);
}

void Builder::ReportError(const std::string& where, const std::string& message,
                          std::vector<std::string>* block) {
    ++totals_.errors;
    std::string line = FormatHostError(where, message, settings_.currentDir, settings_.colour);
    if (block != nullptr)
        block->push_back(line);
    else
        Print(line);
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

// What a step hands to PrePhase, one by one: its file, or for a single step
// its project inputs and every earlier output of a type it takes. `type` is
// null for an entry that is already "path|type".
template <typename Visit> void Builder::VisitInputs(size_t index, Visit visit) const {
    const Step& step = plan_.steps[index];
    const PhaseDesc& phase = plan_.phases[step.phase];
    if (!phase.single) return visit(step.filePath, &step.fileType);
    for (const std::string& in : step.projectInputs) visit(in, nullptr);
    if (!phase.Links()) return;
    for (size_t i = 0; i < index; ++i) {
        for (const OutputFile& out : plan_.steps[i].outputs) {
            bool wanted = false;
            for (const std::string& type : phase.inputTypes) wanted = wanted || type == out.type;
            if (wanted) visit(out.path, &out.type);
        }
    }
}

std::vector<std::string> Builder::StepInputs(size_t index) const {
    std::vector<std::string> inputs;
    VisitInputs(index, [&inputs](const std::string& path, const std::string* type) {
        inputs.push_back(type != nullptr ? path + "|" + *type : path);
    });
    return inputs;
}

// The hash of the inputs is that of StepInputs' lines, each ended by "\n",
// fed in pieces: a link's list of every object is never built for it.
Builder::StepHashes Builder::CurrentHashes(size_t index) const {
    TextHash inputs;
    VisitInputs(index, [&inputs](const std::string& path, const std::string* type) {
        inputs.Add(path);
        if (type != nullptr) inputs.Add("|").Add(*type);
        inputs.Add("\n");
    });
    return {plan_.steps[index].optionsHash, inputs.value()};
}

// Every step is checked before the first one runs, so that the progress
// counts only the steps that will run. A link runs when anything before it
// does.
void Builder::Predict() {
    prechecked_.assign(plan_.steps.size(), Precheck::None);
    prechecks_.clear();
    current_.assign(plan_.steps.size(), StepHashes{});
    bool anyRuns = false;
    for (size_t p = 0; p < plan_.phases.size(); ++p) {
        const PhaseDesc& desc = plan_.phases[p];
        continuation_ = false;
        bool reset = false;
        for (size_t i = 0; i < plan_.steps.size(); ++i) {
            const Step& step = plan_.steps[i];
            if (step.phase != p) continue;
            if (!reset && !desc.single) {
                calls_.ResetDependencies(desc.name, context_.info());
                reset = true;
            }
            if (!step.HasOptions()) continue;
            current_[i] = CurrentHashes(i);
            Check check = CheckStep(i, current_[i]);
            // Its scan is still wanted: the step records what it found.
            if (desc.Links() && anyRuns && check.verdict == Verdict::UpToDate)
                check = {Verdict::Run, "an earlier step runs", std::move(check.scanned)};
            if (check.verdict == Verdict::Run) {
                ++planned_;
                anyRuns = true;
            }
            if (check.verdict == Verdict::UpToDate && check.reason.empty() && !check.scanned) {
                prechecked_[i] = Precheck::UpToDate;
            } else {
                prechecked_[i] = Precheck::Kept;
                prechecks_[i] = std::move(check);
            }
        }
    }
}

std::optional<Builder::Check> Builder::TakePrecheck(size_t index) {
    Precheck kind = prechecked_[index];
    prechecked_[index] = Precheck::None;
    if (kind == Precheck::UpToDate) return Check{Verdict::UpToDate, "", std::nullopt};
    if (kind == Precheck::None) return std::nullopt;
    auto kept = prechecks_.find(index);
    Check check = std::move(kept->second);
    prechecks_.erase(kept);
    return check;
}

bool Builder::Run() {
    totals_.steps = static_cast<int>(plan_.steps.size());
    Predict();
    for (size_t p = 0; p < plan_.phases.size(); ++p) {
        if (interrupted_ || (anyFailed_ && !settings_.keepGoing) || FailureLimitReached()) break;
        earlierRan_ = counter_ > 0;
        RunPhase(p);
    }
    output_.Finish();
    if (!settings_.dryRun && !state_.Save())
        Print("warning: the build state could not be written; the next build runs every step");
    return !anyFailed_ && !interrupted_ && totals_.errors == 0;
}

void Builder::RunPhase(size_t phase) {
    const PhaseDesc& desc = plan_.phases[phase];
    JobRunner runner(settings_.jobs);
    continuation_ = false;
    announced_ = false;
    for (size_t i = 0; i < plan_.steps.size(); ++i) {
        if (plan_.steps[i].phase != phase) continue;
        if (platform::PendingInterrupt() != 0) interrupted_ = true;
        if (interrupted_ || FailureLimitReached()) break;
        StartStep(i, runner);
        Drain(runner, false);
    }
    Drain(runner, true);
    if (platform::PendingInterrupt() != 0) interrupted_ = true;
    if (announced_ && settings_.verbose) {
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

std::vector<std::string> Builder::failedSteps() const {
    std::vector<std::string> labels;
    for (const auto& [index, label] : failedSteps_) labels.push_back(label);
    return labels;
}

bool Builder::FailureLimitReached() const {
    return settings_.keepGoing && settings_.failureLimit > 0 && failures_ >= settings_.failureLimit;
}

void Builder::StepFailed(const Step& step, bool itself) {
    anyFailed_ = true;
    if (itself) {
        ++failures_;
        failedSteps_.emplace(static_cast<size_t>(&step - plan_.steps.data()), StepLabel(step));
    }
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
    if (!step.HasOptions()) {
        ++totals_.upToDate;
        return; // no option string: the phase has nothing to do here
    }
    if (DependsOnFailure(index)) {
        ++totals_.skipped;
        StepFailed(step, false);
        return;
    }
    Pending pending;
    pending.step = index;
    // What it reads and how is fixed by the plan, so the record made before
    // the build stands.
    pending.record.optionsHash = current_[index].options;
    pending.record.inputsHash = current_[index].inputs;
    // The verdict found before the build stands unless what an earlier
    // phase made may have changed it.
    std::optional<Check> before = TakePrecheck(index);
    bool stands = before && (before->verdict == Verdict::Run ||
                             (before->verdict == Verdict::UpToDate && !earlierRan_));
    Check check;
    if (stands) {
        check = std::move(*before);
    } else {
        continuation_ = false;
        check = CheckStep(index, current_[index]);
        if (check.verdict == Verdict::Run) ++planned_;
    }
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
