// Dependency scans, tool output classification and syntax colouring.
#include "core/phase.h"
#include "core/record_check.h"
#include "core/result_buffer.h"
#include "depend/dependency_scan.h"
#include "interface/guarded_call.h"
#include "interface/module_state.h"
#include "interface/quorle.h"
#include "output/colouring.h"
#include "output/line_classifier.h"
#include "resources/message_box.h"

using namespace quorle;

namespace {} // namespace

extern "C" {

QUORLE_API int QUORLE_CALL GetFileDependencies(
    const char* phase, const char* filePath, const char* fileType, const char* text,
    const char* options, int32_t batchContinuation, char** result, const void* reset,
    const void* requiredPointer1, const void* requiredPointer2, const void* requiredPointer3,
    const QuorleProjectInfo* info, const QuorleDependencyRequest* request) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        depend::ScanCall call;
        call.filePath = filePath;
        call.fileType = fileType;
        call.text = text;
        call.options = options;
        call.batchContinuation = batchContinuation;
        call.result = result;
        call.reset = reset != nullptr;
        call.extra = {requiredPointer1, requiredPointer2, requiredPointer3};
        call.info = info;
        call.request = request;
        depend::ScanOutcome outcome = depend::GetFileDependencies(LookupPhase(phase), call);
        ShowUserMessages(outcome.messages);
        return outcome.status;
    });
}

QUORLE_API int QUORLE_CALL GetOutputLineInfo(const char* phase, intptr_t unreadValue1,
                                             intptr_t unreadValue2, intptr_t unreadValue3,
                                             const char* line, int32_t* errors, int32_t* warnings,
                                             int32_t* fatals, char* buffer, int32_t* length,
                                             int32_t* isMessage, const QuorleProjectInfo* info) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (phase == nullptr || line == nullptr || errors == nullptr || warnings == nullptr ||
            fatals == nullptr || buffer == nullptr || length == nullptr || isMessage == nullptr ||
            !HasRecordSize(info))
            return 1;
        auto classified = output::ClassifyOutputLine(LookupPhase(phase), line);
        if (!classified) return 1;
        if (CopyListForm(classified->record, buffer, length) != 0) return 1;
        *errors = classified->errors;
        *warnings = classified->warnings;
        *fatals = classified->fatals;
        *isMessage = classified->isMessage ? 1 : 0;
        return 0;
    });
}

QUORLE_API int QUORLE_CALL GetSyntaxColouringInformation(const char* fileType, char* buffer,
                                                         int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (fileType == nullptr || length == nullptr) return 1;
        const std::string& text = output::ColouringText(fileType);
        if (text.empty()) {
            // No colouring for this type: success with nothing to copy. The NUL
            // goes only into a buffer that has room for it.
            int32_t capacity = *length;
            *length = 0;
            if (buffer != nullptr && capacity > 0) buffer[0] = '\0';
            return 0;
        }
        return CopyStringForm(text, buffer, length);
    });
}

} // extern "C"
