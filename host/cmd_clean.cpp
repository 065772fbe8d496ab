// quorle-host clean: deletes what the builds recorded as made, and nothing
// else: never a workspace source, never a file the user keeps beside the
// outputs (an exported section file, an own linker script). It needs no
// plan, so it creates nothing, not even a configuration directory.
#include <cstdio>
#include <filesystem>

#include "host/build_state.h"
#include "host/workspace_command.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

// Read-only files go too: the plug-in writes its sub-command files so.
bool Remove(const std::string& path) {
    std::error_code ec;
    fs::path p = fs::u8path(path);
    if (fs::is_directory(fs::symlink_status(p, ec))) return fs::remove_all(p, ec) > 0;
    if (!fs::exists(fs::symlink_status(p, ec))) return false;
    fs::permissions(p, fs::perms::owner_write, fs::perm_options::add, ec);
    return fs::remove(p, ec);
}

} // namespace

int RunClean(const CommandContext& context) {
    WorkspaceCommand command(context, "clean");
    if (!command.ok()) return command.exitCode();
    const Session& session = command.session();
    int removed = 0;
    for (const Project* project : session.Projects()) {
        std::string error;
        const Configuration* config = session.ConfigOf(*project, &error);
        if (config == nullptr) return command.Error(error);
        auto ctx = session.ContextFor(*project, *config, /*create=*/false);
        if (!fs::is_directory(fs::u8path(ctx->configDir()))) continue; // never built
        std::vector<std::string> sources;
        for (const std::string& file : project->files) sources.push_back(ctx->FilePath(file));
        BuildState state;
        std::vector<std::string> made;
        state.Load(ctx->configDir(), &made); // with what unfinished steps began
        for (const std::string& path : state.MadeFiles()) made.push_back(path);
        for (const std::string& path : made) {
            bool source = false;
            for (const std::string& s : sources) source = source || s == path;
            if (!source && Remove(path)) ++removed;
        }
        for (const std::string& own :
             {BuildState::FileIn(ctx->configDir()), BuildState::JournalIn(ctx->configDir())})
            if (Remove(own)) ++removed;
    }
    std::printf("Removed %d file%s.\n", removed, removed == 1 ? "" : "s");
    return 0;
}

} // namespace quorle::host
