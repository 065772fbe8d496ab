// quorle-host clean: deletes what a build produced, as named by the plug-in.
#include <cstdio>
#include <filesystem>

#include "host/build_state.h"
#include "host/workspace_command.h"

namespace quorle::host {

namespace fs = std::filesystem;

int RunClean(const CommandContext& context) {
    WorkspaceCommand command(context, "clean");
    if (!command.ok()) return command.exitCode();
    int removed = 0;
    auto stopped = command.ForEachPlan([&](const ProjectPlan& p) -> std::optional<int> {
        std::error_code ec;
        for (const Step& step : p.plan.steps)
            for (const OutputFile& out : step.outputs)
                if (fs::remove(out.path, ec)) ++removed;
        if (fs::remove(BuildState::FileIn(p.context.configDir()), ec)) ++removed;
        return std::nullopt;
    });
    if (stopped) return *stopped;
    std::printf("Removed %d file%s.\n", removed, removed == 1 ? "" : "s");
    return 0;
}

} // namespace quorle::host
