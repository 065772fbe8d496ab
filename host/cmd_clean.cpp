// quorle-host clean: deletes what the plan of each project says its steps
// make, and nothing else: the outputs, and the by-products the build records
// say were made. A path that only the records name is left and reported
// once; a workspace source or a file the user keeps beside the outputs (an
// exported section file, an own linker script) is never touched. A link is
// removed as itself, never followed. A configuration never built is left
// alone, so clean creates nothing there.
#include <cstdio>
#include <filesystem>
#include <set>

#include "host/build_state.h"
#include "host/config_lock.h"
#include "host/diagnostics.h"
#include "host/path_identity.h"
#include "host/plan_files.h"
#include "host/workspace_command.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

// Removes one entry without following a link: a link goes as itself, a
// folder only where one is expected. Read-only files go too (the plug-in
// writes its sub-command files so); only Windows needs the file writable
// first, and only the file itself is changed.
bool Remove(const std::string& path, bool folder) {
    std::error_code ec;
    fs::path p = fs::u8path(path);
    fs::file_status status = fs::symlink_status(p, ec);
    if (ec || !fs::exists(status)) return false;
    if (fs::is_symlink(status)) return fs::remove(p, ec);
    if (fs::is_directory(status)) return folder && fs::remove_all(p, ec) > 0;
    if (fs::remove(p, ec)) return true;
    if (!fs::is_regular_file(status)) return false;
    fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
    return fs::remove(p, ec);
}

struct CleanCount {
    int removed = 0;
    std::set<std::string> leftAlone; // named only by the records
};

void CleanProject(const ProjectContext& context, const BuildPlan& plan, const BuildState& state,
                  CleanCount& count) {
    PlanFiles files = FilesOfPlan(plan, context);
    // Never a workspace source or the workspace, whatever names it.
    PathResolver resolver;
    std::set<std::string> kept{std::string(resolver.Resolve(context.workspace().path).path)};
    for (const std::string& file : context.project().files)
        kept.insert(std::string(resolver.Resolve(context.FilePath(file)).path));
    auto removable = [&](const std::string& path) {
        return kept.count(std::string(resolver.Resolve(path).path)) == 0;
    };
    std::set<std::string> planned(files.outputs.begin(), files.outputs.end());
    for (const std::string& out : files.outputs)
        if (removable(out) && Remove(out, false)) ++count.removed;
    for (const std::string& own : files.hostFiles)
        if (Remove(own, false)) ++count.removed;
    for (const std::string& made : state.MadeFiles()) {
        bool file = files.byProducts.count(made) > 0;
        bool folder = files.byProductDirs.count(made) > 0;
        if (file || folder) {
            if (removable(made) && Remove(made, folder)) ++count.removed;
        } else if (std::error_code ec; planned.count(made) == 0 &&
                                       fs::exists(fs::symlink_status(fs::u8path(made), ec))) {
            count.leftAlone.insert(made);
        }
    }
}

} // namespace

int RunClean(const CommandContext& context) {
    WorkspaceCommand command(context, "clean");
    if (!command.ok()) return command.exitCode();
    const Session& session = command.session();
    std::string here = fs::current_path().generic_string();
    CleanCount count;
    for (const Project* project : session.Projects()) {
        std::string error;
        const Configuration* config = session.ConfigOf(*project, &error);
        if (config == nullptr) return command.Error(error);
        auto ctx = session.ContextFor(*project, *config, /*create=*/false);
        if (!fs::is_directory(fs::u8path(ctx->configDir()))) continue; // never built
        ConfigLock lock;
        if (!lock.Take(ctx->configDir(), command.options().wait, error))
            return command.Error(error);
        auto plan = MakeBuildPlan(command.calls(), *ctx, error);
        if (!plan) return command.Error(error + "; nothing removed");
        BuildState state;
        for (const std::string& warning : state.LoadRecords(ctx->configDir()))
            std::printf("warning: %s\n", warning.c_str());
        CleanProject(*ctx, *plan, state, count);
        for (const std::string& own : BuildState::OwnFilesIn(ctx->configDir()))
            if (own != BuildState::LockIn(ctx->configDir()) && Remove(own, false)) ++count.removed;
        // Last, and while it is held: a quorle-host waiting on it then finds
        // it gone and makes a new one.
        lock.ReleaseAndRemove();
    }
    for (const std::string& path : count.leftAlone)
        std::printf("left %s: only the build records name it, no step of the workspace makes it\n",
                    ShownPath(path, here).c_str());
    std::printf("Removed %d file%s.\n", count.removed, count.removed == 1 ? "" : "s");
    return 0;
}

} // namespace quorle::host
