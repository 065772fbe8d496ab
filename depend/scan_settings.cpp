#include "depend/scan_settings.h"

#include <mutex>

#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/linker_model.h"

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
    models::CompilerModel model(fileType, optionString);
    CompilerScanSettings settings;
    settings.macros = model.defines_;
    settings.includeDirs = model.incDirs_;
    settings.target.cpuRow = model.cpu_.cpuType_;
    settings.target.endian = model.cpu_.endian_;
    settings.target.familyFlags = model.cpu_.familyFlags_;
    return settings;
}

AssemblerScanSettings ReadAssemblerSettingsNow(std::string_view optionString) {
    models::AssemblerModel model(optionString);
    AssemblerScanSettings settings;
    settings.includeDirs = model.incDirs_;
    settings.skipMissing = model.skipDependency_;
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

LinkerSubcommandFile ReadLinkerSubcommandFile(std::string_view optionString,
                                              std::string_view mapOptimisationFile) {
    models::LinkerRead read = models::ReadLinkerModel(optionString, mapOptimisationFile);
    const models::LinkerModel& model = read.model;
    if (!model.subcommand_ || model.subcommandFile_.empty())
        return {std::nullopt, std::move(read.messages)};
    return {model.subcommandFile_, std::move(read.messages)};
}

} // namespace quorle::depend
