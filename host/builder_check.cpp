// The up-to-date check. A file step whose record holds a dependency list is
// decided from the log alone: the recorded files with their recorded times.
// Only a step without a list (an older state, or a tool that wrote none and
// a scan that failed) is scanned first.
#include <chrono>
#include <filesystem>

#include "host/builder.h"

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

// The clock file times are kept in: nanoseconds since the epoch.
int64_t NowNs() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

} // namespace

std::optional<std::vector<std::string>> Builder::Scan(const Step& step) {
    const PhaseDesc& desc = plan_.phases[step.phase];
    std::string file = step.filePath;
    // The single phases report files beside the project (the linker its user
    // sub-command file, the generator a compressed library).
    if (desc.single) file = context_.project().dir + "/" + context_.project().name;
    auto deps =
        calls_.FileDependencies(desc.name, file, step.fileType, plan_.OptionsOf(step, context_),
                                !desc.single && continuation_, context_.info());
    if (!desc.single) continuation_ = true;
    if (!deps) return std::nullopt;
    std::vector<std::string> paths;
    for (const DependencyItem& dep : *deps) {
        if (!dep.error.empty()) {
            // The tool will say what is wrong; the step cannot be up to date.
            if (settings_.verbose) Print("  dependency scan: " + dep.error);
            return std::nullopt;
        }
        if (dep.path.empty()) continue;
        std::string native = NativePath(dep.path);
        fs::path p(native);
        if (!p.is_absolute()) p = fs::path(context_.configDir()) / p;
        paths.push_back(p.lexically_normal().generic_string());
    }
    return paths;
}

// A time in the future stays newer than whatever a step makes, so the steps
// that read such a file run at every build.
void Builder::NoteClockSkew(std::string_view path, int64_t time) {
    if (!clockSkew_.path.empty()) return;
    int64_t now = NowNs();
    if (time > now) clockSkew_ = {std::string(path), (time - now) / 1000000000};
}

std::optional<Builder::Check> Builder::OldestOutput(const Step& step, int64_t& oldest) {
    oldest = INT64_MAX;
    for (const OutputFile& out : step.outputs) {
        auto t = stats_.Time(out.path);
        if (!t) return Check{Verdict::Run, out.path + " is missing", std::nullopt};
        if (*t < oldest) oldest = *t;
    }
    return std::nullopt;
}

std::optional<Builder::Check> Builder::InputAgainst(std::string_view in,
                                                    std::optional<int64_t> time, int64_t oldest) {
    if (!time) return Check{Verdict::Run, std::string(in) + " is missing", std::nullopt};
    if (*time > oldest) {
        NoteClockSkew(in, *time);
        return Check{Verdict::Run, std::string(in) + " is newer", std::nullopt};
    }
    return std::nullopt;
}

// `walk` hands each file the step reads to the function it is given, and
// stops once that answers true: the step runs. A link's reads are every
// object, so they are walked where they lie, never gathered.
template <typename Walk> Builder::Check Builder::CompareTimes(const Step& step, Walk walk) {
    int64_t oldest = 0;
    std::optional<Check> runs = OldestOutput(step, oldest);
    if (!runs)
        walk([&](const std::string& in) {
            runs = InputAgainst(in, stats_.Time(in), oldest);
            return runs.has_value();
        });
    return runs ? std::move(*runs) : Check{Verdict::UpToDate, "", std::nullopt};
}

Builder::Check Builder::CheckStep(size_t index, const StepHashes& current) {
    const Step& step = plan_.steps[index];
    if (step.outputs.empty()) return {Verdict::Run, "it names no outputs", std::nullopt};
    const StepRecord* stored = state_.Find(StepKey(step));
    if (stored != nullptr && stored->incomplete) {
        if (plan_.phases[step.phase].single || stats_.Time(step.filePath))
            return {Verdict::Run,
                    stored->failed ? "it failed last time" : "it did not finish last time",
                    std::nullopt};
        stored = nullptr;
    }
    if (plan_.phases[step.phase].single) {
        Check check = CheckSingleStep(index, stored);
        if (check.verdict == Verdict::UpToDate && stored == nullptr)
            check = {Verdict::Run, "it was never built", std::nullopt};
        if (check.verdict == Verdict::UpToDate && stored->optionsHash != current.options)
            check = {Verdict::Run, "its options changed", std::nullopt};
        if (check.verdict == Verdict::UpToDate && stored->inputsHash != current.inputs)
            check = {Verdict::Run, "its inputs changed", std::nullopt};
        return check;
    }
    if (!stats_.Time(step.filePath))
        return {Verdict::Fail, step.filePath + ": no such file", std::nullopt};
    if (stored == nullptr) return {Verdict::Run, "it was never built", std::nullopt};
    if (stored->optionsHash != current.options)
        return {Verdict::Run, "its options changed", std::nullopt};
    if (stored->inputsHash != current.inputs)
        return {Verdict::Run, "its inputs changed", std::nullopt};
    return CheckFileStep(step, stored);
}

Builder::Check Builder::CheckFileStep(const Step& step, const StepRecord* stored) {
    if (stored->depsKnown) {
        for (const Dependency& dep : stored->deps) {
            std::string_view path = state_.PathOf(dep.path);
            auto t = stats_.TimeOf(dep.path);
            if (!t) return {Verdict::Run, std::string(path) + " is missing", std::nullopt};
            if (*t != dep.time) return {Verdict::Run, std::string(path) + " changed", std::nullopt};
        }
        // Each recorded time now equals the file's, so it stands for the file.
        int64_t oldest = 0;
        if (auto runs = OldestOutput(step, oldest)) return std::move(*runs);
        if (auto runs = InputAgainst(step.filePath, stats_.Time(step.filePath), oldest))
            return std::move(*runs);
        for (const Dependency& dep : stored->deps)
            if (auto runs = InputAgainst(state_.PathOf(dep.path), dep.time, oldest))
                return std::move(*runs);
        return {Verdict::UpToDate, "", std::nullopt};
    }
    std::vector<std::string> reads{step.filePath};
    auto scanned = Scan(step);
    if (!scanned) return {Verdict::Run, "its dependencies are unknown", std::nullopt};
    reads.insert(reads.end(), scanned->begin(), scanned->end());
    Check check = CompareTimes(step, [&reads](const auto& runs) {
        for (const std::string& in : reads)
            if (runs(in)) return;
    });
    if (check.verdict == Verdict::UpToDate) {
        // Up to date after all: keep the list, so the next build need not scan.
        StepRecord record = *stored;
        record.depsKnown = true;
        record.deps.clear();
        for (const std::string& path : reads)
            record.deps.push_back({state_.PathId(path), *stats_.Time(path)});
        state_.Finished(StepKey(step), std::move(record));
    }
    check.scanned = std::move(scanned);
    return check;
}

// Linker and generator: their scan is cheap and made in the plug-in, so it
// runs every time; they read everything built before them.
Builder::Check Builder::CheckSingleStep(size_t index, const StepRecord* stored) {
    const Step& step = plan_.steps[index];
    auto scanned = Scan(step);
    if (!scanned) return {Verdict::Run, "its dependency scan failed", std::nullopt};
    Check check = CompareTimes(step, [&](const auto& runs) {
        for (const std::string& in : *scanned)
            if (runs(in)) return;
        if (!plan_.phases[step.phase].Links()) return;
        for (size_t i = 0; i < index; ++i)
            for (const OutputFile& out : plan_.steps[i].outputs)
                if (runs(out.path)) return;
        for (const std::string& in : step.projectInputs)
            if (runs(in.substr(0, in.rfind('|')))) return;
    });
    if (check.verdict == Verdict::UpToDate && stored != nullptr && stored->depsKnown) {
        for (const Dependency& dep : stored->deps)
            if (stats_.TimeOf(dep.path) != dep.time)
                return {Verdict::Run, std::string(state_.PathOf(dep.path)) + " changed",
                        std::nullopt};
    }
    check.scanned = std::move(scanned);
    return check;
}

} // namespace quorle::host
