// quorle-host deps FILE: the dependencies the plug-in finds for one file.
#include <cstdio>

#include "host/build_plan.h"
#include "host/commands.h"
#include "host/session.h"

namespace quorle::host {

int RunDeps(const CommandContext& context) {
    std::string error;
    auto options = ParseHostOptions(context.args, true, error);
    if (!options || options->positional.size() != 1) {
        std::fprintf(stderr, "usage: quorle-host deps [WORKSPACE] [--config NAME] FILE%s%s\n",
                     error.empty() ? "" : ": ", error.c_str());
        return 2;
    }
    auto session = Session::Open(*options, context.program, error);
    if (!session) {
        std::fprintf(stderr, "quorle-host deps: %s\n", error.c_str());
        return 1;
    }
    PluginCalls calls(context.api);
    const std::string& wanted = options->positional.front();
    for (const Project* project : session->Projects()) {
        const Configuration* config = session->ConfigOf(*project);
        if (config == nullptr) continue;
        auto ctx = session->ContextFor(*project, *config);
        auto plan = MakeBuildPlan(calls, *ctx, error);
        if (!plan) {
            std::fprintf(stderr, "quorle-host deps: %s\n", error.c_str());
            return 1;
        }
        std::string path = ctx->FilePath(wanted);
        for (const Step& step : plan->steps) {
            if (step.filePath != path && step.file != wanted) continue;
            const PhaseDesc& phase = plan->phases[step.phase];
            auto deps = calls.FileDependencies(phase.name, step.filePath, step.fileType,
                                               step.options, false, ctx->info());
            if (!deps) {
                std::fprintf(stderr, "quorle-host deps: GetFileDependencies failed\n");
                return 1;
            }
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
    }
    std::fprintf(stderr, "quorle-host deps: %s is not a file of a build step\n", wanted.c_str());
    return 1;
}

} // namespace quorle::host
