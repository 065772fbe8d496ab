// Makefile commands: for one build step, the command line a generated
// makefile runs and the text of the sub-command file it reads.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/phase.h"
#include "core/user_message.h"

struct QuorleProjectInfo;

namespace quorle::makefile {

inline constexpr std::string_view kFirstUseWarning =
    "Correct makefile generation is not currently guaranteed for Dravik GNU toolchains";

struct MakefileCall {
    const char* inputList = nullptr;
    const void* value = nullptr;
    const char* options = nullptr;
    const char* baseDir = nullptr;
    char* textBuffer = nullptr;
    char** command = nullptr;
    char** subcommand = nullptr;
    const QuorleProjectInfo* info = nullptr;
    int32_t linkerArgument = 0;
    // Accepted for the host's sake; no text builder depends on it.
    int32_t makefileMode = 0;
};

// The result (0 both texts handed out, 1 failure, 2 nothing to do) and what
// the user is to be told, in order.
struct MakefileOutcome {
    int result = 1;
    UserMessages messages;
};
MakefileOutcome GenerateMakefile(PhaseIndex phaseIndex, const MakefileCall& call);

// Puts the sub-command text in place of the command (the makefile then runs
// the tool directly) and clears the sub-command pointer. 0, or 1 when the
// new block cannot be had.
int MakeInline(char** command, char** subcommand);

// "\"$(EXEDIR)\\$(EXENAME)\" -subcommand=" and the given target, two newlines.
std::string CommandText(std::string_view subcommandTarget);

} // namespace quorle::makefile
