// What every workspace command shares: its command-line options, the loaded
// workspace and the project and configuration to work on.
#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/project_context.h"
#include "host/workspace.h"

namespace quorle::host {

struct HostOptions {
    std::string workspace; // path of the workspace file
    std::string config;    // configuration name; empty: the project's first
    std::string project;   // project name; empty: every project
    std::string toolchain; // installation directory; overrides the workspace
    size_t jobs = 1;
    bool verbose = false;
    std::vector<std::string> positional; // arguments after the workspace
};

// Parses "[WORKSPACE] [--config NAME] [--project NAME] [--toolchain DIR]
// [-j N] [-v] [ARGS...]"; returns nullopt and sets `error` when malformed.
// Without a workspace argument the only "*.qws" file of the current
// directory is used.
std::optional<HostOptions> ParseHostOptions(const std::vector<std::string>& args,
                                            bool takesPositional, std::string& error);

class Session {
  public:
    // Loads the workspace and resolves the toolchain directory (option,
    // then QUORLE_TOOLCHAIN, then the workspace's own entry).
    static std::unique_ptr<Session> Open(const HostOptions& options, const std::string& program,
                                         std::string& error);

    const Workspace& workspace() const { return workspace_; }
    const HostOptions& options() const { return options_; }
    // The projects selected by --project, in workspace order.
    std::vector<const Project*> Projects() const;
    // The configuration chosen by --config, or the project's first.
    const Configuration* ConfigOf(const Project& project) const;
    // A context for one project; creates its configuration directory.
    std::unique_ptr<ProjectContext> ContextFor(const Project& project,
                                               const Configuration& config) const;

  private:
    HostOptions options_;
    Workspace workspace_;
    std::string hostDir_;
    std::string tempDir_;
};

} // namespace quorle::host
