// Assembler phase: the include scanner, with a result cache across calls.
#include "core/records.h"
#include "depend/dependency_scan.h"
#include "depend/include_scanner.h"
#include "depend/scan_guards.h"
#include "depend/scan_lists.h"
#include "depend/scan_settings.h"
#include "depend/scan_state.h"

namespace quorle::depend {

int ScanAssembler(const ScanCall& call) {
    ScanState& state = State();
    if (call.reset) {
        state.assemblerResults.clear();
        return 0;
    }
    if (call.filePath == nullptr || call.fileType == nullptr || call.text == nullptr ||
        call.options == nullptr || call.result == nullptr || !ValidProjectInfo(call.info) ||
        !ValidRequest(call.request))
        return 1;

    if (call.batchContinuation == 0) {
        state.assemblerReported.clear();
        state.includeSeen.clear();
    }
    std::string key = LowerPath(call.filePath);
    auto cached = state.assemblerResults.find(key);
    if (cached == state.assemblerResults.end()) {
        CurrentDirectoryGuard directory;
        if (!directory.Saved()) return 1;
        const char* configDir = call.info->configDir ? call.info->configDir : "";
        if (!directory.Enter(configDir)) return 1;
        if (call.batchContinuation == 0) state.assemblerSettingsValid = false;
        if (!state.assemblerSettingsValid) {
            state.assemblerSettings = ReadAssemblerScanSettings(call.options);
            state.assemblerSettingsValid = true;
        }
        IncludeScanInput input;
        input.sourcePath = call.filePath;
        input.sourceType = call.fileType;
        input.includeDirs = state.assemblerSettings.includeDirs;
        input.skipMissing = state.assemblerSettings.skipMissing;
        std::string list = ScanIncludes(input, state.includeSeen);
        cached = state.assemblerResults.emplace(key, std::move(list)).first;
    }
    // Within a batch each file's list goes out once.
    if (!state.assemblerReported.insert(key).second) return HandOutLines("\n\n", call.result);
    return HandOutLines(cached->second, call.result);
}

} // namespace quorle::depend
