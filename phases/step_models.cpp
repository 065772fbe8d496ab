#include "phases/step_models.h"

#include "models/assembler_model.h"
#include "models/generator_model.h"
#include "phases/paths.h"

namespace quorle::phases {

std::string CompilerObjectPath(const models::CompilerModel& model) {
    return CombinePath(model.objPath_.dir, model.objPath_.leaf, model.objPath_.ext);
}

std::string AssemblerObjectPath(std::string_view options) {
    return models::AssemblerModel(options).ObjectFile();
}

std::string GeneratorLibraryPath(std::string_view options) {
    return models::GeneratorModel(options).output_;
}

AssemblerStepFiles AssemblerFiles(std::string_view options) {
    models::AssemblerModel model(options);
    AssemblerStepFiles files;
    files.objectPath = model.ObjectFile();
    files.objectLeaf = model.objPath_.leaf;
    files.listing = model.listing_ != 0;
    files.listPath = model.ListFile();
    files.keepObject = model.genObj_ != 0;
    return files;
}

} // namespace quorle::phases
