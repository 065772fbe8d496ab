#include "host/build_plan.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>
#include <utility>

#include "host/build_state.h"
#include "host/closest.h"
#include "host/output_memo.h"
#include "host/path_identity.h"
#include "host/text_list.h"
#include "options/option_string.h"

namespace quorle::host {

namespace {

// ASCII only, whatever the process's locale.
std::string AsciiUpper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

} // namespace

std::string UpperExtension(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    return AsciiUpper(path.substr(dot + 1));
}

std::vector<std::pair<std::string, std::string>>
ExtensionTable(const std::vector<std::string>& catalogue) {
    std::vector<std::pair<std::string, std::string>> table;
    for (const std::string& entry : catalogue) {
        std::vector<std::string> fields = SplitAll(entry, '|');
        for (size_t i = 2; i < fields.size(); ++i)
            table.emplace_back(AsciiUpper(fields[i]), fields[0]);
    }
    return table;
}

std::string FileTypeOf(const std::vector<std::pair<std::string, std::string>>& table,
                       const std::string& path) {
    std::string ext = UpperExtension(path);
    for (const auto& [e, type] : table)
        if (e == ext) return type;
    return "";
}

std::vector<OutputFile> ParseOutputList(const std::vector<std::string>& entries) {
    std::vector<OutputFile> outputs;
    // A plan keeps one list per file: sized once, moved in.
    outputs.reserve(entries.size());
    for (const std::string& entry : entries) {
        size_t bar = entry.rfind('|');
        OutputFile out;
        out.path = NativePath(bar == std::string::npos ? entry : entry.substr(0, bar));
        if (bar != std::string::npos) out.type = entry.substr(bar + 1);
        if (!out.path.empty()) outputs.push_back(std::move(out));
    }
    return outputs;
}

std::string ExpandOutputPath(const std::string& path, const ProjectContext& context,
                             const std::string& fileLeaf) {
    size_t at = path.find("$(");
    if (at == std::string::npos) return path;
    std::string tail = NativePath(context.Expand(path.substr(at), fileLeaf));
    if (!tail.empty() && (tail[0] == '/' || (tail.size() > 2 && tail[1] == ':'))) return tail;
    return path.substr(0, at) + tail;
}

std::vector<std::string> MalformedTokens(const std::string& optionString) {
    std::vector<std::string> bad;
    for (const std::string& token : options::SplitOptionString(optionString)) {
        bool ok = token.size() >= 2 && token.front() == '[' && token.back() == ']';
        if (ok) {
            std::string body = options::TokenBody(token);
            size_t first = body.find('|');
            size_t second = first == std::string::npos ? first : body.find('|', first + 1);
            ok = first == 1 && body[0] >= 'A' && body[0] <= 'Z' && second != std::string::npos &&
                 second > first + 1;
        }
        if (!ok) bad.push_back(token);
    }
    return bad;
}

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

// A project file before it is given to a phase.
struct Candidate {
    std::string file, path, type;
    bool generated;
    bool taken = false;
};

bool ReadPhases(const PluginCalls& calls, const ProjectContext& context, BuildPlan& plan,
                std::string& error) {
    for (const std::string& name : context.workspace().phases) {
        auto info = calls.PhaseInformation(name);
        if (!info || info->size() < 2) {
            error = "GetBuildPhaseInformation failed for " + name;
            return false;
        }
        if (info->size() > 2 && (*info)[2] != "ON") continue;
        PhaseDesc phase;
        phase.name = name;
        phase.single = (*info)[0] == "SINGLE";
        phase.place = (*info)[1];
        auto inputs = calls.InputFileTypes(name);
        if (!inputs) {
            error = "GetInputFileTypes failed for " + name;
            return false;
        }
        phase.inputTypes = *inputs;
        plan.phases.push_back(phase);
    }
    std::stable_sort(plan.phases.begin(), plan.phases.end(),
                     [](const PhaseDesc& a, const PhaseDesc& b) {
                         return PlaceOrder(a.place) < PlaceOrder(b.place);
                     });
    return true;
}

// The workspace's option entries name file types of the catalogue.
bool CheckFileTypes(const Project& project, const std::vector<std::string>& catalogue,
                    std::string& error) {
    std::vector<std::string> types;
    for (const std::string& entry : catalogue) types.push_back(entry.substr(0, entry.find('|')));
    for (const OptionEntry& entry : project.options) {
        if (entry.fileType.empty() || Contains(types, entry.fileType)) continue;
        error = "project " + project.name + ": unknown file type \"" + entry.fileType + "\"" +
                DidYouMean(entry.fileType, types);
        return false;
    }
    return true;
}

std::string LeafOf(const Step& step, const ProjectContext& context) {
    return step.file.empty() ? context.project().name : FileLeaf(step.file);
}

// Each distinct stored text once, numbered in the plan.
class OptionTexts {
  public:
    explicit OptionTexts(BuildPlan& plan) : plan_(plan) {}
    uint32_t Number(const std::string& raw) {
        auto [it, added] = numbers_.emplace(raw, static_cast<uint32_t>(plan_.optionTexts.size()));
        if (added) plan_.optionTexts.push_back(raw);
        return it->second;
    }

  private:
    BuildPlan& plan_;
    std::unordered_map<std::string, uint32_t> numbers_;
};

bool FillStep(const PluginCalls& calls, const ProjectContext& context, const PhaseDesc& phase,
              Step& step, OptionTexts& texts, OutputMemo* memo, std::string& error) {
    std::string leaf = LeafOf(step, context);
    std::optional<std::string> stored =
        FindOptions(context.project(), phase.name, context.configName(), step.fileType, step.file);
    std::string raw;
    if (stored) {
        raw = *stored;
    } else if (auto def = calls.DefaultOptions(phase.name, context.configName(), step.fileType)) {
        raw = *def;
    } else {
        error = "GetDefaultOptions failed for " + phase.name;
        return false;
    }
    const std::string options = context.Expand(raw, leaf);
    if (options.empty()) return true; // nothing stored, nothing produced
    step.optionText = texts.Number(raw);
    step.optionsHash = HashText(options);
    auto ask = [&](const std::string& text) {
        return calls.OutputFiles(phase.name, text, context.info());
    };
    auto outputs =
        memo == nullptr
            ? ask(options)
            : memo->Outputs(
                  phase.name + '\n' + raw, leaf, options,
                  [&](const std::string& standIn) { return context.Expand(raw, standIn); }, ask);
    if (!outputs) {
        error = "GetOutputFiles failed for " + phase.name +
                (step.file.empty() ? "" : " (" + step.file + ")");
        return false;
    }
    step.outputs = ParseOutputList(*outputs);
    for (OutputFile& out : step.outputs) {
        std::string expanded = ExpandOutputPath(out.path, context, leaf);
        if (expanded != out.path) out.listed = std::exchange(out.path, std::move(expanded));
    }
    return true;
}

bool PlanSingleStep(const PluginCalls& calls, const ProjectContext& context, BuildPlan& plan,
                    size_t p, std::vector<Candidate>& candidates, OptionTexts& texts,
                    std::string& error) {
    const PhaseDesc& phase = plan.phases[p];
    Step step;
    step.phase = p;
    if (!FillStep(calls, context, phase, step, texts, nullptr, error)) return false;
    for (Candidate& c : candidates) {
        if (c.generated || c.taken || !Contains(phase.inputTypes, c.type)) continue;
        c.taken = true;
        step.projectInputs.push_back(c.path + "|" + c.type);
    }
    plan.steps.push_back(std::move(step));
    return true;
}

bool PlanFileSteps(const PluginCalls& calls, const ProjectContext& context, BuildPlan& plan,
                   size_t p, std::vector<Candidate>& candidates, OptionTexts& texts,
                   OutputMemo& memo, std::string& error) {
    const PhaseDesc& phase = plan.phases[p];
    std::vector<Candidate> produced;
    for (Candidate& c : candidates) {
        if (c.taken || !Contains(phase.inputTypes, c.type)) continue;
        c.taken = true;
        Step step;
        step.phase = p;
        step.file = c.file;
        step.filePath = c.path;
        step.fileType = c.type;
        step.generated = c.generated;
        if (!FillStep(calls, context, phase, step, texts, &memo, error)) return false;
        // An output that a later phase consumes (an assembly source from
        // the compiler) becomes a file of that phase.
        for (const OutputFile& out : step.outputs)
            if (out.type != "Object file") produced.push_back({out.path, out.path, out.type, true});
        plan.steps.push_back(std::move(step));
    }
    candidates.insert(candidates.end(), produced.begin(), produced.end());
    return true;
}

std::string StepName(const BuildPlan& plan, const Step& step) {
    const PhaseDesc& phase = plan.phases[step.phase];
    return step.file.empty() ? "the " + phase.name + " step"
                             : "the " + phase.name + " step for " + step.file;
}

// No step may write over the workspace file, a project file, the host's own
// records, what another step reads or another step's output, nor over a
// directory. Paths are compared as the file system resolves them, so a link
// or a ".." in an output cannot hide what it leads to. Linear: the files
// are looked up in tables.
bool CheckOutputs(BuildPlan& plan, const ProjectContext& context, std::string& error) {
    PathResolver resolver;
    // Resolved path -> what it is, as two pieces joined only for the message.
    struct Kept {
        const char* what;
        std::string_view name;
    };
    // Sized once: a large project's tables would otherwise grow a dozen times.
    size_t outputs = 0;
    for (const Step& step : plan.steps) outputs += step.outputs.size();
    const size_t files = context.project().files.size();
    // Keyed by views of the resolver's own paths, which stay where they are
    // until it goes: a large plan's paths are not copied three times more.
    std::unordered_map<std::string_view, Kept> kept;
    kept.reserve(files + 8);
    auto keep = [&](const std::string& path, const char* what, const std::string& name) {
        kept.emplace(resolver.Resolve(path).path, Kept{what, name});
    };
    // The paths compared below, asked of the file system in one batch: a
    // large plan's stats are most of its time, and they go faster together.
    std::vector<std::string> sources;
    sources.reserve(files);
    for (const std::string& file : context.project().files)
        sources.push_back(context.FilePath(file));
    // A file step's own path is one of the sources, spelt the same way.
    std::vector<const std::string*> asked;
    asked.reserve(files + outputs);
    for (const std::string& source : sources) asked.push_back(&source);
    for (const Step& step : plan.steps)
        for (const OutputFile& out : step.outputs) asked.push_back(&out.path);
    resolver.ResolveAll(asked);
    asked = {};
    for (size_t i = 0; i < files; ++i)
        keep(sources[i], "the workspace source ", context.project().files[i]);
    keep(context.workspace().path, "the workspace file ", context.workspace().path);
    const std::string& dir = context.configDir();
    const std::string stateFile = BuildState::FileIn(dir), journal = BuildState::JournalIn(dir),
                      lock = BuildState::LockIn(dir);
    keep(stateFile, "the host's build state ", stateFile);
    keep(journal, "the host's build journal ", journal);
    keep(lock, "the host's lock file ", lock);
    const std::vector<std::string> ownFiles = BuildState::OwnFilesIn(dir);
    for (const std::string& own : ownFiles) keep(own, "the host's file ", own);
    std::unordered_map<std::string_view, const Step*> readers; // input path -> a step reading it
    readers.reserve(plan.steps.size());
    for (const Step& other : plan.steps) {
        if (!other.filePath.empty() && !other.generated)
            readers.emplace(resolver.Resolve(other.filePath).path, &other);
        for (const std::string& in : other.projectInputs)
            readers.emplace(resolver.Resolve(in.substr(0, in.rfind('|'))).path, &other);
    }
    std::unordered_map<std::string_view, const Step*> writers;
    writers.reserve(outputs);
    for (const Step& step : plan.steps) {
        for (const OutputFile& out : step.outputs) {
            const ResolvedPath& resolved = resolver.Resolve(out.path);
            // Spelt only for a refusal: most plans have none.
            auto over = [&] {
                return StepName(plan, step) + " would write its output " + out.path +
                       (resolved.throughLink ? " (a link to " + std::string(resolved.path) + ")"
                                             : "") +
                       " over ";
            };
            if (auto it = kept.find(resolved.path); it != kept.end()) {
                error = over() + it->second.what + std::string(it->second.name);
                return false;
            }
            if (auto it = readers.find(resolved.path); it != readers.end() && it->second != &step) {
                error = over() + "an input of " + StepName(plan, *it->second);
                return false;
            }
            if (resolved.directory) {
                error = over() + "a directory";
                return false;
            }
            auto [it, added] = writers.emplace(resolved.path, &step);
            if (!added && it->second != &step) {
                error = StepName(plan, *it->second) + " and " + StepName(plan, step) +
                        " would both write " + out.path;
                return false;
            }
        }
    }
    plan.entryTimes = resolver.TakeTimes();
    return true;
}

} // namespace

std::string BuildPlan::OptionsOf(const Step& step, const ProjectContext& context) const {
    if (!step.HasOptions()) return "";
    return context.Expand(optionTexts[step.optionText], LeafOf(step, context));
}

std::optional<BuildPlan> MakeBuildPlan(const PluginCalls& calls, const ProjectContext& context,
                                       std::string& error) {
    BuildPlan plan;
    if (!ReadPhases(calls, context, plan, error)) return std::nullopt;
    auto catalogue = calls.SupportedFileExtensions();
    if (!catalogue) {
        error = "GetSupportedFileExtensions failed";
        return std::nullopt;
    }
    if (!CheckFileTypes(context.project(), *catalogue, error)) return std::nullopt;
    auto extensions = ExtensionTable(*catalogue);
    {
        // Gone before the output check, which needs room of its own.
        std::vector<Candidate> candidates;
        candidates.reserve(context.project().files.size());
        for (const std::string& file : context.project().files)
            candidates.push_back(
                {file, context.FilePath(file), FileTypeOf(extensions, file), false});
        OutputMemo memo;
        OptionTexts texts(plan);
        plan.steps.reserve(candidates.size() + plan.phases.size());
        for (size_t p = 0; p < plan.phases.size(); ++p) {
            bool ok = plan.phases[p].single
                          ? PlanSingleStep(calls, context, plan, p, candidates, texts, error)
                          : PlanFileSteps(calls, context, plan, p, candidates, texts, memo, error);
            if (!ok) return std::nullopt;
        }
    }
    if (!CheckOutputs(plan, context, error)) return std::nullopt;
    for (const OptionEntry& entry : context.project().options)
        for (const std::string& token : MalformedTokens(entry.value))
            plan.warnings.push_back("project " + context.project().name + ", " + entry.phase +
                                    " options: the token " + token + " does not parse");
    return plan;
}

} // namespace quorle::host
