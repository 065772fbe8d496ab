// The options editor: checks the arguments and runs the sheet, which copies
// its results into the host's records.
#include "core/record_check.h"
#include "interface/guarded_call.h"
#include "interface/module_state.h"
#include "interface/quorle.h"
#include "platform/platform.h"
#include "resources/message_box.h"
#include "sheet/edit_options.h"
#include "sheet/messages.h"

using namespace quorle;

namespace {

// The editor's boxes carry the warning icon whatever their kind; a scripted
// call writes them to the message log instead of showing them.
void ShowEditorMessage(const UserMessage& message, bool scripted) {
    const char* caption =
        message.kind == MessageKind::Warning ? sheet::kCaptionWarning : sheet::kCaptionError;
    if (scripted)
        platform::LogMessageBox(caption, UserMessageText(message));
    else
        platform::ShowMessage(caption, UserMessageText(message), platform::MessageButtons::Ok,
                              platform::MessageIcon::Warning);
}

} // namespace

extern "C" {

QUORLE_API int QUORLE_CALL EditOptions(QuorlePhaseRecord* const* phases,
                                       const char* resourceDirFile, const QuorleProjectInfo* info) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (phases == nullptr || resourceDirFile == nullptr || !HasRecordSize(info)) return 1;
        sheet::EditRun run = sheet::RunEditOptions(phases, resourceDirFile, *info);
        for (const UserMessage& message : run.messages) ShowEditorMessage(message, run.scripted);
        return run.result;
    });
}

} // extern "C"
