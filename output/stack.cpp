#include "output/stack.h"

#include "models/linker_model.h"
#include "phases/step_models.h"

namespace quorle::output {

StackFile StackInformationFile(std::string_view options) {
    // The options are read as the linker reads them, though nothing in them
    // names a stack file.
    return {std::string(),
            models::ReadLinkerModel(options, phases::kLinkerMapOptimisationFile).messages};
}

} // namespace quorle::output
