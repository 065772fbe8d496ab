#include "phases/output_files.h"

#include <vector>

#include "core/ascii_text.h"
#include "core/phase.h"
#include "models/compiler_model.h"
#include "models/linker_model.h"
#include "phases/paths.h"
#include "phases/step_models.h"

namespace quorle::phases {

namespace {

void AddEntry(std::string& list, std::string_view path, std::string_view type) {
    list += path;
    if (!type.empty()) {
        list += '|';
        list += type;
    }
    list += '\n';
}

std::optional<std::string> SingleEntryList(const std::string& configDir, const std::string& path,
                                           std::string_view type) {
    auto full = ResolveAgainst(configDir, path);
    if (!full) return std::nullopt;
    std::string list;
    AddEntry(list, *full, type);
    list += '\n';
    return list;
}

std::string_view CompilerOutputType(const models::CompilerModel& model) {
    switch (model.output_) {
    case models::kOutObject:
        return "Object file";
    case models::kOutAsmCode:
        return "Assembly source file";
    case models::kOutPreprocessor:
    // Preprocessing without line markers writes the same kind of file.
    case models::kOutPreprocessorNoLine:
        if (core::EqualsIgnoringCase(model.objPath_.ext, ".P")) return "Preprocessed C source file";
        if (core::EqualsIgnoringCase(model.objPath_.ext, ".PP"))
            return "Preprocessed C++ source file";
        return {};
    default:
        return {};
    }
}

std::optional<std::string> CompilerOutputs(std::string_view options, const std::string& configDir) {
    models::CompilerModel model({}, options);
    std::string_view type = CompilerOutputType(model);
    if (type.empty()) return std::nullopt;
    return SingleEntryList(configDir, CompilerObjectPath(model), type);
}

OutputList LinkerOutputs(std::string_view options, const std::string& configDir) {
    models::LinkerRead read = models::ReadLinkerModel(options, kLinkerMapOptimisationFile);
    const models::LinkerModel& model = read.model;
    OutputList failed{std::nullopt, read.messages};
    std::string_view type;
    bool bothForms = false;
    if (model.outputForm_ == models::kFormDefault) {
        type = "Absolute file";
    } else if (model.outputForm_ == models::kFormBoth) {
        type = "S-Record file";
        bothForms = true;
    }
    std::string list;
    std::string remembered;
    bool divided =
        model.divideOutput_ && !model.outputPieces_.empty() &&
        (model.outputForm_ == models::kFormDefault || model.outputForm_ == models::kFormBoth);
    if (divided) {
        for (const std::string& piece : model.outputPieces_) {
            auto full = ResolveAgainst(configDir, piece);
            if (!full) return failed;
            if (remembered.empty()) remembered = *full;
            AddEntry(list, *full, type);
        }
    } else {
        auto full = ResolveAgainst(configDir, model.outputFile_);
        if (!full) return failed;
        remembered = *full;
        std::string path = *full;
        std::string_view stem = WithoutExtension(path);
        if (bothForms && path.substr(stem.size()) == ".x") path = std::string(stem) + ".mot";
        AddEntry(list, path, type);
    }
    if (bothForms)
        AddEntry(list, std::string(WithoutExtension(remembered)) + ".x", "Absolute file");
    list += '\n';
    return {std::move(list), std::move(read.messages)};
}

std::optional<std::string> AssemblerOutputs(std::string_view options,
                                            const std::string& configDir) {
    return SingleEntryList(configDir, AssemblerObjectPath(options), "Object file");
}

std::optional<std::string> GeneratorOutputs(std::string_view options,
                                            const std::string& configDir) {
    return SingleEntryList(configDir, GeneratorLibraryPath(options), "Archive file");
}

} // namespace

OutputList OutputFileList(PhaseIndex phaseIndex, std::string_view options,
                          const std::string& configDir) {
    switch (phaseIndex) {
    case kPhaseCompiler:
        return {CompilerOutputs(options, configDir), {}};
    case kPhaseAssembler:
        return {AssemblerOutputs(options, configDir), {}};
    case kPhaseLinker:
        return LinkerOutputs(options, configDir);
    case kPhaseGenerator:
        return {GeneratorOutputs(options, configDir), {}};
    default:
        return {};
    }
}

OutputList LinkerInputFiles(PhaseIndex phaseIndex, std::string_view options,
                            const std::string& configDir) {
    if (phaseIndex == kPhaseLinker) {
        models::LinkerRead read = models::ReadLinkerModel(options, kLinkerMapOptimisationFile);
        std::string text;
        for (const auto* list :
             {&read.model.libraries_, &read.model.objects_, &read.model.binaries_})
            for (const std::string& file : *list) text += file + "\n";
        return {text + "\n", std::move(read.messages)};
    }
    if (!IsImplementedPhase(phaseIndex)) return {};
    OutputList list = OutputFileList(phaseIndex, options, configDir);
    if (list.text) *list.text = list.text->substr(0, list.text->find('|'));
    return list;
}

MainOutput MainOutputFile(PhaseIndex phaseIndex, std::string_view options) {
    switch (phaseIndex) {
    case kPhaseCompiler:
        return {CompilerObjectPath(models::CompilerModel({}, options)), {}};
    case kPhaseAssembler:
        return {AssemblerObjectPath(options), {}};
    case kPhaseLinker: {
        models::LinkerRead read = models::ReadLinkerModel(options, kLinkerMapOptimisationFile);
        return {read.model.outputFile_, std::move(read.messages)};
    }
    case kPhaseGenerator:
        return {GeneratorLibraryPath(options), {}};
    default:
        return {};
    }
}

} // namespace quorle::phases
