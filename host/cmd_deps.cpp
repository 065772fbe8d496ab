// quorle-host deps FILE: the dependencies the plug-in finds for one file.
#include <cstdio>

#include "host/workspace_command.h"

namespace quorle::host {

int RunDeps(const CommandContext& context) {
    WorkspaceCommand command(context, "deps", "quorle-host deps [WORKSPACE] [--config NAME] FILE");
    if (!command.ok()) return command.exitCode();
    const std::string& wanted = command.options().positional.front();
    auto stopped = command.ForEachPlan([&](const ProjectPlan& p) -> std::optional<int> {
        std::string path = p.context.FilePath(wanted);
        for (const Step& step : p.plan.steps) {
            if (step.filePath != path && step.file != wanted) continue;
            const PhaseDesc& phase = p.plan.phases[step.phase];
            auto deps = command.calls().FileDependencies(phase.name, step.filePath, step.fileType,
                                                         p.plan.OptionsOf(step, p.context), false,
                                                         p.context.info());
            if (!deps) return command.Error("GetFileDependencies failed");
            std::printf("%s (%s, %s):\n", step.file.c_str(), step.fileType.c_str(),
                        phase.name.c_str());
            int errors = 0;
            for (const DependencyItem& dep : *deps) {
                if (!dep.error.empty()) {
                    std::printf("  error: %s\n", dep.error.c_str());
                    ++errors;
                } else {
                    std::printf("  %s  [%s%s]\n", NativePath(dep.path).c_str(),
                                dep.system ? "system, " : "", dep.type.c_str());
                }
            }
            if (deps->empty()) std::printf("  (no dependencies)\n");
            return errors == 0 ? 0 : 1;
        }
        return std::nullopt;
    });
    if (stopped) return *stopped;
    return command.Error(wanted + " is not a file of a build step");
}

} // namespace quorle::host
