// quorle-host clean: deletes what a build produced, as named by the plug-in.
#include <cstdio>
#include <filesystem>

#include "host/build_plan.h"
#include "host/build_state.h"
#include "host/commands.h"
#include "host/session.h"

namespace quorle::host {

namespace fs = std::filesystem;

int RunClean(const CommandContext& context) {
    std::string error;
    auto options = ParseHostOptions(context.args, false, error);
    if (!options) {
        std::fprintf(stderr, "quorle-host clean: %s\n", error.c_str());
        return 2;
    }
    auto session = Session::Open(*options, context.program, error);
    if (!session) {
        std::fprintf(stderr, "quorle-host clean: %s\n", error.c_str());
        return 1;
    }
    PluginCalls calls(context.api);
    int removed = 0;
    for (const Project* project : session->Projects()) {
        const Configuration* config = session->ConfigOf(*project);
        if (config == nullptr) continue;
        auto ctx = session->ContextFor(*project, *config);
        auto plan = MakeBuildPlan(calls, *ctx, error);
        if (!plan) {
            std::fprintf(stderr, "quorle-host clean: %s\n", error.c_str());
            return 1;
        }
        std::error_code ec;
        for (const Step& step : plan->steps)
            for (const OutputFile& out : step.outputs)
                if (fs::remove(out.path, ec)) ++removed;
        if (fs::remove(BuildState::FileIn(ctx->configDir()), ec)) ++removed;
    }
    std::printf("Removed %d file%s.\n", removed, removed == 1 ? "" : "s");
    return 0;
}

} // namespace quorle::host
