// Just before the host runs a tool: the tool's arguments go into a hidden,
// read-only sub-command file in the configuration directory and the host is
// handed "@" and the quoted path of that file.
#pragma once

#include <cstddef>
#include <cstdint>

#include "core/phase.h"
#include "phases/run_tool.h"

struct QuorleProjectInfo;

namespace quorle::phases {

// Results: 0 command produced, 1 failure, 2 nothing to do.
enum PhaseResult : int { kPhaseOk = 0, kPhaseFailed = 1, kPhaseNothingToDo = 2 };

// Command and directory buffers take at most this many bytes with the NUL.
inline constexpr size_t kCommandBufferSize = 1024;

struct PrePhaseCall {
    const char* inputList = nullptr;
    const void* value = nullptr;
    const char* options = nullptr;
    const char* text = nullptr;
    int32_t* commandReady = nullptr;
    char* command = nullptr;
    char* directory = nullptr;
    const QuorleProjectInfo* info = nullptr;
};

// The result (a PhaseResult) and what the user is to be told, in order.
StepOutcome RunPrePhase(PhaseIndex phaseIndex, const PrePhaseCall& call);

} // namespace quorle::phases
