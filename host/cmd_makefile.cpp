// quorle-host makefile: a makefile for GNU make from the plug-in's makefile
// commands. The plug-in's rule commands and texts follow the IDE's native
// tools; the host converts what it writes so that the rules run with the
// GNU tools: tool paths in POSIX form, each step's sub-command file holding
// the argument text its build runs (the generator keeps the plug-in's own
// text, which the stand-in reads), header dependencies from gcc's -MMD
// files, and the S-record file made from the linked program.
#include <cstdio>
#include <filesystem>

#include "host/text_list.h"
#include "host/tool_run.h"
#include "host/workspace_command.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

std::string MakeEscape(const std::string& path) {
    std::string out;
    for (char c : path) {
        if (c == ' ' || c == '#' || c == ':') out += '\\';
        if (c == '$') out += '$';
        out += c;
    }
    return out;
}

std::string Relative(const std::string& path, const std::string& base) {
    std::string prefix = base + "/";
    return path.rfind(prefix, 0) == 0 ? path.substr(prefix.size()) : path;
}

// The rule's command in POSIX form: "$(EXEDIR)\$(EXENAME)" names a program.
std::string PosixCommand(std::string line) {
    for (size_t at = line.find(")\\$("); at != std::string::npos; at = line.find(")\\$(", at))
        line[at + 1] = '/';
    return line;
}

// One argument per line, quoted when it holds a blank.
std::string ArgumentText(const std::vector<std::string>& args) {
    std::string text;
    for (const std::string& arg : args)
        text += (arg.find_first_of(" \t") != std::string::npos ? "\"" + arg + "\"" : arg) + "\n";
    return text;
}

struct StepTexts {
    std::string commands; // recipe lines, each ending in a line feed
    std::string subcommand;
    std::string depFile; // the -MMD file of a compile
    // The build links through gcc, so the rule does too.
    bool useGccToLink = false;
};

// What the step's build runs: PrePhase's argument text, placeholders expanded.
std::optional<std::vector<std::string>> BuildArguments(const WorkspaceCommand& command,
                                                       const ProjectPlan& p, const Step& step,
                                                       const std::string& inputs,
                                                       bool& useGccToLink) {
    const PhaseDesc& phase = p.plan.phases[step.phase];
    PrePhaseResult pre = command.calls().PrePhase(
        phase.name, inputs, p.plan.OptionsOf(step, p.context), p.context.info());
    auto tool = pre.result == 0 ? ParseToolCommand(pre.command) : std::nullopt;
    auto text = tool ? platform::ReadFile(tool->subcommandFile, true) : std::nullopt;
    if (!text) return std::nullopt;
    useGccToLink = tool->useGccToLink;
    std::string leaf = step.file.empty() ? p.project.name : FileLeaf(step.file);
    std::vector<std::string> args;
    for (const std::string& arg : SplitArguments(*text))
        args.push_back(ToolArgument(p.context.Expand(arg, leaf)));
    return args;
}

std::optional<StepTexts> ConvertStep(const WorkspaceCommand& command, const ProjectPlan& p,
                                     const Step& step, const std::string& inputs,
                                     const PluginCalls::MakefileTexts& texts) {
    const PhaseDesc& phase = p.plan.phases[step.phase];
    StepTexts out;
    for (const std::string& line : SplitAll(texts.command, '\n'))
        if (!line.empty()) out.commands += "\t" + PosixCommand(line) + "\n";
    if (phase.place == "PRE_COMPILE") {
        out.subcommand = texts.subcommand + "\n";
        return out;
    }
    auto args = BuildArguments(command, p, step, inputs, out.useGccToLink);
    if (!args) return std::nullopt;
    if (phase.Compiles()) {
        fs::path object = fs::u8path(step.outputs.front().path);
        out.depFile = (object.parent_path() / (object.stem().string() + ".d")).generic_string();
        // The rule's target as the makefile names it, so make finds the rule.
        for (const char* extra : {"-MMD", "-MT"}) args->push_back(extra);
        args->push_back(Relative(step.outputs.front().path, p.project.dir));
    }
    out.subcommand = ArgumentText(*args);
    if (phase.Links()) {
        std::string triplet = TripletOf(command.session().workspace().toolchainName);
        const OutputFile* srec = nullptr;
        const OutputFile* program = nullptr;
        for (const OutputFile& o : step.outputs) (o.type == "S-Record file" ? srec : program) = &o;
        if (srec != nullptr && program != nullptr)
            out.commands += "\t\"$(EXEDIR)/" + triplet + "-objcopy.exe\" -O srec \"" +
                            program->path + "\" \"" + srec->path + "\"\n";
    }
    return out;
}

// Writes one project's makefile and its sub-command files; counts the steps
// the plug-in gave no makefile command for in `failures`.
std::optional<int> WriteMakefile(const WorkspaceCommand& command, const ProjectPlan& p,
                                 int& failures) {
    const std::string base = p.project.dir;
    const std::string subDir = p.context.configDir() + "/makefile";
    std::error_code ec;
    fs::create_directories(subDir, ec);
    std::string triplet = TripletOf(command.session().workspace().toolchainName);

    std::string rules, all, depends;
    std::vector<std::string> earlier; // outputs of the steps so far
    int index = 0;
    for (const Step& step : p.plan.steps) {
        const PhaseDesc& phase = p.plan.phases[step.phase];
        if (!step.HasOptions() || step.outputs.empty()) continue;
        std::vector<std::string> inputs;
        if (!phase.single) {
            inputs.push_back(step.filePath + "|" + step.fileType);
        } else if (phase.Links()) {
            inputs = step.projectInputs;
            for (const Step& other : p.plan.steps) {
                if (&other == &step) break;
                for (const OutputFile& out : other.outputs)
                    for (const std::string& type : phase.inputTypes)
                        if (type == out.type) inputs.push_back(out.path + "|" + out.type);
            }
        }
        std::string inputList = JoinNulList(inputs);
        auto texts = command.calls().MakefileCommand(
            phase.name, inputList, p.plan.OptionsOf(step, p.context), base, p.context.info());
        if (texts.result == 2) continue;
        auto converted =
            texts.result == 0 ? ConvertStep(command, p, step, inputList, texts) : std::nullopt;
        if (!converted) {
            command.Error("no makefile command for " +
                          (step.file.empty() ? phase.name : step.file));
            ++failures;
            continue;
        }
        ++index;
        std::string target;
        for (const OutputFile& out : step.outputs)
            target += (target.empty() ? "" : " ") + MakeEscape(Relative(out.path, base));
        std::string first = MakeEscape(Relative(step.outputs.front().path, base));
        std::string tool = ToolOf(phase.place, step.fileType, converted->useGccToLink);
        std::string subFile = subDir + "/" + std::to_string(index) + "_" +
                              FileLeaf(step.outputs.front().path) + ".sub";
        platform::WriteFile(subFile, converted->subcommand, false);
        if (!converted->depFile.empty())
            depends += " " + MakeEscape(Relative(converted->depFile, base));
        rules += first + ": EXENAME = " + triplet + "-" + tool + ".exe\n";
        rules += first + ": SUB = " + MakeEscape(Relative(subFile, base)) + "\n";
        rules += target + ":";
        if (!step.filePath.empty()) rules += " " + MakeEscape(Relative(step.filePath, base));
        if (phase.Links())
            for (const std::string& out : earlier) rules += " " + out;
        rules += "\n" + converted->commands + "\n";
        for (const OutputFile& out : step.outputs)
            earlier.push_back(MakeEscape(Relative(out.path, base)));
        if (phase.Links()) all += " " + target;
    }
    if (all.empty())
        for (const std::string& out : earlier) all += " " + out;
    std::string text = "# " + p.project.name + ", configuration " + p.config.name +
                       ": written by quorle-host from the plug-in's makefile commands.\n"
                       "# Each rule runs the step's tool with a sub-command file; run make\n"
                       "# from this directory.\n\n";
    text += "TC_INSTALL_DIR = " + p.context.toolchainDir() + "\n";
    text += "EXEDIR = " + p.context.toolchainDir() + "/" + triplet + "/bin\n\n";
    text += "all:" + all + "\n\n" + rules + ".PHONY: all\n";
    if (!depends.empty())
        text += "\n# Header dependencies, written by gcc (-MMD).\n-include" + depends + "\n";
    std::string file = base + "/" + p.project.name + "_" + p.config.name + ".mak";
    if (!platform::WriteFile(file, text, false)) return command.Error("cannot write " + file);
    std::printf("Wrote %s and %d sub-command file%s in %s\n", file.c_str(), index,
                index == 1 ? "" : "s", subDir.c_str());
    return std::nullopt;
}

} // namespace

int RunMakefile(const CommandContext& context) {
    WorkspaceCommand command(context, "makefile");
    if (!command.ok()) return command.exitCode();
    int failures = 0;
    auto stopped = command.ForEachPlan(
        [&](const ProjectPlan& p) { return WriteMakefile(command, p, failures); });
    if (stopped) return *stopped;
    return failures == 0 ? 0 : 1;
}

} // namespace quorle::host
