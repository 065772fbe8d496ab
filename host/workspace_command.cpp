#include "host/workspace_command.h"

#include <cstdio>

namespace quorle::host {

WorkspaceCommand::WorkspaceCommand(const CommandContext& context, const char* name,
                                   const char* usage)
    : name_(name), calls_(context.api) {
    std::string error;
    auto options = ParseHostOptions(context.args, usage != nullptr, error);
    if (!options || (usage != nullptr && options->positional.size() != 1)) {
        if (usage != nullptr)
            std::fprintf(stderr, "usage: %s%s%s\n", usage, error.empty() ? "" : ": ",
                         error.c_str());
        else
            Error(error);
        exitCode_ = 2;
        return;
    }
    session_ = Session::Open(*options, context.program, error);
    if (session_) return;
    // The workspace's own errors start with its name and place, as a
    // compiler's do, so an editor can jump to them.
    if (error.rfind(options->workspace + ":", 0) == 0) {
        std::fprintf(stderr, "%s\n", error.c_str());
        exitCode_ = 1;
    } else {
        exitCode_ = Error(error);
    }
}

int WorkspaceCommand::Error(const std::string& message) const {
    std::fprintf(stderr, "quorle-host %s: %s\n", name_, message.c_str());
    return 1;
}

std::optional<int> WorkspaceCommand::ForEachPlan(const Visitor& visit) const {
    std::string missing;
    bool any = false;
    for (const Project* project : session_->Projects()) {
        const Configuration* config = session_->ConfigOf(*project, &missing);
        if (config == nullptr) continue;
        any = true;
        auto context = session_->ContextFor(*project, *config);
        std::string error;
        auto plan = MakeBuildPlan(calls_, *context, error);
        if (!plan) return Error(error);
        for (const std::string& warning : plan->warnings)
            std::fprintf(stderr, "warning: %s\n", warning.c_str());
        if (auto code = visit({*project, *config, *context, *plan})) return code;
    }
    if (!any) return Error(missing);
    return std::nullopt;
}

} // namespace quorle::host
