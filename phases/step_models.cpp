#include "phases/step_models.h"

#include "models/assembler_model.h"
#include "models/generator_model.h"
#include "phases/paths.h"

namespace quorle::phases {

std::string CompilerObjectPath(const models::CCompilerModel& model) {
    return CombinePath(model.m_objPath.dir, model.m_objPath.leaf, model.m_objPath.ext);
}

std::string AssemblerObjectPath(std::string_view options) {
    return models::CAssemblerModel(options).ObjectFile();
}

std::string GeneratorLibraryPath(std::string_view options) {
    return models::CGeneratorModel(options).m_strOutput;
}

AssemblerStepFiles AssemblerFiles(std::string_view options) {
    models::CAssemblerModel model(options);
    AssemblerStepFiles files;
    files.objectPath = model.ObjectFile();
    files.objectLeaf = model.m_objPath.leaf;
    files.listing = model.m_nListing != 0;
    files.listPath = model.ListFile();
    files.keepObject = model.m_nGenObj != 0;
    return files;
}

} // namespace quorle::phases
