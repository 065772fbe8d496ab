#include "phases/pre_phase.h"

#include <cstring>
#include <string>

#include "cmdline/assembler_command.h"
#include "cmdline/compiler_command.h"
#include "cmdline/generator_command.h"
#include "cmdline/linker_text.h"
#include "core/phase.h"
#include "core/record_check.h"
#include "core/records.h"
#include "models/assembler_model.h"
#include "models/generator_model.h"
#include "models/linker_model.h"
#include "phases/input_list.h"
#include "phases/paths.h"
#include "phases/text_files.h"
#include "platform/platform.h"
#include "resources/string_ids.h"
#include "resources/string_table.h"
#include "sections/layout_checks.h"
#include "sections/script_file.h"
#include "toolchain/family.h"
#include "toolchain/toolchain_names.h"

namespace quorle::phases {

namespace {

bool ArgumentsPresent(const PrePhaseCall& call, bool needInputList) {
    if (needInputList && call.inputList == nullptr) return false;
    if (call.value == nullptr || call.options == nullptr || call.text == nullptr ||
        call.commandReady == nullptr || call.command == nullptr || call.directory == nullptr ||
        call.info == nullptr)
        return false;
    return HasRecordSize(call.info) && call.info->configDir != nullptr;
}

// The command (marker, prefix, quoted path) and the configuration directory
// must fit the host's buffers with their NULs. The marker counts too, or a
// long path would run past the command buffer.
bool Fits(std::string_view marker, std::string_view prefix, std::string_view path,
          std::string_view configDir) {
    return marker.size() + prefix.size() + path.size() + 4 <= kCommandBufferSize &&
           configDir.size() < kCommandBufferSize;
}

int HandOver(const PrePhaseCall& call, const std::string& command) {
    std::string_view configDir = call.info->configDir;
    std::memcpy(call.command, command.c_str(), command.size() + 1);
    std::memcpy(call.directory, configDir.data(), configDir.size());
    call.directory[configDir.size()] = '\0';
    *call.commandReady = 1;
    return kPhaseOk;
}

// Writes a sub-command file and hands its command over.
int WriteAndHandOver(const PrePhaseCall& call, const std::string& prefix, const std::string& path,
                     const std::string& content) {
    if (WriteProtectedTextFile(path, content, SubcommandFileAttributes()) != kWriteOk)
        return kPhaseFailed;
    return HandOver(call, AtCommand(prefix, path));
}

int CompilerPrePhase(const PrePhaseCall& call) {
    if (call.inputList == nullptr || *call.inputList == '\0') return kPhaseNothingToDo;
    if (!ArgumentsPresent(call, true)) return kPhaseFailed;
    auto prefix = LoadModuleString(strings::kCommandPrefix);
    auto extension = LoadModuleString(strings::kCompilerExtension);
    if (!prefix || !extension) return kPhaseFailed;
    std::vector<std::string> entries = SplitInputList(call.inputList);
    models::CompilerModel model =
        models::CompilerModel::FromFileEntry(entries.front(), call.options);
    std::string configDir = call.info->configDir;
    std::string path = SubcommandFilePath(configDir, model.objPath_.leaf, *extension);
    if (!Fits({}, *prefix, path, configDir)) return kPhaseFailed;
    // gcc does not create the directory of its output file. A directory that
    // still names a placeholder was never resolved: made as it stands, it
    // would land, under that literal name, wherever the process happens to be.
    if (model.OutputDirectory().find("$(") == std::string::npos)
        CreateDirectoryChain(model.OutputDirectory());
    auto inputs = QuotedInputPaths(entries);
    if (!inputs) return kPhaseFailed;
    return WriteAndHandOver(call, *prefix, path, cmdline::BuildCompilerCommand(model, *inputs));
}

int AssemblerPrePhase(const PrePhaseCall& call) {
    if (call.inputList == nullptr || *call.inputList == '\0') return kPhaseNothingToDo;
    if (!ArgumentsPresent(call, true)) return kPhaseFailed;
    auto prefix = LoadModuleString(strings::kCommandPrefix);
    if (!prefix) return kPhaseFailed;
    models::AssemblerModel model(call.options);
    std::string configDir = call.info->configDir;
    std::string path = SubcommandFilePath(configDir, model.objPath_.leaf, "gas");
    if (!Fits({}, *prefix, path, configDir)) return kPhaseFailed;
    auto inputs = QuotedInputPaths(SplitInputList(call.inputList));
    if (!inputs) return kPhaseFailed;
    std::string content = *inputs + "\n" + cmdline::BuildAssemblerArguments(model);
    return WriteAndHandOver(call, *prefix, path, content);
}

int GeneratorPrePhase(const PrePhaseCall& call) {
    if (!ArgumentsPresent(call, false)) return kPhaseFailed;
    auto prefix = LoadModuleString(strings::kCommandPrefix);
    if (!prefix) return kPhaseFailed;
    models::GeneratorModel model(call.options);
    if (model.build_ != 1) return kPhaseNothingToDo;
    std::string configDir = call.info->configDir;
    cmdline::GeneratorPrePhase decision = cmdline::DecideGeneratorPrePhase(model, configDir);
    if (!Fits({}, *prefix, decision.subcommandPath, configDir)) return kPhaseFailed;
    // The sub-command file doubles as the record of the last library build.
    if (!decision.run) return kPhaseNothingToDo;
    return WriteAndHandOver(call, *prefix, decision.subcommandPath, decision.text);
}

std::string Field(const char* text) {
    return text == nullptr ? std::string() : text;
}

// Writes the generated ld script; not ok when the file cannot be created,
// since the "-T" line would name a stale or missing script.
sections::ScriptWrite WriteLinkerScript(const std::string& path, const models::LinkerModel& model,
                                        const QuorleProjectInfo& info) {
    sections::ScriptTarget target;
    target.effectiveToolchain = toolchain::EffectiveToolchainName(info);
    target.cpuType = model.cpu_.cpuType_;
    target.normalMode =
        Field(info.toolchainName) == toolchain::kPelkaToolchain && model.NormalMode();
    return sections::WriteLinkerScript(path, model.layout_, target,
                                       sections::ProjectResolver(info));
}

void Append(UserMessages& to, const UserMessages& from) {
    to.insert(to.end(), from.begin(), from.end());
}

StepOutcome LinkerPrePhase(const PrePhaseCall& call) {
    if (!ArgumentsPresent(call, true)) return {kPhaseFailed, {}};
    auto prefix = LoadModuleString(strings::kCommandPrefix);
    if (!prefix) return {kPhaseFailed, {}};
    const QuorleProjectInfo& info = *call.info;
    std::string configDir = info.configDir;
    models::LinkerRead read = models::ReadLinkerModel(
        call.options, CombinePath(configDir, Field(info.projectName), "bls"));
    models::LinkerModel& model = read.model;
    StepOutcome outcome{kPhaseFailed, std::move(read.messages)};
    std::string base = TildeName(WithoutExtension(LastComponent(model.outputFile_)));
    bool userFile = model.subcommand_ && model.subcommandType_ == 0;
    bool generateScript = !(model.subcommand_ && model.subcommandType_ == 1);
    std::string path = userFile ? model.subcommandFile_ : CombinePath(configDir, base, "gld");
    std::string marker = cmdline::GccMarker(model);
    if (!marker.empty()) marker += ' ';
    if (!Fits(marker, *prefix, path, configDir)) return outcome;
    if (!userFile) {
        // ld would stop at the first entry it cannot read, naming only a
        // line of a generated script; the user's layout names the group.
        if (generateScript) {
            std::string unreadable = sections::CheckLayoutSectionEntries(model.layout_.groups);
            if (!unreadable.empty()) {
                outcome.messages.push_back(ErrorText(std::move(unreadable)));
                return outcome;
            }
        }
        std::string text;
        cmdline::LinkTextResult link = cmdline::BuildLinkText(model, SplitInputList(call.inputList),
                                                              text, configDir, /*inputFile=*/true);
        Append(outcome.messages, link.messages);
        if (!link.ok) return outcome;
        // The link text builder has told the user; a link without those
        // objects would build a wrong program, so the step stops here.
        if (!link.unwrittenInputs.empty()) return outcome;
        if (generateScript) {
            std::string script =
                CombinePath(configDir, base + "_" + Field(info.configName) + "_auto", "gsi");
            sections::ScriptWrite written = WriteLinkerScript(script, model, info);
            Append(outcome.messages, written.messages);
            if (!written.ok) return outcome;
            text = "-T \"" + script + "\"\n" + text;
        }
        if (WriteProtectedTextFile(path, text, SubcommandFileAttributes()) != kWriteOk)
            return outcome;
    }
    outcome.status = HandOver(call, marker + AtCommand(*prefix, path));
    return outcome;
}

} // namespace

StepOutcome RunPrePhase(PhaseIndex phaseIndex, const PrePhaseCall& call) {
    switch (phaseIndex) {
    case kPhaseCompiler:
        return {CompilerPrePhase(call), {}};
    case kPhaseAssembler:
        return {AssemblerPrePhase(call), {}};
    case kPhaseLinker:
        return LinkerPrePhase(call);
    case kPhaseGenerator:
        return {GeneratorPrePhase(call), {}};
    default:
        return {kPhaseFailed, {}};
    }
}

} // namespace quorle::phases
