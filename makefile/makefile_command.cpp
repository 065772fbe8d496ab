#include "makefile/makefile_command.h"

#include <cstdlib>

#include "cmdline/command_text.h"
#include "core/phase.h"
#include "core/record_check.h"
#include "core/records.h"
#include "core/result_buffer.h"
#include "makefile/phase_texts.h"
#include "makefile/relative_path.h"
#include "phases/input_list.h"
#include "platform/platform.h"

namespace quorle::makefile {

namespace {

// Cleared by the first compiler handler of the loaded module.
bool g_firstUseWarningPending = true;

// The warning once per loaded module, then nothing.
UserMessages TakeFirstUseWarning() {
    if (!g_firstUseWarningPending) return {};
    g_firstUseWarningPending = false;
    return {WarningText(std::string(kFirstUseWarning))};
}

bool ArgumentsPresent(const MakefileCall& call) {
    return call.value != nullptr && call.options != nullptr && call.baseDir != nullptr &&
           call.textBuffer != nullptr && call.command != nullptr && call.subcommand != nullptr &&
           HasRecordSize(call.info);
}

void NewlinesToNul(char* block) {
    for (; *block != '\0'; ++block)
        if (*block == '\n') *block = '\0';
}

std::string WithoutFinalNewline(std::string text) {
    if (!text.empty() && text.back() == '\n') text.pop_back();
    return text;
}

// Hands both texts to the host: the command as a one-entry text list.
int HandOut(const MakefileCall& call, const std::string& command, const std::string& subcommand) {
    char* commandBlock = AllocateHostText(command);
    if (commandBlock == nullptr) return 1;
    char* subcommandBlock = AllocateHostText(subcommand);
    if (subcommandBlock == nullptr) {
        std::free(commandBlock);
        return 1;
    }
    NewlinesToNul(commandBlock);
    *call.command = commandBlock;
    *call.subcommand = subcommandBlock;
    call.textBuffer[0] = '\0';
    return 0;
}

} // namespace

std::string CommandText(std::string_view subcommandTarget) {
    std::string text = "\"$(EXEDIR)\\$(EXENAME)\" -subcommand=";
    text += subcommandTarget;
    text += "\n\n";
    return text;
}

MakefileOutcome GenerateMakefile(PhaseIndex phaseIndex, const MakefileCall& call) {
    MakefileOutcome outcome{1,
                            phaseIndex == kPhaseCompiler ? TakeFirstUseWarning() : UserMessages{}};
    auto finish = [&outcome](int result) {
        outcome.result = result;
        return std::move(outcome);
    };
    bool needsInputs = phaseIndex == kPhaseCompiler || phaseIndex == kPhaseAssembler;
    if (needsInputs && (call.inputList == nullptr || *call.inputList == '\0')) return finish(2);
    if (!ArgumentsPresent(call)) return finish(1);

    PathContext paths{call.baseDir, call.info->toolchainDir ? call.info->toolchainDir : "",
                      call.info->configDir ? call.info->configDir : ""};
    std::vector<std::string> entries = phases::SplitInputList(call.inputList);
    PhaseText text;
    switch (phaseIndex) {
    case kPhaseCompiler:
        text = CompilerMakefileText(entries, call.options, paths);
        break;
    case kPhaseAssembler:
        text = AssemblerMakefileText(entries, call.options, paths);
        break;
    case kPhaseGenerator:
        text = GeneratorMakefileText(call.options, paths);
        break;
    case kPhaseLinker:
        text = LinkerMakefileText(entries, call.options, paths, call.linkerArgument != 0);
        break;
    default:
        return finish(1);
    }
    outcome.messages.insert(outcome.messages.end(), text.messages.begin(), text.messages.end());
    if (text.result != 0) return finish(text.result);
    std::string command =
        CommandText(text.userSubcommandFile.empty() ? std::string_view("$(SUB)")
                                                    : std::string_view(text.userSubcommandFile));
    return finish(HandOut(call, command, WithoutFinalNewline(std::move(text.subcommand))));
}

int MakeInline(char** command, char** subcommand) {
    if (command == nullptr || subcommand == nullptr) return 1;
    const char* text = *subcommand != nullptr ? *subcommand : "";
    char* block = AllocateHostText(text);
    if (block == nullptr) return 1;
    std::free(*command);
    std::free(*subcommand);
    *command = block;
    *subcommand = nullptr;
    return 0;
}

} // namespace quorle::makefile
