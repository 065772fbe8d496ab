// The start every workspace command shares: its arguments parsed, the
// workspace loaded, and each selected project planned in its configuration.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "host/build_plan.h"
#include "host/commands.h"
#include "host/plugin_calls.h"
#include "host/session.h"

namespace quorle::host {

// One selected project in its chosen configuration, with its build plan.
struct ProjectPlan {
    const Project& project;
    const Configuration& config;
    const ProjectContext& context;
    const BuildPlan& plan;
};

class WorkspaceCommand {
  public:
    // `name` is the command word of the messages ("clean"). A command with a
    // `usage` takes exactly one argument after the workspace and shows the
    // usage when its arguments are malformed.
    WorkspaceCommand(const CommandContext& context, const char* name, const char* usage = nullptr);

    // False when the arguments or the workspace were unusable; the reason is
    // printed already and exitCode() is what the command returns.
    bool ok() const { return session_ != nullptr; }
    int exitCode() const { return exitCode_; }

    const Session& session() const { return *session_; }
    const HostOptions& options() const { return session_->options(); }
    const PluginCalls& calls() const { return calls_; }

    // Prints "quorle-host NAME: message" on standard error; returns 1.
    int Error(const std::string& message) const;

    // The answer of a visitor: nullopt goes on with the next project, a
    // value ends the walk with that exit code.
    using Visitor = std::function<std::optional<int>(const ProjectPlan&)>;
    // Plans the selected projects one after the other, skipping those without
    // the chosen configuration, and hands each plan to `visit`. Returns the
    // code that ended the walk (1 when a plan failed), nullopt when every
    // project was visited.
    std::optional<int> ForEachPlan(const Visitor& visit) const;

  private:
    const char* name_;
    PluginCalls calls_;
    std::unique_ptr<Session> session_;
    int exitCode_ = 0;
};

} // namespace quorle::host
