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
#include "resources/message_box.h"
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

int LinkerReport(const StepContext& step) {
    models::LinkerModel model(step.options, kLinkerMapOptimisationFile);
    ShowUserMessages(model.ReadMessages());
    if (model.subcommand_ && model.subcommandFile_.empty()) {
        if (!LoadModuleString(strings::kCommandPrefix)) return 1;
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
    CountLinkForFeedback(step.buildTag);
    return 0;
}

// Deletes the step's main output; true when a file was removed.
bool DiscardOutput(PhaseIndex phaseIndex, const StepContext& step) {
    if (phaseIndex == kPhaseAssembler && AssemblerFiles(step.options).keepObject) return false;
    return DeleteOutput(step.configDir, MainOutputFile(phaseIndex, step.options));
}

StepOutcome ArchiveObject(PhaseIndex phaseIndex, const StepContext& step) {
    auto list = OutputFileList(phaseIndex, step.options, step.configDir);
    if (!list) return {1, {}};
    return RunArchiveStep(step.info, std::string_view(*list).substr(0, list->rfind('|')));
}

int Shown(const StepOutcome& outcome) {
    ShowUserMessages(outcome.messages);
    return outcome.status;
}

} // namespace

int RunPostPhase(PhaseIndex phaseIndex, std::string_view options, std::string_view command,
                 bool discardOutput, const QuorleProjectInfo& info) {
    StepContext step{options,        command,     info, info.configDir ? info.configDir : "",
                     BuildTag(info), ReportDate()};
    int result = 0;
    switch (phaseIndex) {
    case kPhaseCompiler:
        result = CompilerReport(step);
        break;
    case kPhaseAssembler:
        result = AssemblerReport(step);
        break;
    case kPhaseLinker:
        result = LinkerReport(step);
        break;
    case kPhaseGenerator:
        break;
    default:
        return 1;
    }
    // A discarded output is neither archived nor converted: the tools would
    // only fail on the missing file.
    if (discardOutput && DiscardOutput(phaseIndex, step)) return result;
    if ((phaseIndex == kPhaseCompiler || phaseIndex == kPhaseAssembler) &&
        options::HasToken(options, "LIBPROJECT"))
        result = Shown(ArchiveObject(phaseIndex, step));
    if (phaseIndex == kPhaseLinker && options::HasToken(options, "[S|OUTFORM|BOTH]"))
        result = Shown(RunSRecordStep(info, options));
    return result;
}

} // namespace quorle::phases
