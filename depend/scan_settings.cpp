#include "depend/scan_settings.h"

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/linker_model.h"
#include "resources/message_box.h"

namespace quorle::depend {

CompilerScanSettings ReadCompilerScanSettings(std::string_view fileType,
                                              std::string_view optionString) {
    models::CCompilerModel model(fileType, optionString);
    CompilerScanSettings settings;
    settings.macros = model.m_lstDefines;
    settings.includeDirs = model.m_lstIncDirs;
    settings.target.cpuRow = model.m_cpu.m_nCpuType;
    settings.target.endian = model.m_cpu.m_nEndian;
    settings.target.familyFlags = model.m_cpu.m_aFamilyFlags;
    return settings;
}

AssemblerScanSettings ReadAssemblerScanSettings(std::string_view optionString) {
    models::CAssemblerModel model(optionString);
    AssemblerScanSettings settings;
    settings.includeDirs = model.m_lstIncDirs;
    settings.skipMissing = model.m_bSkipDependency;
    return settings;
}

std::optional<std::string> ReadLinkerSubcommandFile(std::string_view optionString,
                                                    std::string_view mapOptimisationFile) {
    models::CLinkerModel model(optionString, mapOptimisationFile);
    ShowUserMessages(model.ReadMessages());
    if (!model.m_bSubcommand || model.m_strSubcommandFile.empty()) return std::nullopt;
    return model.m_strSubcommandFile;
}

} // namespace quorle::depend
