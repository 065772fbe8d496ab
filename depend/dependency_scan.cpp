#include "depend/dependency_scan.h"

#include "core/phase.h"
#include "depend/scan_state.h"

namespace quorle::depend {

ScanState& State() {
    static ScanState state;
    return state;
}

ScanOutcome GetFileDependencies(PhaseIndex phase, const ScanCall& call) {
    switch (phase) {
    case kPhaseCompiler:
        return ScanCompiler(call, platform::GetOsVersion());
    case kPhaseAssembler:
        return {ScanAssembler(call), {}};
    case kPhaseLinker:
        return ScanLinker(call);
    case kPhaseGenerator:
        return {ScanGenerator(call), {}};
    default:
        return {1, {}};
    }
}

} // namespace quorle::depend
