// The sub-command text of each phase for a generated makefile: the phase's
// makefile argument text with paths relative to the base directory and the
// installation directory as "$(TC_INSTALL_DIR)".
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "core/user_message.h"

namespace quorle::makefile {

struct PathContext {
    std::string baseDir;
    std::string installDir;
    std::string configDir;
    // A path as the makefile writes it, without quotes.
    std::string Relative(std::string_view path) const;
    // The same in double quotes.
    std::string Quoted(std::string_view path) const;
};

struct PhaseText {
    int result = 0; // 0, 1 failure, 2 nothing to do
    std::string subcommand;
    // Set when the linker's options name the user's own sub-command file:
    // the command names it (relative) and the sub-command text is empty.
    std::string userSubcommandFile;
    // What the user is to be told about the options, in order.
    UserMessages messages;
};

PhaseText CompilerMakefileText(const std::vector<std::string>& entries, std::string_view options,
                               const PathContext& paths);
PhaseText AssemblerMakefileText(const std::vector<std::string>& entries, std::string_view options,
                                const PathContext& paths);
PhaseText GeneratorMakefileText(std::string_view options, const PathContext& paths);
PhaseText LinkerMakefileText(const std::vector<std::string>& entries, std::string_view options,
                             const PathContext& paths, bool skipReordering);

} // namespace quorle::makefile
