// Upkeep of the default libraries and library directories of a linker
// options model; both act only when the model's fix-up flag is set.
#pragma once

#include <string_view>

#include "models/linker_model.h"

namespace quorle::cmdline {

// Keeps the C run-time libraries (or, for a library project, the project's
// own archive) at the end of the libraries list. `generatorLibrary` is the
// name of the project's library-generator output (without "lib" and ".a");
// its archive is renamed "lib$(PROJECTNAME).a". Empty means none.
void FixUpDefaultLibraries(models::LinkerModel& model, std::string_view generatorLibrary = {});

// Points the toolchain library directories at the multilib sub-directory of
// the model's CPU settings; a library project also gets "$(CONFIGDIR)".
void FixUpLibraryDirectories(models::LinkerModel& model);

} // namespace quorle::cmdline
