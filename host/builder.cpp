#include "host/builder.h"

#include <filesystem>

#include "host/diagnostics.h"
#include "host/job_runner.h"
#include "host/text_list.h"
#include "host/tool_run.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

std::optional<int64_t> ModifiedTime(const std::string& path) {
    return platform::FileModifiedTime(path);
}

} // namespace

std::string StepKeyOf(const PhaseDesc& phase, const Step& step) {
    return phase.name + "|" + step.filePath;
}

Builder::Builder(const PluginCalls& calls, const ProjectContext& context, const BuildPlan& plan,
                 BuildState& state, Settings settings, Executor executor)
    : calls_(calls), context_(context), plan_(plan), state_(state), settings_(settings),
      executor_(std::move(executor)) {}

platform::ProcessResult Builder::RunTool(const std::string& commandLine,
                                         const std::string& workDir) {
    platform::ProcessOptions options;
    options.workingDirectory = workDir;
    options.timeoutMs = 30u * 60u * 1000u;
    options.captureOutput = true;
    return platform::RunProcess(commandLine, options);
}

void Builder::Print(const std::string& line) {
    if (settings_.out == nullptr) return;
    std::fputs(line.c_str(), settings_.out);
    std::fputc('\n', settings_.out);
    std::fflush(settings_.out);
}

void Builder::ReportError(const std::string& where, const std::string& message) {
    ++totals_.errors;
    LineInfo info;
    info.isMessage = true;
    info.errors = 1;
    info.file = where.empty() ? "None" : where;
    info.line = "None";
    info.message = message;
    Print(FormatLine(info, message, context_.workspace().dir, settings_.colour));
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

std::vector<std::string> Builder::LinkerInputs(size_t index) const {
    const PhaseDesc& linker = plan_.phases[plan_.steps[index].phase];
    std::vector<std::string> inputs = plan_.steps[index].projectInputs;
    for (size_t i = 0; i < index; ++i) {
        for (const OutputFile& out : plan_.steps[i].outputs) {
            bool wanted = false;
            for (const std::string& type : linker.inputTypes) wanted = wanted || type == out.type;
            if (wanted) inputs.push_back(out.path + "|" + out.type);
        }
    }
    return inputs;
}

bool Builder::Run() {
    totals_.steps = static_cast<int>(plan_.steps.size());
    for (size_t p = 0; p < plan_.phases.size() && !failed_; ++p) RunPhase(p);
    return !failed_ && totals_.errors == 0;
}

bool Builder::RunPhase(size_t phase) {
    const PhaseDesc& desc = plan_.phases[phase];
    JobRunner runner(settings_.jobs);
    std::vector<Pending> pending;
    bool continuation = false;
    bool announced = false;
    bool reset = false;
    for (size_t i = 0; i < plan_.steps.size(); ++i) {
        if (plan_.steps[i].phase != phase) continue;
        if (!reset && !desc.single) {
            calls_.ResetDependencies(desc.name, context_.info());
            reset = true;
        }
        StartStep(i, continuation, runner, pending, announced);
        while (runner.Full()) {
            JobRunner::Done done = runner.WaitAny();
            FinishStep(pending[done.id], done.result);
        }
    }
    while (!runner.Idle()) {
        JobRunner::Done done = runner.WaitAny();
        FinishStep(pending[done.id], done.result);
    }
    if (announced) {
        std::string text = calls_.DisplayText(desc.name, "PHASE_END");
        if (!text.empty()) Print(text);
    }
    state_.Save(BuildState::FileIn(context_.configDir()));
    if (totals_.errors > 0) failed_ = true;
    return !failed_;
}

bool Builder::StartStep(size_t index, bool& continuation, JobRunner& runner,
                        std::vector<Pending>& pending, bool& announced) {
    const Step& step = plan_.steps[index];
    const PhaseDesc& desc = plan_.phases[step.phase];
    const QuorleProjectInfo& info = context_.info();
    ++counter_;
    if (step.options.empty()) {
        ++totals_.upToDate;
        return true; // no option string: the phase has nothing to do here
    }

    UpToDateQuery query;
    for (const OutputFile& out : step.outputs) query.outputs.push_back(out.path);
    query.current.options = step.options;
    std::string forced;
    std::vector<std::string> inputs;
    if (!desc.single) {
        query.reads.push_back(step.filePath);
        auto deps = calls_.FileDependencies(desc.name, step.filePath, step.fileType, step.options,
                                            continuation, info);
        continuation = true;
        if (!deps) {
            forced = "its dependency scan failed";
        } else {
            for (const DependencyItem& dep : *deps) {
                if (!dep.error.empty()) {
                    ReportError(step.filePath, dep.error);
                    forced = "its dependency scan reported an error";
                } else if (!dep.path.empty()) {
                    query.reads.push_back(
                        fs::absolute(fs::path(NativePath(dep.path))).generic_string());
                }
            }
        }
        inputs.push_back(step.filePath + "|" + step.fileType);
    } else {
        // The linker reports its user sub-command file, the generator a
        // compressed library beside the project.
        std::string anchor = context_.project().dir + "/" + context_.project().name;
        auto deps = calls_.FileDependencies(desc.name, anchor, "", step.options, false, info);
        for (const DependencyItem& dep : deps ? *deps : std::vector<DependencyItem>{}) {
            if (!dep.error.empty()) {
                ReportError("", dep.error);
                forced = "its dependency scan reported an error";
            } else if (!dep.path.empty()) {
                query.reads.push_back(NativePath(dep.path));
            }
        }
    }
    if (desc.kind == PhaseKind::Linker) {
        inputs = LinkerInputs(index);
        // Everything built before the link, the generated library included.
        for (size_t i = 0; i < index; ++i)
            for (const OutputFile& out : plan_.steps[i].outputs) query.reads.push_back(out.path);
        for (const std::string& in : step.projectInputs)
            query.reads.push_back(in.substr(0, in.rfind('|')));
    }
    for (const std::string& in : inputs) query.current.inputs += in + "\n";
    query.stored = state_.Find(StepKey(step));
    std::string reason = forced.empty() ? OutOfDateReason(query, &ModifiedTime) : forced;
    if (reason.empty()) {
        ++totals_.upToDate;
        return true;
    }

    if (!announced) {
        announced = true;
        std::string text = calls_.DisplayText(desc.name, "PHASE_START");
        if (!text.empty()) Print(text);
    }
    std::string label = StepLabel(step);
    std::string progress = "[" + std::to_string(counter_) + "/" + std::to_string(totals_.steps) +
                           "] " + PhaseVerb(desc.kind) + " " + label;
    if (settings_.verbose) progress += " (" + reason + ")";
    Print(progress);
    std::string fileText = calls_.DisplayText(desc.name, "FILE_START");
    if (!fileText.empty()) Print(fileText);

    state_.Erase(StepKey(step));
    std::string inputList = JoinNulList(inputs);
    PrePhaseResult pre = calls_.PrePhase(desc.name, inputList, step.options, info);
    if (pre.result == 2) {
        ++totals_.run;
        state_.Set(StepKey(step), query.current);
        return true;
    }
    if (pre.result != 0) {
        ReportError(step.filePath, "PrePhase failed for " + desc.name);
        return false;
    }
    auto command = ParseToolCommand(pre.command);
    if (!command) {
        ReportError(step.filePath, "PrePhase handed back an unknown command: " + pre.command);
        return false;
    }
    auto text = platform::ReadFile(command->subcommandFile, true);
    if (!text) {
        ReportError(step.filePath, "cannot read the sub-command file " + command->subcommandFile);
        return false;
    }
    std::string triplet = TripletOf(context_.workspace().toolchainName);
    std::string tool = ToolPath(context_.toolchainDir(), triplet,
                                ToolOf(desc.kind, step.fileType, command->useGccToLink));
    if (triplet.empty() || !platform::FileExists(tool)) {
        ReportError(step.filePath, "the tool " + tool +
                                       " is missing (lay out a toolchain with quorle-host "
                                       "toolchain DIR)");
        return false;
    }
    std::vector<std::string> args{tool};
    for (std::string& arg : SplitArguments(*text)) args.push_back(std::move(arg));
    std::string commandLine = JoinCommandLine(args);
    if (settings_.verbose) {
        std::string shown = calls_.CommandDisplay(pre.command);
        while (!shown.empty() && shown.back() == '\n') shown.pop_back();
        Print("  " + tool + (shown.empty() ? " " + pre.command : shown));
    }
    std::string workDir = pre.directory.empty() ? context_.configDir() : NativePath(pre.directory);

    size_t id = pending.size();
    pending.push_back({index, pre.command, query.current, label});
    Executor executor = executor_;
    runner.Start(id, [executor, commandLine, workDir] { return executor(commandLine, workDir); });
    return true;
}

void Builder::FinishStep(const Pending& pending, const platform::ProcessResult& result) {
    const Step& step = plan_.steps[pending.step];
    const PhaseDesc& desc = plan_.phases[step.phase];
    ++totals_.run;
    int errorsBefore = totals_.errors;
    if (!result.started) {
        ReportError(step.filePath, "the tool could not be started");
        return;
    }
    for (const std::string& line : OutputLines(result.output)) {
        auto info = calls_.OutputLineInfo(desc.name, line, context_.info());
        if (!info) {
            Print(line);
            continue;
        }
        totals_.errors += info->errors + info->fatals;
        totals_.warnings += info->warnings;
        std::string shown = FormatLine(*info, line, context_.workspace().dir, settings_.colour);
        if (!shown.empty()) Print(shown);
    }
    if (result.timedOut) ReportError(step.filePath, "the tool ran out of time");
    if (result.exitCode != 0 && totals_.errors == errorsBefore)
        ReportError(step.filePath,
                    "the tool ended with exit code " + std::to_string(result.exitCode));
    if (totals_.errors > errorsBefore) return;
    if (calls_.PostPhase(desc.name, step.options, pending.command, context_.info()) != 0) {
        ReportError(step.filePath, "PostPhase failed for " + desc.name);
        return;
    }
    state_.Set(StepKey(step), pending.record);
    std::string text = calls_.DisplayText(desc.name, "FILE_END");
    if (!text.empty()) Print(text);
}

} // namespace quorle::host
