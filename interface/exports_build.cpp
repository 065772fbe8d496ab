// Build steps: pre- and post-phase work, output files, makefile commands,
// optimisation queries. Each export checks its arguments, maps the phase
// and hands the work to its handler.
#include <string>

#include "core/phase.h"
#include "core/record_check.h"
#include "core/result_buffer.h"
#include "interface/feedback_request.h"
#include "interface/guarded_call.h"
#include "interface/module_state.h"
#include "interface/quorle.h"
#include "makefile/makefile_command.h"
#include "output/optimisation.h"
#include "output/stack.h"
#include "phases/output_files.h"
#include "phases/post_phase.h"
#include "phases/pre_phase.h"
#include "platform/platform.h"
#include "resources/message_box.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

using namespace quorle;

namespace {

bool RecordValid(const QuorleProjectInfo* info) {
    return HasRecordSize(info);
}

std::string ConfigDir(const QuorleProjectInfo* info) {
    return info != nullptr && info->configDir != nullptr ? info->configDir : "";
}

} // namespace

extern "C" {

QUORLE_API int QUORLE_CALL PrePhase(const char* phase, const char* inputList, const void* value,
                                    const char* options, const char* text, int32_t* commandReady,
                                    char* command, char* directory, const QuorleProjectInfo* info,
                                    int32_t customLinkage) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        PhaseIndex index = LookupPhase(phase);
        if (!IsImplementedPhase(index)) return 1;
        if (index == kPhaseLinker && customLinkage != 0) {
            platform::ShowMessage("WARNING",
                                  LoadModuleString(strings::kCustomLinkageUnsupported).value_or(""),
                                  platform::MessageButtons::Ok, platform::MessageIcon::Warning);
            return 1;
        }
        phases::PrePhaseCall call{inputList,    value,   options,   text,
                                  commandReady, command, directory, info};
        phases::StepOutcome outcome = phases::RunPrePhase(index, call);
        ShowUserMessages(outcome.messages);
        return outcome.status;
    });
}

QUORLE_API int QUORLE_CALL PostPhase(const char* phase, const char* requiredText1,
                                     const char* requiredText2, const char* options,
                                     const char* requiredText3, intptr_t unreadValue,
                                     const char* command, int32_t discardOutput,
                                     const QuorleProjectInfo* info) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (phase == nullptr || requiredText1 == nullptr || requiredText2 == nullptr ||
            options == nullptr || requiredText3 == nullptr || command == nullptr ||
            !RecordValid(info))
            return 1;
        PhaseIndex index = LookupPhase(phase);
        if (!IsImplementedPhase(index)) return 1;
        // Each part's boxes come before the next part deletes or runs anything.
        phases::PostReport report = phases::RunPostReport(index, options, command, *info);
        ShowUserMessages(report.messages);
        if (report.feedback) ShowFeedbackRequest(*report.feedback);
        if (discardOutput != 0) {
            phases::OutputDiscard discard = phases::DiscardPostOutput(index, options, *info);
            ShowUserMessages(discard.messages);
            if (discard.discarded) return report.status;
        }
        phases::StepOutcome steps = phases::RunPostSteps(index, options, *info, report.status);
        ShowUserMessages(steps.messages);
        return steps.status;
    });
}

QUORLE_API int QUORLE_CALL GetOutputFiles(const char* phase, const void* requiredPointer1,
                                          const void* requiredPointer2, const char* options,
                                          int32_t compilerFlag, char* buffer, int32_t* length,
                                          const QuorleProjectInfo* info) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (requiredPointer1 == nullptr || requiredPointer2 == nullptr || options == nullptr ||
            length == nullptr || !RecordValid(info))
            return 1;
        if (*options == '\0') {
            auto empty = LoadModuleString(strings::kEmptyList);
            return empty ? CopyListForm(*empty, buffer, length) : 1;
        }
        phases::OutputList list =
            phases::OutputFileList(LookupPhase(phase), options, ConfigDir(info));
        ShowUserMessages(list.messages);
        if (!list.text) return 1;
        return CopyListForm(*list.text, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetLinkerInputFiles(const char* phase, const char* options,
                                               const void* requiredPointer, char* buffer,
                                               int32_t* length, const QuorleProjectInfo* info) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (phase == nullptr || options == nullptr || requiredPointer == nullptr ||
            length == nullptr || info == nullptr)
            return 1;
        phases::OutputList list =
            phases::LinkerInputFiles(LookupPhase(phase), options, ConfigDir(info));
        ShowUserMessages(list.messages);
        if (!list.text) return 1;
        return CopyStringThenListForm(*list.text, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GenerateMakefileCommand(const char* phase, const char* inputList,
                                                   const void* value, const char* options,
                                                   const char* baseDir, char* textBuffer,
                                                   char** command, char** subcommand,
                                                   const QuorleProjectInfo* info,
                                                   int32_t inlineFlag, int32_t linkerArgument,
                                                   int32_t makefileMode) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        PhaseIndex index = LookupPhase(phase);
        if (!IsImplementedPhase(index)) return 1;
        makefile::MakefileCall call{inputList, value,      options, baseDir,        textBuffer,
                                    command,   subcommand, info,    linkerArgument, makefileMode};
        makefile::MakefileOutcome outcome = makefile::GenerateMakefile(index, call);
        ShowUserMessages(outcome.messages);
        if (outcome.result == 0 && inlineFlag == 1)
            return makefile::MakeInline(command, subcommand);
        return outcome.result;
    });
}

// The three optimisation queries keep the caller's module state.
QUORLE_API int QUORLE_CALL GetOptimisationMode(const char* phase, const char* options,
                                               int32_t* mode) {
    return GuardedCall([&]() -> int {
        if (phase == nullptr || options == nullptr || mode == nullptr) return 1;
        output::OptimisationModeAnswer answer =
            output::OptimisationMode(LookupPhase(phase), options);
        ShowUserMessages(answer.messages);
        *mode = answer.mode;
        return 0;
    });
}

QUORLE_API int QUORLE_CALL GetOptimisationOptions(const char* phase, const char* options,
                                                  int32_t request, char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        if (phase == nullptr || options == nullptr || length == nullptr) return 1;
        output::OptimisationText text =
            output::OptimisationOptions(LookupPhase(phase), options, request);
        ShowUserMessages(text.messages);
        return CopyStringForm(text.options, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetOptimisationDependency(const char* phase, const char* options,
                                                     int32_t request, char* buffer,
                                                     int32_t* length) {
    return GuardedCall([&]() -> int {
        if (phase == nullptr || options == nullptr || length == nullptr) return 1;
        return CopyStringThenListForm(
            output::OptimisationDependency(LookupPhase(phase), options, request), buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetStackInformationFile(const char* options, char* buffer,
                                                   int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (options == nullptr || length == nullptr) return 1;
        output::StackFile file = output::StackInformationFile(options);
        ShowUserMessages(file.messages);
        return CopyStringThenListForm(file.path, buffer, length);
    });
}

} // extern "C"
