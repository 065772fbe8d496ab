// The options editor: checks the arguments and runs the sheet, which copies
// its results into the host's records.
#include "core/record_check.h"
#include "interface/guarded_call.h"
#include "interface/module_state.h"
#include "interface/quorle.h"
#include "sheet/edit_options.h"

using namespace quorle;

extern "C" {

QUORLE_API int QUORLE_CALL EditOptions(QuorlePhaseRecord* const* phases,
                                       const char* resourceDirFile, const QuorleProjectInfo* info) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        if (phases == nullptr || resourceDirFile == nullptr || !HasRecordSize(info)) return 1;
        return sheet::RunEditOptions(phases, resourceDirFile, *info);
    });
}

} // extern "C"
