#include "depend/scan_settings.h"

#include <mutex>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/linker_model.h"
#include "resources/message_box.h"

namespace quorle::depend {

namespace {

// A build scans file after file with the same option string: the model is
// read once for it, not once per file. The last answer is kept per kind.
template <class Settings> class LastSettings {
  public:
    template <class Read> Settings Get(const std::string& key, Read&& read) {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (valid_ && key == key_) return settings_;
        }
        Settings settings = read();
        std::lock_guard<std::mutex> lock(mutex_);
        key_ = key;
        settings_ = settings;
        valid_ = true;
        return settings;
    }

  private:
    std::mutex mutex_;
    bool valid_ = false;
    std::string key_;
    Settings settings_;
};

CompilerScanSettings ReadCompilerSettingsNow(std::string_view fileType,
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

AssemblerScanSettings ReadAssemblerSettingsNow(std::string_view optionString) {
    models::CAssemblerModel model(optionString);
    AssemblerScanSettings settings;
    settings.includeDirs = model.m_lstIncDirs;
    settings.skipMissing = model.m_bSkipDependency;
    return settings;
}

} // namespace

CompilerScanSettings ReadCompilerScanSettings(std::string_view fileType,
                                              std::string_view optionString) {
    static LastSettings<CompilerScanSettings> last;
    std::string key = std::string(fileType) + '\n' + std::string(optionString);
    return last.Get(key, [&] { return ReadCompilerSettingsNow(fileType, optionString); });
}

AssemblerScanSettings ReadAssemblerScanSettings(std::string_view optionString) {
    static LastSettings<AssemblerScanSettings> last;
    return last.Get(std::string(optionString),
                    [&] { return ReadAssemblerSettingsNow(optionString); });
}

std::optional<std::string> ReadLinkerSubcommandFile(std::string_view optionString,
                                                    std::string_view mapOptimisationFile) {
    models::CLinkerModel model(optionString, mapOptimisationFile);
    ShowUserMessages(model.ReadMessages());
    if (!model.m_bSubcommand || model.m_strSubcommandFile.empty()) return std::nullopt;
    return model.m_strSubcommandFile;
}

} // namespace quorle::depend
