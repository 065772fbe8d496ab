// Catalogue queries: phases, file types, default options, progress texts.
#include <optional>
#include <string>

#include "cmdline/display.h"
#include "core/catalogue.h"
#include "core/default_options.h"
#include "core/phase.h"
#include "core/result_buffer.h"
#include "interface/guarded_call.h"
#include "interface/module_state.h"
#include "interface/quorle.h"
#include "resources/message_box.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"

using namespace quorle;

namespace {

using PhaseTable = std::optional<std::string> (*)(PhaseIndex);

int CopyPhaseRow(const char* phase, PhaseTable table, char* buffer, int32_t* length) {
    if (phase == nullptr || buffer == nullptr || length == nullptr) return 1;
    auto text = table(LookupPhase(phase));
    if (!text) return 1;
    return CopyListForm(*text, buffer, length);
}

int CopyModuleStringAsList(int id, char* buffer, int32_t* length) {
    if (buffer == nullptr || length == nullptr) return 1;
    auto text = LoadModuleString(id);
    if (!text) return 1;
    return CopyListForm(*text, buffer, length);
}

} // namespace

extern "C" {

QUORLE_API int QUORLE_CALL GetBuildPhaseInformation(const char* phase, char* buffer,
                                                    int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        return CopyPhaseRow(phase, PhaseInformation, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetSupportedFileExtensions(char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        return CopyModuleStringAsList(strings::kFileTypes, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetDefaultOptions(const char* phase, const char* configuration,
                                             const char* fileType, char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (phase == nullptr || configuration == nullptr || buffer == nullptr || length == nullptr)
            return 1;
        PhaseIndex index = LookupPhase(phase);
        if ((index == kPhaseCompiler || index == kPhaseAssembler) && fileType == nullptr) return 1;
        std::string options = DefaultOptions(index, configuration, fileType ? fileType : "");
        return CopyStringThenListForm(options, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetInputFileTypes(const char* phase, char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        return CopyPhaseRow(phase, InputFileTypes, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetOutputFileTypes(const char* phase, char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        return CopyPhaseRow(phase, OutputFileTypes, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetEditOptionsSecondaryFileTypes(char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        return CopyModuleStringAsList(strings::kExtraToolList, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL GetInformationForDisplay(const char* phaseDisplayName,
                                                    const char* eventKey, intptr_t /*value*/,
                                                    char* buffer, int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (phaseDisplayName == nullptr || eventKey == nullptr || buffer == nullptr ||
            length == nullptr)
            return 1;
        auto text = DisplayEventText(phaseDisplayName, eventKey);
        if (!text) return 1;
        return CopyListForm(*text, buffer, length);
    });
}

QUORLE_API int QUORLE_CALL ConvertOptionsForCommandLineDisplay(const char* requiredText1,
                                                               const char* requiredText2,
                                                               const char* command, char* buffer,
                                                               int32_t* length) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (requiredText1 == nullptr || requiredText2 == nullptr || command == nullptr ||
            buffer == nullptr || length == nullptr)
            return 1;
        DisplayText display = CommandLineDisplayText(command);
        ShowUserMessages(display.messages);
        // An empty display text is a failure that leaves the length alone.
        if (display.text.empty()) return 1;
        return CopyStringForm(display.text, buffer, length);
    });
}

} // extern "C"
