#include "phases/post_phase.h"

#include <string>

#include "cmdline/linker_text.h"
#include "core/phase.h"
#include "core/records.h"
#include "models/compiler_model.h"
#include "models/linker_model.h"
#include "options/option_string.h"
#include "phases/feedback.h"
#include "phases/output_files.h"
#include "phases/paths.h"
#include "phases/post_steps.h"
#include "phases/step_models.h"
#include "phases/text_files.h"
#include "platform/platform.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

namespace quorle::phases {

namespace {

struct StepContext {
    std::string_view options;
    std::string_view command;
    const QuorleProjectInfo& info;
    std::string configDir;
    std::string buildTag;
    std::string date;
};

std::string BaseName(std::string_view path) {
    return std::string(WithoutExtension(LastComponent(path)));
}

// Deletes a step's output; relative names are taken in the configuration directory.
bool DeleteOutput(const std::string& configDir, const std::string& path) {
    if (path.empty()) return false;
    std::string full = ResolveAgainst(configDir, path).value_or(path);
    if (GetFileState(full) != FileState::File) return false;
    return platform::DeleteFile(full);
}

std::string ConfigDir(const QuorleProjectInfo& info) {
    return info.configDir ? info.configDir : "";
}

int CompilerReport(const StepContext& step) {
    models::CompilerModel model({}, step.options);
    if (model.listing_ == 0) return 0;
    auto extension = LoadModuleString(strings::kCompilerExtension);
    if (!extension) return 0;
    std::string listFile =
        CombinePath(model.listPath_.dir, model.listPath_.leaf, model.listPath_.ext);
    AppendListReport(listFile, SubcommandFilePath(step.configDir, model.objPath_.leaf, *extension),
                     step.buildTag, step.date);
    return 0;
}

int AssemblerReport(const StepContext& step) {
    AssemblerStepFiles files = AssemblerFiles(step.options);
    if (!files.listing) return 0;
    AppendListReport(files.listPath, SubcommandFilePath(step.configDir, files.objectLeaf, "gas"),
                     step.buildTag, step.date);
    return 0;
}

PostReport LinkerReport(const StepContext& step) {
    models::LinkerRead read = models::ReadLinkerModel(step.options, kLinkerMapOptimisationFile);
    const models::LinkerModel& model = read.model;
    PostReport report{0, std::move(read.messages), std::nullopt};
    if (model.subcommand_ && model.subcommandFile_.empty()) {
        if (!LoadModuleString(strings::kCommandPrefix)) {
            report.status = 1;
            return report;
        }
        auto banner = LoadModuleString(strings::kTemporaryBanner);
        auto subcommandFile = PathOfAtCommand(step.command);
        if (banner && subcommandFile) DeleteTemporaryFiles(*subcommandFile, *banner);
    }
    if (model.mapFile_) {
        bool userFile = model.subcommand_ && model.subcommandType_ == 0;
        std::string base = TildeName(BaseName(model.outputFile_));
        AppendMapReport(model.MapFilePath(), userFile, CombinePath(step.configDir, base, "gld"),
                        cmdline::LinkerInputFilePath(model, step.configDir), step.buildTag,
                        step.date);
    }
    report.feedback = FeedbackRequestFor(step.buildTag, CountLinkForFeedback(step.buildTag));
    return report;
}

StepOutcome ArchiveObject(PhaseIndex phaseIndex, std::string_view options,
                          const QuorleProjectInfo& info) {
    OutputList list = OutputFileList(phaseIndex, options, ConfigDir(info));
    if (!list.text) return {1, std::move(list.messages)};
    StepOutcome outcome =
        RunArchiveStep(info, std::string_view(*list.text).substr(0, list.text->rfind('|')));
    list.messages.insert(list.messages.end(), outcome.messages.begin(), outcome.messages.end());
    return {outcome.status, std::move(list.messages)};
}

} // namespace

PostReport RunPostReport(PhaseIndex phaseIndex, std::string_view options, std::string_view command,
                         const QuorleProjectInfo& info) {
    StepContext step{options, command, info, ConfigDir(info), BuildTag(info), ReportDate()};
    switch (phaseIndex) {
    case kPhaseCompiler:
        return {CompilerReport(step), {}, std::nullopt};
    case kPhaseAssembler:
        return {AssemblerReport(step), {}, std::nullopt};
    case kPhaseLinker:
        return LinkerReport(step);
    case kPhaseGenerator:
        return {};
    default:
        return {1, {}, std::nullopt};
    }
}

OutputDiscard DiscardPostOutput(PhaseIndex phaseIndex, std::string_view options,
                                const QuorleProjectInfo& info) {
    if (phaseIndex == kPhaseAssembler && AssemblerFiles(options).keepObject) return {};
    MainOutput output = MainOutputFile(phaseIndex, options);
    return {DeleteOutput(ConfigDir(info), output.path), std::move(output.messages)};
}

StepOutcome RunPostSteps(PhaseIndex phaseIndex, std::string_view options,
                         const QuorleProjectInfo& info, int reportStatus) {
    if ((phaseIndex == kPhaseCompiler || phaseIndex == kPhaseAssembler) &&
        options::HasToken(options, "LIBPROJECT"))
        return ArchiveObject(phaseIndex, options, info);
    if (phaseIndex == kPhaseLinker && options::HasToken(options, "[S|OUTFORM|BOTH]"))
        return RunSRecordStep(info, options);
    return {reportStatus, {}};
}

} // namespace quorle::phases
