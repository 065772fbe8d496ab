// What the build steps read from the option models: the main output file of
// each phase in the form the steps need.
#pragma once

#include <string>
#include <string_view>

#include "models/compiler_model.h"

namespace quorle::phases {

// The map-optimisation file the step handlers give the linker options model.
inline constexpr std::string_view kLinkerMapOptimisationFile = "$(CONFIGDIR)\\$(PROJECTNAME).bls";

// Output directory, base name and extension joined with a backslash.
std::string CompilerObjectPath(const models::CompilerModel& model);
// The assembler's object file (default extension "o").
std::string AssemblerObjectPath(std::string_view options);
// The generator's library ("S|OUTPUTPATH|", by default in the configuration directory).
std::string GeneratorLibraryPath(std::string_view options);

} // namespace quorle::phases

namespace quorle::phases {

// What the post-phase step needs of an assembler option string.
struct AssemblerStepFiles {
    std::string objectPath;
    std::string objectLeaf; // base name of the sub-command file
    bool listing = false;
    std::string listPath;
    // "I|GENOBJ|1" asks for the object file even after errors, so a discarded
    // step keeps it.
    bool keepObject = false;
};
AssemblerStepFiles AssemblerFiles(std::string_view options);

} // namespace quorle::phases
