// GetFileDependencies behind the export: one handler per phase and the
// module-wide caches they keep between calls.
#pragma once

#include <array>
#include <cstdint>

#include "core/phase.h"
#include "core/user_message.h"
#include "platform/platform.h"

struct QuorleProjectInfo;
struct QuorleDependencyRequest;

namespace quorle::depend {

// The export's arguments, as the host passed them.
struct ScanCall {
    const char* filePath = nullptr;
    const char* fileType = nullptr;
    const char* text = nullptr;
    const char* options = nullptr;
    int32_t batchContinuation = 0;
    char** result = nullptr;
    bool reset = false;
    std::array<const void*, 3> extra{}; // required non-null by the linker and generator, never read
    const QuorleProjectInfo* info = nullptr;
    const QuorleDependencyRequest* request = nullptr;
};

// A status, 0 on success with *result set to a list block the host frees
// with FreeSimpleType, 1 on failure or for a phase without a scan; and what
// the user is to be told.
struct ScanOutcome {
    int status = 1;
    UserMessages messages;
};
ScanOutcome GetFileDependencies(PhaseIndex phase, const ScanCall& call);

// The phase handlers. The compiler takes the system version, which decides
// whether the driver's support directory is put on the "path" variable.
ScanOutcome ScanCompiler(const ScanCall& call, platform::OsVersion version);
int ScanAssembler(const ScanCall& call);
ScanOutcome ScanLinker(const ScanCall& call);
int ScanGenerator(const ScanCall& call);

} // namespace quorle::depend
