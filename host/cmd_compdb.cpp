// quorle-host compdb: compile_commands.json from the compiler steps'
// argument texts, for clangd and other editors.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "host/text_list.h"
#include "host/tool_run.h"
#include "host/workspace_command.h"
#include "platform/platform.h"

namespace quorle::host {

int RunCompdb(const CommandContext& context) {
    WorkspaceCommand command(context, "compdb");
    if (!command.ok()) return command.exitCode();
    const PluginCalls& calls = command.calls();
    const std::string triplet = TripletOf(command.session().workspace().toolchainName);
    nlohmann::json entries = nlohmann::json::array();
    int failures = 0;
    auto stopped = command.ForEachPlan([&](const ProjectPlan& p) -> std::optional<int> {
        for (const Step& step : p.plan.steps) {
            const PhaseDesc& phase = p.plan.phases[step.phase];
            if (!phase.Compiles() || !step.HasOptions()) continue;
            std::string input = JoinNulList({step.filePath + "|" + step.fileType});
            PrePhaseResult pre = calls.PrePhase(
                phase.name, input, p.plan.OptionsOf(step, p.context), p.context.info());
            auto tool = pre.result == 0 ? ParseToolCommand(pre.command) : std::nullopt;
            auto text = tool ? platform::ReadFile(tool->subcommandFile, true) : std::nullopt;
            if (!text) {
                command.Error("no argument text for " + step.file);
                ++failures;
                continue;
            }
            nlohmann::json args = nlohmann::json::array();
            args.push_back(ToolPath(p.context.toolchainDir(), triplet,
                                    ToolOf(phase.place, step.fileType, false)));
            for (const std::string& arg : SplitArguments(*text)) args.push_back(ToolArgument(arg));
            nlohmann::json entry = {{"directory", NativePath(pre.directory)},
                                    {"file", step.filePath},
                                    {"arguments", args}};
            if (!step.outputs.empty()) entry["output"] = step.outputs.front().path;
            entries.push_back(entry);
        }
        return std::nullopt;
    });
    if (stopped) return *stopped;
    std::string file = command.session().workspace().dir + "/compile_commands.json";
    if (!platform::WriteFile(file, entries.dump(2) + "\n", false))
        return command.Error("cannot write " + file);
    std::printf("Wrote %s with %zu entr%s\n", file.c_str(), entries.size(),
                entries.size() == 1 ? "y" : "ies");
    return failures == 0 ? 0 : 1;
}

} // namespace quorle::host
