#include "output/optimisation.h"

#include <chrono>
#include <thread>

#include "core/path_text.h"
#include "core/phase.h"
#include "models/compiler_model.h"
#include "models/linker_model.h"
#include "phases/step_models.h"

namespace quorle::output {

std::string InConfigDirectory(std::string_view path) {
    return "$(CONFIGDIR)\\" + std::string(LastComponent(path));
}

OptimisationModeAnswer OptimisationMode(PhaseIndex phaseIndex, std::string_view options) {
    if (phaseIndex == kPhaseCompiler) {
        // Read for its own sake only: the compiler has no optimising pass.
        models::CompilerModel model({}, options);
        return {};
    }
    if (phaseIndex != kPhaseLinker) return {};
    models::LinkerRead read = models::ReadLinkerModel(options, phases::kLinkerMapOptimisationFile);
    return {read.model.OptimisationFlag() ? 1 : 0, std::move(read.messages)};
}

OptimisationText OptimisationOptions(PhaseIndex phaseIndex, std::string_view options,
                                     int32_t request, uint32_t pauseMs) {
    if (phaseIndex != kPhaseLinker || (request != 1 && request != 2))
        return {std::string(options), {}};
    models::LinkerRead read = models::ReadLinkerModel(options, phases::kLinkerMapOptimisationFile);
    models::LinkerModel& model = read.model;
    if (request == 2) {
        model.SetOptimisationFlag(false);
        return {model.Serialize(), std::move(read.messages)};
    }
    if (!model.OptimisationFlag()) return {std::string(options), std::move(read.messages)};
    std::this_thread::sleep_for(std::chrono::milliseconds(pauseMs));
    if (!model.outputPieces_.empty()) {
        for (std::string& piece : model.outputPieces_) piece = InConfigDirectory(piece);
    } else {
        model.outputFile_ = InConfigDirectory(model.outputFile_);
    }
    return {model.Serialize(), std::move(read.messages)};
}

std::string OptimisationDependency(PhaseIndex phaseIndex, std::string_view options,
                                   int32_t request) {
    if (request == 2 && phaseIndex == kPhaseCompiler) models::CompilerModel model({}, options);
    return "\n";
}

} // namespace quorle::output
