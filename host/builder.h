// The build of one project in one configuration: for each phase in build
// order and each of its steps, the dependency scan, the up-to-date check,
// PrePhase, the tool run, every output line through GetOutputLineInfo, and
// PostPhase. Tools of one phase may run in parallel; the plug-in is only
// ever called from the thread that calls Run().
#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "host/build_plan.h"
#include "host/build_state.h"
#include "host/plugin_calls.h"
#include "host/project_context.h"
#include "platform/platform.h"

namespace quorle::host {

struct BuildTotals {
    int errors = 0;
    int warnings = 0;
    int run = 0;
    int upToDate = 0;
    int steps = 0;
};

class Builder {
  public:
    // Runs one tool: its command line and working directory.
    using Executor = std::function<platform::ProcessResult(const std::string&, const std::string&)>;

    struct Settings {
        size_t jobs = 1;
        bool colour = false;
        bool verbose = false;
        std::FILE* out = stdout; // nullptr: silent
    };

    Builder(const PluginCalls& calls, const ProjectContext& context, const BuildPlan& plan,
            BuildState& state, Settings settings, Executor executor);

    // True when every step succeeded or was up to date.
    bool Run();
    const BuildTotals& totals() const { return totals_; }

    // The default executor: the platform's process runner without a time limit
    // worth mentioning (tools may run long).
    static platform::ProcessResult RunTool(const std::string& commandLine,
                                           const std::string& workDir);

  private:
    struct Pending {
        size_t step = 0;
        std::string command; // as PrePhase handed it back
        StepRecord record;
        std::string label;
    };

    void Print(const std::string& line);
    bool RunPhase(size_t phase);
    // Scans, checks and starts one step; false when it failed at once.
    bool StartStep(size_t index, bool& continuation, class JobRunner& runner,
                   std::vector<Pending>& pending, bool& phaseAnnounced);
    void FinishStep(const Pending& pending, const platform::ProcessResult& result);
    std::string StepKey(const Step& step) const;
    std::string StepLabel(const Step& step) const;
    std::vector<std::string> LinkerInputs(size_t index) const;
    void ReportError(const std::string& where, const std::string& message);

    const PluginCalls& calls_;
    const ProjectContext& context_;
    const BuildPlan& plan_;
    BuildState& state_;
    Settings settings_;
    Executor executor_;
    BuildTotals totals_;
    int counter_ = 0;
    bool failed_ = false;
};

// The key of a step in the build state.
std::string StepKeyOf(const PhaseDesc& phase, const Step& step);

} // namespace quorle::host
