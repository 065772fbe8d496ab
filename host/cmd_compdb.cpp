// quorle-host compdb: compile_commands.json from the compiler steps'
// argument texts, for clangd and other editors.
#include <cstdio>
#include <nlohmann/json.hpp>

#include "host/build_plan.h"
#include "host/commands.h"
#include "host/session.h"
#include "host/text_list.h"
#include "host/tool_run.h"
#include "platform/platform.h"

namespace quorle::host {

namespace {

// The argument texts hold Windows paths; macro values are the user's own.
std::string EditorArgument(const std::string& arg) {
    return arg.rfind("-D", 0) == 0 ? arg : NativePath(arg);
}

} // namespace

int RunCompdb(const CommandContext& context) {
    std::string error;
    auto options = ParseHostOptions(context.args, false, error);
    if (!options) {
        std::fprintf(stderr, "quorle-host compdb: %s\n", error.c_str());
        return 2;
    }
    auto session = Session::Open(*options, context.program, error);
    if (!session) {
        std::fprintf(stderr, "quorle-host compdb: %s\n", error.c_str());
        return 1;
    }
    PluginCalls calls(context.api);
    nlohmann::json entries = nlohmann::json::array();
    int failures = 0;
    for (const Project* project : session->Projects()) {
        const Configuration* config = session->ConfigOf(*project);
        if (config == nullptr) continue;
        auto ctx = session->ContextFor(*project, *config);
        auto plan = MakeBuildPlan(calls, *ctx, error);
        if (!plan) {
            std::fprintf(stderr, "quorle-host compdb: %s\n", error.c_str());
            return 1;
        }
        std::string triplet = TripletOf(session->workspace().toolchainName);
        for (const Step& step : plan->steps) {
            const PhaseDesc& phase = plan->phases[step.phase];
            if (phase.kind != PhaseKind::Compiler || step.options.empty()) continue;
            std::string input = JoinNulList({step.filePath + "|" + step.fileType});
            PrePhaseResult pre = calls.PrePhase(phase.name, input, step.options, ctx->info());
            auto command = pre.result == 0 ? ParseToolCommand(pre.command) : std::nullopt;
            auto text = command ? platform::ReadFile(command->subcommandFile, true) : std::nullopt;
            if (!text) {
                std::fprintf(stderr, "quorle-host compdb: no argument text for %s\n",
                             step.file.c_str());
                ++failures;
                continue;
            }
            nlohmann::json args = nlohmann::json::array();
            args.push_back(
                ToolPath(ctx->toolchainDir(), triplet, ToolOf(phase.kind, step.fileType, false)));
            for (const std::string& arg : SplitArguments(*text))
                args.push_back(EditorArgument(arg));
            nlohmann::json entry = {{"directory", NativePath(pre.directory)},
                                    {"file", step.filePath},
                                    {"arguments", args}};
            if (!step.outputs.empty()) entry["output"] = step.outputs.front().path;
            entries.push_back(entry);
        }
    }
    std::string file = session->workspace().dir + "/compile_commands.json";
    if (!platform::WriteFile(file, entries.dump(2) + "\n", false)) {
        std::fprintf(stderr, "quorle-host compdb: cannot write %s\n", file.c_str());
        return 1;
    }
    std::printf("Wrote %s with %zu entr%s\n", file.c_str(), entries.size(),
                entries.size() == 1 ? "y" : "ies");
    return failures == 0 ? 0 : 1;
}

} // namespace quorle::host
