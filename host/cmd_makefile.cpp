// quorle-host makefile: a makefile whose rules run the IDE's build tool with
// the sub-command texts of GenerateMakefileCommand, one file per step.
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

// Writes one project's makefile and its sub-command files; counts the steps
// the plug-in gave no makefile command for in `failures`.
std::optional<int> WriteMakefile(const WorkspaceCommand& command, const ProjectPlan& p,
                                 int& failures) {
    const std::string base = p.project.dir;
    const std::string subDir = p.context.configDir() + "/makefile";
    std::error_code ec;
    fs::create_directories(subDir, ec);
    std::string triplet = TripletOf(command.session().workspace().toolchainName);

    std::string rules;
    std::string all;
    std::vector<std::string> earlier; // outputs of the steps so far
    int index = 0;
    for (const Step& step : p.plan.steps) {
        const PhaseDesc& phase = p.plan.phases[step.phase];
        if (step.options.empty() || step.outputs.empty()) continue;
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
        auto texts = command.calls().MakefileCommand(phase.name, JoinNulList(inputs), step.options,
                                                     base, p.context.info());
        if (texts.result == 2) continue;
        if (texts.result != 0) {
            command.Error("GenerateMakefileCommand failed for " +
                          (step.file.empty() ? phase.name : step.file));
            ++failures;
            continue;
        }
        ++index;
        std::string target;
        for (const OutputFile& out : step.outputs)
            target += (target.empty() ? "" : " ") + MakeEscape(Relative(out.path, base));
        std::string first = MakeEscape(Relative(step.outputs.front().path, base));
        std::string tool = ToolOf(phase.place, step.fileType, false);
        std::string subFile = subDir + "/" + std::to_string(index) + "_" +
                              FileLeaf(step.outputs.front().path) + ".sub";
        if (!texts.subcommand.empty()) platform::WriteFile(subFile, texts.subcommand + "\n", true);
        rules += first + ": EXENAME = " + triplet + "-" + tool + ".exe\n";
        rules += first + ": SUB = " + MakeEscape(Relative(subFile, base)) + "\n";
        rules += target + ":";
        if (!step.filePath.empty()) rules += " " + MakeEscape(Relative(step.filePath, base));
        if (phase.Links())
            for (const std::string& out : earlier) rules += " " + out;
        rules += "\n";
        for (const std::string& line : SplitAll(texts.command, '\n'))
            if (!line.empty()) rules += "\t" + line + "\n";
        rules += "\n";
        for (const OutputFile& out : step.outputs)
            earlier.push_back(MakeEscape(Relative(out.path, base)));
        if (phase.Links()) all += " " + target;
    }
    if (all.empty())
        for (const std::string& out : earlier) all += " " + out;
    std::string text = "# " + p.project.name + ", configuration " + p.config.name +
                       ": written by quorle-host from the plug-in's makefile commands.\n"
                       "# Each rule runs the IDE's build tool with a sub-command file; run make\n"
                       "# from this directory.\n\n"
                       "TC_INSTALL_DIR = " +
                       p.context.toolchainDir() +
                       "\n"
                       "EXEDIR = " +
                       p.context.toolchainDir() + "/" + triplet +
                       "/bin\n\n"
                       "all:" +
                       all + "\n\n" + rules + ".PHONY: all\n";
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
