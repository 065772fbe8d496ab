// The library generator's sub-command text, its makefile variant and the
// decision whether the Generator phase has to run.
#pragma once

#include <string>
#include <string_view>

#include "cmdline/command_text.h"
#include "models/generator_model.h"

namespace quorle::cmdline {

// The sub-command text, or "" when the library is not to be built.
std::string BuildGeneratorSubcommand(const models::GeneratorModel& model);

// The makefile variant: the assembler-options line holds only the user
// assembler options and the output path goes through `rewriteMakefilePath`.
std::string BuildGeneratorMakefileText(const models::GeneratorModel& model,
                                       const PathWriter& rewriteMakefilePath);

// "lib$(PROJECTNAME).glg" for "$(CONFIGDIR)\lib$(PROJECTNAME).a": the output
// file's base name, blanks replaced by "~", extension "glg".
std::string GeneratorSubcommandFileName(std::string_view outputPath);

struct GeneratorPrePhase {
    bool run = false;           // false: nothing to do (result 2)
    std::string subcommandPath; // in the configuration directory
    std::string text;           // the sub-command text to write
};

// Whether the phase runs. In the "only when options change" mode the phase
// is skipped when the sub-command file and the output library both exist
// and the file already holds exactly the new text.
GeneratorPrePhase DecideGeneratorPrePhase(const models::GeneratorModel& model,
                                          std::string_view configDir);

} // namespace quorle::cmdline
