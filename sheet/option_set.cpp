#include "sheet/option_set.h"

#include "core/phase.h"

namespace quorle::sheet {

// The compiler model is read without a file type: option sets are shared by
// content across file types, so the model must not depend on one.
std::unique_ptr<models::ModelBase> MakeModel(int phase, std::string_view optionString) {
    switch (phase) {
    case kPhaseCompiler:
        return std::make_unique<models::CompilerModel>(
            models::CompilerModel::FromOptions(optionString));
    case kPhaseAssembler:
        return std::make_unique<models::AssemblerModel>(optionString);
    case kPhaseLinker:
        return std::make_unique<models::LinkerModel>(optionString);
    case kPhaseGenerator:
        return std::make_unique<models::GeneratorModel>(optionString);
    case kPhaseDebug:
        return std::make_unique<models::DebuggerModel>(optionString);
    default:
        return nullptr;
    }
}

std::unique_ptr<models::ModelBase> CloneModel(const models::ModelBase& model) {
    if (auto* m = As<models::CompilerModel>(&model))
        return std::make_unique<models::CompilerModel>(*m);
    if (auto* m = As<models::AssemblerModel>(&model))
        return std::make_unique<models::AssemblerModel>(*m);
    if (auto* m = As<models::LinkerModel>(&model)) return std::make_unique<models::LinkerModel>(*m);
    if (auto* m = As<models::GeneratorModel>(&model))
        return std::make_unique<models::GeneratorModel>(*m);
    if (auto* m = As<models::DebuggerModel>(&model))
        return std::make_unique<models::DebuggerModel>(*m);
    return nullptr;
}

} // namespace quorle::sheet
