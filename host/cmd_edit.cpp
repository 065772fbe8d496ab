// quorle-host edit: opens the plug-in's options sheet on the workspace's
// option strings and writes what the sheet hands back into the workspace.
#include <cstdio>
#include <filesystem>
#include <optional>

#include "core/phase.h"
#include "host/commands.h"
#include "host/config_lock.h"
#include "host/edit_records.h"
#include "host/edit_writeback.h"
#include "host/workspace_command.h"
#include "platform/platform.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

constexpr const char* kScriptVariable = "QUORLE_SHEET_SCRIPT";

// Sets the sheet's script variable for the length of one call.
class ScriptVariable {
  public:
    explicit ScriptVariable(const std::string& script)
        : previous_(platform::GetEnv(kScriptVariable)) {
        if (!script.empty()) platform::SetEnv(kScriptVariable, script);
    }
    ~ScriptVariable() {
        if (previous_)
            platform::SetEnv(kScriptVariable, *previous_);
        else
            platform::UnsetEnv(kScriptVariable);
    }
    ScriptVariable(const ScriptVariable&) = delete;
    ScriptVariable& operator=(const ScriptVariable&) = delete;

  private:
    std::optional<std::string> previous_;
};

constexpr const char* kChangesVariable = "QUORLE_SHEET_CHANGES";

// Sets a variable for the length of one call.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::string& value)
        : name_(name), previous_(platform::GetEnv(name)) {
        platform::SetEnv(name, value);
    }
    ~ScopedVariable() {
        if (previous_)
            platform::SetEnv(name_, *previous_);
        else
            platform::UnsetEnv(name_);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* name_;
    std::optional<std::string> previous_;
};

// The plug-in's own change list when it wrote one (one line per option,
// worded as its controls show them); else one line per changed key.
void PrintChanges(const std::vector<OptionChange>& changes,
                  const std::optional<std::string>& pluginList) {
    if (pluginList) {
        std::fputs(pluginList->c_str(), stdout);
        return;
    }
    for (const OptionChange& change : changes) {
        static constexpr const char* kPhaseWords[] = {"Compiler", "Assembler", "Linker",
                                                      "Generator", "Debug"};
        const PhaseIndex index = LookupPhase(change.phase);
        std::string phase = index >= 0 && index < 5 ? kPhaseWords[index] : "";
        std::string where = change.project + " " + change.config + " " +
                            (phase.empty() ? change.phase : phase) +
                            (change.item.empty() ? "" : " " + change.item);
        for (const std::string& line : DescribeChange(change.before, change.after))
            std::printf("%s: %s\n", where.c_str(), line.c_str());
    }
}

// The sheet's answer once EditOptions returned 0: the strings it handed
// back, applied to the workspace read as `original`.
int WriteBack(WorkspaceCommand& command, EditRecords& records, const Workspace& workspace,
              const EditCatalogue& catalogue, const std::string& original,
              const std::optional<std::string>& pluginList) {
    const std::string& path = command.session().workspace().path;
    const PluginApi& api = command.calls().api();
    // OK with the change not confirmed (string 1527 answered No): 0 and no
    // lists at all.
    bool anyList = false;
    for (QuorlePhaseRecord* const* r = records.Records(); *r != nullptr; ++r)
        anyList = anyList || (*r)->newOptions != nullptr;
    if (!anyList) {
        std::printf("no option list handed back; %s left as it was\n", path.c_str());
        return 0;
    }
    std::string error;
    bool read = records.ReadResult(error);
    records.FreeResult(api.FreeSimpleType);
    if (!read) return command.Error(error + "; " + path + " left as it was");

    EditOutcome outcome = ApplyEdit(workspace, records.items(), catalogue);
    PrintChanges(outcome.changes, pluginList);
    if (!outcome.AnyRewritten()) {
        std::printf("no option changed; %s left as it was\n", path.c_str());
        return 0;
    }
    auto text = RenderWorkspace(original, outcome, error);
    if (!text) return command.Error("cannot render " + path + ": " + error);
    if (WriteWorkspaceIfUnchanged(path, original, *text, error) != WriteOutcome::Written)
        return command.Error(error);
    std::printf("wrote %s\n", path.c_str());
    return 0;
}

// Splits off "--script FILE"; false (after saying why) when FILE is missing.
bool TakeScript(const std::vector<std::string>& args, std::vector<std::string>& rest,
                std::string& script) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--script") {
            rest.push_back(args[i]);
            continue;
        }
        if (i + 1 >= args.size()) {
            std::fprintf(stderr, "quorle-host edit: --script needs a file\n");
            return false;
        }
        script = fs::absolute(args[++i]).string();
    }
    return true;
}

} // namespace

int RunEdit(const CommandContext& context) {
    std::vector<std::string> rest;
    std::string script;
    if (!TakeScript(context.args, rest, script)) return 2;
    CommandContext inner{context.api, rest, context.program};
    WorkspaceCommand command(inner, "edit");
    if (!command.ok()) return command.exitCode();
#if !defined(_WIN32)
    // Without a script the sheet shows in the terminal, so one is needed
    // (on Windows it is a window).
    if (script.empty() && !platform::GetEnv(kScriptVariable) &&
        !(platform::StandardInputIsTerminal() && platform::StandardOutputIsTerminal())) {
        command.Error("no interactive options sheet without a terminal; give the edits as a "
                      "script with --script FILE");
        return 2;
    }
#endif

    const std::string& path = command.session().workspace().path;
    auto original = platform::ReadFile(path, false);
    if (!original) return command.Error("cannot read " + path);
    std::string error;
    // The model is read from the very bytes that are compared before writing.
    auto workspace = ParseWorkspace(*original, path, error);
    if (!workspace) return command.Error(error);
    std::vector<size_t> selected;
    for (size_t p = 0; p < workspace->projects.size(); ++p)
        if (command.options().project.empty() ||
            workspace->projects[p].name == command.options().project)
            selected.push_back(p);

    auto catalogue = LoadEditCatalogue(command.calls(), workspace->phases, error);
    if (!catalogue) return command.Error(error);
    auto records = EditRecords::Build(*workspace, selected, *catalogue);

    const Project* first = command.session().Projects().front();
    const Configuration* config = command.session().ConfigOf(*first);
    if (config == nullptr)
        return command.Error("project " + first->name + " has no configuration " +
                             command.options().config);
    auto projectContext = command.session().ContextFor(*first, *config);
    ConfigLock lock; // one quorle-host per configuration
    if (!lock.Take(projectContext->configDir(), command.options().wait, error))
        return command.Error(error);
    const PluginApi& api = command.calls().api();
    std::string pluginPath = DefaultPluginPath(context.program.c_str());

    // The change list comes back in a file beside the lock, which keeps
    // other hosts out of this configuration.
    const std::string changesPath = projectContext->configDir() + "/quorle-edit-changes.txt";
    platform::DeleteFile(changesPath);
    int result;
    {
        ScriptVariable variable(script);
        ScopedVariable changes(kChangesVariable, changesPath);
        result = api.EditOptions(records->Records(), pluginPath.c_str(), &projectContext->info());
    }
    std::optional<std::string> pluginList = platform::ReadFile(changesPath, false);
    platform::DeleteFile(changesPath);
    if (result == 0)
        return WriteBack(command, *records, *workspace, *catalogue, *original, pluginList);
    records->FreeResult(api.FreeSimpleType); // nothing is expected there; never leak it
    if (result == -1) {
        std::printf("options sheet cancelled; %s left as it was\n", path.c_str());
        return 0;
    }
    return command.Error("EditOptions answered " + std::to_string(result) + "; " + path +
                         " left as it was");
}

} // namespace quorle::host
