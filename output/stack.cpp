#include "output/stack.h"

#include "models/linker_model.h"
#include "phases/step_models.h"
#include "resources/message_box.h"

namespace quorle::output {

std::string StackInformationFile(std::string_view options) {
    // The options are read as the linker reads them, though nothing in them
    // names a stack file.
    models::LinkerModel model(options, phases::kLinkerMapOptimisationFile);
    ShowUserMessages(model.ReadMessages());
    return std::string();
}

} // namespace quorle::output
