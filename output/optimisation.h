// The optimising-pass queries of the host: only the linker has an
// optimisation mode; the dependency query always answers an empty list.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/phase.h"
#include "core/user_message.h"

namespace quorle::output {

// 1 for a linker whose optimisation flag is on, otherwise 0; with what the
// user is to be told about the options.
struct OptimisationModeAnswer {
    int mode = 0;
    UserMessages messages;
};
OptimisationModeAnswer OptimisationMode(PhaseIndex phaseIndex, std::string_view options);

// The option string for an optimising pass. Linker only: request 2 clears the
// optimisation flag; request 1 (flag on) moves the output file, or every
// output piece, into "$(CONFIGDIR)" after a pause. Everything else is the
// option string unchanged.
struct OptimisationText {
    std::string options;
    UserMessages messages;
};
OptimisationText OptimisationOptions(PhaseIndex phaseIndex, std::string_view options,
                                     int32_t request, uint32_t pauseMs = 2000);

// The files an optimising pass depends on: always none ("\n", an empty list).
std::string OptimisationDependency(PhaseIndex phaseIndex, std::string_view options,
                                   int32_t request);

// "$(CONFIGDIR)" in place of the directory of a file name.
std::string InConfigDirectory(std::string_view path);

} // namespace quorle::output
