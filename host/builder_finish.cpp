// After the tool: its lines through the plug-in's classification, PostPhase,
// and the step's new record with its dependencies and the files it made.
#include <filesystem>

#include "host/builder.h"
#include "host/dep_file.h"
#include "host/diagnostics.h"
#include "host/memory_report.h"
#include "host/tool_run.h"

namespace quorle::host {

namespace fs = std::filesystem;

void Builder::RemovePartialOutputs(const Step& step) {
    for (const OutputFile& out : step.outputs) {
        std::error_code ec;
        if (!fs::is_directory(fs::symlink_status(fs::u8path(out.path), ec)))
            fs::remove(fs::u8path(out.path), ec);
        stats_.Forget(out.path);
    }
}

// A tool writes through a link at its output path, into whatever the link
// leads to; the host's outputs are its own, so the link goes first.
void Builder::RemoveOutputLinks(const Step& step) {
    for (const OutputFile& out : step.outputs)
        if (platform::RemoveSymbolicLink(out.path)) stats_.Forget(out.path);
}

int Builder::ShowOutput(const Step& step, const std::string& output, const std::string& toolDir,
                        std::vector<std::string>& block) {
    const PhaseDesc& desc = plan_.phases[step.phase];
    int errors = 0;
    for (const std::string& line : OutputLines(output)) {
        auto info = calls_.OutputLineInfo(desc.name, line, context_.info());
        if (!info) {
            block.push_back(line);
            continue;
        }
        errors += ErrorsOf(*info);
        totals_.warnings += info->warnings;
        KnowProjectFiles();
        std::string shown = FormatLine(
            *info, line, {settings_.currentDir, toolDir, settings_.colour, &projectFiles_});
        if (!shown.empty()) block.push_back(shown);
    }
    totals_.errors += errors;
    return errors;
}

void Builder::FinishStep(Pending& pending, const platform::ProcessResult& result) {
    const Step& step = plan_.steps[pending.step];
    const PhaseDesc& desc = plan_.phases[step.phase];
    ++totals_.run;
    if (!pending.depFile.empty() && result.interrupted) platform::DeleteFile(pending.depFile);
    if (result.interrupted || (!result.started && platform::PendingInterrupt() != 0)) {
        // Its outputs may be half written; the journal keeps it out of date.
        interrupted_ = true;
        RemovePartialOutputs(step);
        RecordIncomplete(pending);
        return;
    }
    std::vector<std::string> block;
    auto failed = [&](bool recorded) {
        block.insert(block.begin(), {"FAILED: " + StepLabel(step), "  " + pending.shown});
        output_.StepLines(pending.step, pending.label, block);
        StepFailed(step);
        if (recorded) RecordIncomplete(pending, true);
    };
    if (!result.started) {
        std::string text = "the tool could not be started";
        if (!result.output.empty()) text += " (" + result.output + ")";
        ReportError(step.filePath, text, &block);
        return failed(false);
    }
    int errors = ShowOutput(step, result.output, pending.workDir, block);
    if (result.timedOut) ReportError(step.filePath, "the tool ran out of time", &block), ++errors;
    if (result.exitCode != 0 && errors == 0) {
        ReportError(step.filePath,
                    "the tool ended with exit code " + std::to_string(result.exitCode), &block);
        ++errors;
    }
    for (const OutputFile& out : step.outputs) stats_.Forget(out.path);
    if (errors > 0) {
        if (!pending.depFile.empty()) platform::DeleteFile(pending.depFile);
        return failed(true);
    }
    if (calls_.PostPhase(desc.name, plan_.OptionsOf(step, context_), pending.command,
                         context_.info()) != 0) {
        ReportError(step.filePath, "PostPhase failed for " + desc.name, &block);
        return failed(true);
    }
    RecordDependencies(pending);
    pending.record.made = MadeList(MadeFiles(pending));
    state_.Finished(StepKey(step), std::move(pending.record));
    if (desc.Links())
        for (const std::string& line :
             LinkMemoryReport(step, plan_.OptionsOf(step, context_), settings_.currentDir))
            block.push_back(line);
    std::string text = settings_.verbose ? calls_.DisplayText(desc.name, "FILE_END") : "";
    if (!text.empty()) block.push_back(text);
    output_.StepLines(pending.step, pending.label, block);
}

// A step that failed or was stopped: never up to date, but clean still
// finds what it made.
void Builder::RecordIncomplete(Pending& pending, bool failed) {
    const Step& step = plan_.steps[pending.step];
    pending.record.incomplete = true;
    pending.record.failed = failed;
    pending.record.depsKnown = false;
    pending.record.deps.clear();
    pending.record.made = MadeList(MadeFiles(pending));
    state_.Finished(StepKey(step), std::move(pending.record));
}

// The compiler's own list when it wrote one, else the list the check
// scanned, else a scan now. Every file is recorded with its time.
void Builder::RecordDependencies(Pending& pending) {
    const Step& step = plan_.steps[pending.step];
    const PhaseDesc& desc = plan_.phases[step.phase];
    std::vector<std::string> paths;
    bool known = false;
    if (!pending.depFile.empty()) {
        if (auto text = platform::ReadFile(pending.depFile, false)) {
            for (const std::string& dep : ParseDependencyRules(*text)) {
                fs::path p = fs::u8path(dep);
                if (!p.is_absolute()) p = fs::u8path(pending.workDir) / p;
                paths.push_back(p.lexically_normal().generic_string());
            }
            known = true;
        }
        platform::DeleteFile(pending.depFile);
    }
    if (!known && pending.scanned) {
        paths = *pending.scanned;
        known = true;
    }
    if (!known && !desc.single) {
        auto scanned = Scan(step);
        known = scanned.has_value();
        if (scanned) paths = std::move(*scanned);
    }
    if (desc.Links())
        for (size_t i = 0; i < pending.step; ++i)
            for (const OutputFile& out : plan_.steps[i].outputs) paths.push_back(out.path);
    if (!desc.single) paths.insert(paths.begin(), step.filePath);
    pending.record.deps.clear();
    for (const std::string& path : paths) {
        auto t = stats_.Time(path);
        if (!t) {
            known = false; // a list naming a missing file cannot vouch for anything
            continue;
        }
        NoteClockSkew(path, *t);
        pending.record.deps.push_back({state_.PathId(path), *t});
    }
    pending.record.depsKnown = known;
}

} // namespace quorle::host
