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
    std::string workspace;             // path of the workspace file
    std::string config;                // configuration name; empty: the project's first
    std::string project;               // project name; empty: every project
    std::string toolchain;             // installation directory; overrides the workspace
    std::vector<std::string> launcher; // overrides the workspace's launcher, word by word
    size_t jobs = 1;
    bool jobsGiven = false;
    bool keepGoing = false;
    size_t failureLimit = 0; // with keepGoing: the failed steps that stop the build; 0: none do
    bool dryRun = false;     // show what would run, run nothing
    bool verbose = false;
    bool wait = false;                   // for another quorle-host using the same configuration
    std::vector<std::string> positional; // arguments after the workspace
};

// Parses "[WORKSPACE] [--config NAME] [--project NAME] [--toolchain DIR]
// [--launcher WORD]... [-j N] [-k [N]] [-n] [-v] [--wait] [ARGS...]"; returns nullopt
// and sets `error` when malformed. Each --launcher adds one word: the
// program, then its own arguments, as they are (no shell reads them).
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
    // The configuration chosen by --config (exactly, or else the only one
    // equal without regard to case), or the project's first. Null, with an
    // error that lists the valid names, when there is none.
    const Configuration* ConfigOf(const Project& project, std::string* error = nullptr) const;
    // A context for one project; creates its configuration directory when
    // `create` is set.
    std::unique_ptr<ProjectContext> ContextFor(const Project& project, const Configuration& config,
                                               bool create = true) const;
    // The launcher to use, as words: --launcher, else the workspace's.
    const std::vector<std::string>& Launcher() const;
    // -j as given, or as many jobs as cores. Above the core count only
    // with a launcher (it may spread the work over other machines); a
    // larger count is lowered, and `note` says so.
    size_t Jobs(std::string* note) const;

  private:
    HostOptions options_;
    Workspace workspace_;
    std::string hostDir_;
    std::string tempDir_;
};

} // namespace quorle::host
