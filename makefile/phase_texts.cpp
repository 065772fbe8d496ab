#include "makefile/phase_texts.h"

#include "cmdline/assembler_command.h"
#include "cmdline/command_text.h"
#include "cmdline/compiler_command.h"
#include "cmdline/generator_command.h"
#include "cmdline/linker_makefile.h"
#include "makefile/relative_path.h"
#include "models/assembler_model.h"
#include "models/compiler_model.h"
#include "models/generator_model.h"
#include "models/linker_model.h"
#include "phases/input_list.h"
#include "phases/step_models.h"

namespace quorle::makefile {

namespace {

PhaseText Failed() {
    return PhaseText{1, {}, {}, {}};
}

PhaseText Text(std::string text, const PathContext& paths) {
    return PhaseText{0, SubstituteInstallDir(text, paths.installDir), {}, {}};
}

} // namespace

std::string PathContext::Relative(std::string_view path) const {
    return RelativeMakefilePath(path, baseDir, installDir);
}

std::string PathContext::Quoted(std::string_view path) const {
    return cmdline::QuotePath(Relative(path));
}

PhaseText CompilerMakefileText(const std::vector<std::string>& entries, std::string_view options,
                               const PathContext& paths) {
    models::CompilerModel model = models::CompilerModel::FromFileEntry(entries.front(), options);
    auto inputs = phases::QuotedInputPaths(
        entries, [&](const std::string& path) { return paths.Relative(path); });
    if (!inputs) return Failed();
    cmdline::PathWriter writer = [&](std::string_view path) { return paths.Quoted(path); };
    return Text(cmdline::BuildCompilerMakefileCommand(model, *inputs, writer), paths);
}

PhaseText AssemblerMakefileText(const std::vector<std::string>& entries, std::string_view options,
                                const PathContext& paths) {
    models::AssemblerModel model(options);
    auto inputs = phases::QuotedInputPaths(
        entries, [&](const std::string& path) { return paths.Relative(path); });
    if (!inputs) return Failed();
    cmdline::PathWriter writer = [&](std::string_view path) { return paths.Quoted(path); };
    return Text(*inputs + "\n" + cmdline::BuildAssemblerMakefileArguments(model, writer), paths);
}

PhaseText GeneratorMakefileText(std::string_view options, const PathContext& paths) {
    models::GeneratorModel model(options);
    if (model.build_ != 1) return PhaseText{2, {}, {}, {}};
    cmdline::PathWriter writer = [&](std::string_view path) { return paths.Quoted(path); };
    return Text(cmdline::BuildGeneratorMakefileText(model, writer), paths);
}

PhaseText LinkerMakefileText(const std::vector<std::string>& entries, std::string_view options,
                             const PathContext& paths, bool skipReordering) {
    models::LinkerRead read = models::ReadLinkerModel(options, phases::kLinkerMapOptimisationFile);
    models::LinkerModel& model = read.model;
    PhaseText result;
    if (model.subcommand_) {
        result.userSubcommandFile = paths.Relative(model.subcommandFile_);
    } else {
        std::string text;
        cmdline::MakefilePathRewriter rewriter = [&](const std::string& path) {
            return paths.Relative(path);
        };
        result = cmdline::BuildMakefileSubcommand(model, entries, text, paths.configDir,
                                                  skipReordering, rewriter)
                     ? Text(std::move(text), paths)
                     : Failed();
    }
    result.messages = std::move(read.messages);
    return result;
}

} // namespace quorle::makefile
