// The options editor.
// Not implemented yet: each answers as a failure (1).
#include "interface/guarded_call.h"
#include "interface/module_state.h"
#include "interface/quorle.h"

using namespace quorle;

extern "C" {

QUORLE_API int QUORLE_CALL EditOptions(QuorlePhaseRecord* const* phases,
                                       const char* resourceDirFile, const QuorleProjectInfo* info) {
    return GuardedCall([&]() -> int {
        ModuleStateScope scope;
        return 1;
    });
}

} // extern "C"
