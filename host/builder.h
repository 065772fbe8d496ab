// The build of one project in one configuration: for each phase in build
// order and each of its steps, the up-to-date check (from the dependency log,
// scanning only when the log has no list), PrePhase, the tool run, every
// output line through GetOutputLineInfo, PostPhase, and the step's new
// record. Tools of one phase may run in parallel; the plug-in is only ever
// called from the thread that calls Run().
#pragma once

#include <cstdio>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "host/build_output.h"
#include "host/build_plan.h"
#include "host/build_state.h"
#include "host/plugin_calls.h"
#include "host/project_context.h"
#include "host/stat_cache.h"
#include "platform/platform.h"

namespace quorle::host {

class JobRunner;

struct BuildTotals {
    int errors = 0;
    int warnings = 0;
    int run = 0;
    int upToDate = 0;
    int skipped = 0; // not built because a step they depend on failed
    int steps = 0;
};

// One tool run as the host starts it.
struct ToolRun {
    std::string commandLine;
    std::string workDir;
    std::vector<std::string> environment; // extra "NAME=value" entries
};

class Builder {
  public:
    using Executor = std::function<platform::ProcessResult(const ToolRun&)>;

    struct Settings {
        size_t jobs = 1;
        bool colour = false;
        bool verbose = false;
        bool keepGoing = false;            // build what does not depend on a failed step
        size_t failureLimit = 0;           // with keepGoing: failed steps that stop it; 0: none
        bool dryRun = false;               // show the steps that would run and their commands
        std::vector<std::string> launcher; // words put in front of every compile and assemble
        std::string currentDir;            // diagnostics name files relative to it
        std::FILE* out = stdout;           // nullptr: silent
        bool statusLine = false;           // progress as one line rewritten in place
        size_t columns = 0;                // the terminal's width for that line; 0: unknown
    };

    Builder(const PluginCalls& calls, const ProjectContext& context, const BuildPlan& plan,
            BuildState& state, Settings settings, Executor executor);
    // Its set of sources views its own list of them.
    Builder(const Builder&) = delete;
    Builder& operator=(const Builder&) = delete;

    // True when every step succeeded or was up to date. Saves the state.
    bool Run();
    // Times the plan found moments ago (see BuildPlan::entryTimes), so the
    // check need not stat those files again. Only for a plan just made: the
    // files must not have changed since. Quickest when the state took the
    // plan's paths over as it loaded. The plan's times are dropped.
    void UseTimesFound(BuildPlan& fresh);
    const BuildTotals& totals() const { return totals_; }
    bool interrupted() const { return interrupted_; }
    // Steps that failed themselves, not those skipped after a failure.
    size_t failures() const { return failures_; }
    // The steps that failed, as their progress lines name them.
    std::vector<std::string> failedSteps() const;
    // The first input found with a modification time in the future, if any.
    struct ClockSkew {
        std::string path;    // empty: none
        int64_t seconds = 0; // how far ahead it was
    };
    const ClockSkew& clockSkew() const { return clockSkew_; }
    // How many times the file system was asked for a file's time.
    size_t fileLookups() const { return stats_.lookups(); }

    // The default executor: the platform's process runner.
    static platform::ProcessResult RunTool(const ToolRun& run);

  private:
    struct Pending {
        size_t step = 0;
        std::string command; // as PrePhase handed it back
        StepRecord record;
        std::string workDir;
        std::string depFile; // written by the compiler; empty for other tools
        std::optional<std::vector<std::string>> scanned; // deps the check scanned
        std::optional<int64_t> mark; // files made by the step are at least this new
        std::vector<std::string> args;
        std::string label; // its progress line
        std::string shown; // the command as FAILED shows it: the tool and its file
    };
    enum class Verdict { UpToDate, Run, Fail };
    struct Check {
        Verdict verdict = Verdict::Run;
        std::string reason;
        std::optional<std::vector<std::string>> scanned;
    };

    // builder.cpp: the order of the work.
    void Print(const std::string& line);
    // An error of the host's; into `block` when it belongs to a step's output.
    void ReportError(const std::string& where, const std::string& message,
                     std::vector<std::string>* block = nullptr);
    void Predict();
    std::optional<Check> TakePrecheck(size_t index); // once per step
    // What a step's record must hold for the step to be up to date.
    struct StepHashes {
        uint64_t options = 0;
        uint64_t inputs = 0;
    };
    StepHashes CurrentHashes(size_t index) const;
    template <typename Visit> void VisitInputs(size_t index, Visit visit) const;
    void RunPhase(size_t phase);
    void Drain(JobRunner& runner, bool untilIdle);
    void StartStep(size_t index, JobRunner& runner);
    void StepFailed(const Step& step, bool itself = true);
    bool FailureLimitReached() const;
    bool DependsOnFailure(size_t index) const;
    std::string StepKey(const Step& step) const;
    std::string StepLabel(const Step& step) const;
    std::vector<std::string> StepInputs(size_t index) const;

    // builder_check.cpp: is the step up to date?
    Check CheckStep(size_t index, const StepHashes& current);
    Check CheckFileStep(const Step& step, const StepRecord* stored);
    Check CheckSingleStep(size_t index, const StepRecord* stored);
    template <typename Walk> Check CompareTimes(const Step& step, Walk walk);
    // The time of the step's oldest output in `oldest`, or why the step runs.
    std::optional<Check> OldestOutput(const Step& step, int64_t& oldest);
    // Why the step runs when an input read at `time` is missing or newer.
    std::optional<Check> InputAgainst(std::string_view in, std::optional<int64_t> time,
                                      int64_t oldest);
    std::optional<std::vector<std::string>> Scan(const Step& step);
    void NoteClockSkew(std::string_view path, int64_t time);

    // builder_launch.cpp: PrePhase and the tool's start.
    void LaunchStep(size_t index, const std::string& reason, Pending pending, JobRunner& runner);
    std::optional<ToolRun> ToolRunFor(const Step& step, const std::string& command,
                                      Pending& pending);

    // builder_finish.cpp: the tool's output, PostPhase and the new record.
    void FinishStep(Pending& pending, const platform::ProcessResult& result);
    int ShowOutput(const Step& step, const std::string& output, const std::string& toolDir,
                   std::vector<std::string>& block);
    void RecordDependencies(Pending& pending);
    void RecordIncomplete(Pending& pending, bool failed = false);
    std::vector<std::string> MadeFiles(const Pending& pending);
    void KnowProjectFiles();
    void RemovePartialOutputs(const Step& step);
    void RemoveOutputLinks(const Step& step);

    const PluginCalls& calls_;
    const ProjectContext& context_;
    const BuildPlan& plan_;
    BuildState& state_;
    Settings settings_;
    Executor executor_;
    StatCache stats_;
    BuildOutput output_;
    BuildTotals totals_;
    // The verdicts found before the first step. Nearly every step of a no-op
    // is plainly up to date, and that takes one byte; the rest are kept aside.
    enum class Precheck : uint8_t { None, UpToDate, Kept };
    std::vector<Precheck> prechecked_;
    std::unordered_map<size_t, Check> prechecks_;
    std::vector<StepHashes> current_; // each step's hashes as the plan gives them, made once
    int planned_ = 0;                 // steps expected to run, the N of "[n/N]"
    bool earlierRan_ = false;         // a step of an earlier phase ran in this build
    std::map<size_t, std::string> failedSteps_; // by step, so listed in the plan's order
    std::vector<Pending> pending_;
    std::set<std::string> failedOutputs_;
    // The workspace's files, never made; the set views the list's strings,
    // which are sized once and never move. Filled by KnowProjectFiles.
    std::vector<std::string> projectFiles_;
    std::unordered_set<std::string_view> sourcePaths_;
    bool anyFailed_ = false;
    size_t failures_ = 0;
    bool interrupted_ = false;
    bool continuation_ = false;
    bool announced_ = false;
    int counter_ = 0;
    ClockSkew clockSkew_;
};

// The key of a step in the build state.
std::string StepKeyOf(const PhaseDesc& phase, const Step& step);

} // namespace quorle::host
