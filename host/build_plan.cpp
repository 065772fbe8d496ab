#include "host/build_plan.h"

#include <algorithm>
#include <cctype>

#include "host/text_list.h"

namespace quorle::host {

int PlaceOrder(const std::string& place) {
    static const char* const order[] = {"PRE_COMPILE", "COMPILE", "ASSEMBLE", "LINK"};
    for (int i = 0; i < 4; ++i)
        if (place == order[i]) return i;
    return 4;
}

PhaseKind KindOfPlace(const std::string& place) {
    switch (PlaceOrder(place)) {
    case 0:
        return PhaseKind::Generator;
    case 1:
        return PhaseKind::Compiler;
    case 2:
        return PhaseKind::Assembler;
    case 3:
        return PhaseKind::Linker;
    default:
        return PhaseKind::Other;
    }
}

const char* PhaseVerb(PhaseKind kind) {
    switch (kind) {
    case PhaseKind::Generator:
        return "Generating library";
    case PhaseKind::Compiler:
        return "Compiling";
    case PhaseKind::Assembler:
        return "Assembling";
    case PhaseKind::Linker:
        return "Linking";
    default:
        return "Running";
    }
}

std::string UpperExtension(const std::string& path) {
    size_t slash = path.find_last_of("/\\");
    size_t dot = path.rfind('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return "";
    std::string ext = path.substr(dot + 1);
    for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return ext;
}

std::vector<std::pair<std::string, std::string>>
ExtensionTable(const std::vector<std::string>& catalogue) {
    std::vector<std::pair<std::string, std::string>> table;
    for (const std::string& entry : catalogue) {
        std::vector<std::string> fields = SplitAll(entry, '|');
        for (size_t i = 2; i < fields.size(); ++i) {
            std::string ext = fields[i];
            for (char& c : ext) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            table.emplace_back(ext, fields[0]);
        }
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

std::string NativePath(const std::string& path) {
#if defined(_WIN32)
    return path;
#else
    std::string native = path;
    std::replace(native.begin(), native.end(), '\\', '/');
    return native;
#endif
}

std::vector<OutputFile> ParseOutputList(const std::vector<std::string>& entries) {
    std::vector<OutputFile> outputs;
    for (const std::string& entry : entries) {
        size_t bar = entry.rfind('|');
        OutputFile out;
        out.path = NativePath(bar == std::string::npos ? entry : entry.substr(0, bar));
        if (bar != std::string::npos) out.type = entry.substr(bar + 1);
        if (!out.path.empty()) outputs.push_back(out);
    }
    return outputs;
}

namespace {

bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}

bool FillStep(const PluginCalls& calls, const ProjectContext& context, const PhaseDesc& phase,
              Step& step, std::string& error) {
    std::string leaf = step.file.empty() ? context.project().name : FileLeaf(step.file);
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
    step.options = context.Expand(raw, leaf);
    if (step.options.empty()) return true; // nothing stored, nothing produced
    auto outputs = calls.OutputFiles(phase.name, step.options, context.info());
    if (!outputs) {
        error = "GetOutputFiles failed for " + phase.name +
                (step.file.empty() ? "" : " (" + step.file + ")");
        return false;
    }
    step.outputs = ParseOutputList(*outputs);
    return true;
}

} // namespace

std::optional<BuildPlan> MakeBuildPlan(const PluginCalls& calls, const ProjectContext& context,
                                       std::string& error) {
    BuildPlan plan;
    for (const std::string& name : context.workspace().phases) {
        auto info = calls.PhaseInformation(name);
        if (!info || info->size() < 2) {
            error = "GetBuildPhaseInformation failed for " + name;
            return std::nullopt;
        }
        if (info->size() > 2 && (*info)[2] != "ON") continue;
        PhaseDesc phase;
        phase.name = name;
        phase.single = (*info)[0] == "SINGLE";
        phase.place = (*info)[1];
        phase.kind = KindOfPlace(phase.place);
        auto inputs = calls.InputFileTypes(name);
        if (!inputs) {
            error = "GetInputFileTypes failed for " + name;
            return std::nullopt;
        }
        phase.inputTypes = *inputs;
        plan.phases.push_back(phase);
    }
    std::stable_sort(plan.phases.begin(), plan.phases.end(),
                     [](const PhaseDesc& a, const PhaseDesc& b) {
                         return PlaceOrder(a.place) < PlaceOrder(b.place);
                     });

    auto catalogue = calls.SupportedFileExtensions();
    if (!catalogue) {
        error = "GetSupportedFileExtensions failed";
        return std::nullopt;
    }
    auto extensions = ExtensionTable(*catalogue);

    struct Candidate {
        std::string file, path, type;
        bool generated;
        bool taken = false;
    };
    std::vector<Candidate> candidates;
    for (const std::string& file : context.project().files) {
        std::string path = context.FilePath(file);
        candidates.push_back({file, path, FileTypeOf(extensions, file), false});
    }

    for (size_t p = 0; p < plan.phases.size(); ++p) {
        const PhaseDesc& phase = plan.phases[p];
        if (phase.single) {
            Step step;
            step.phase = p;
            if (!FillStep(calls, context, phase, step, error)) return std::nullopt;
            for (Candidate& c : candidates) {
                if (c.generated || c.taken || !Contains(phase.inputTypes, c.type)) continue;
                c.taken = true;
                step.projectInputs.push_back(c.path + "|" + c.type);
            }
            plan.steps.push_back(step);
            continue;
        }
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
            if (!FillStep(calls, context, phase, step, error)) return std::nullopt;
            // An output that a later phase consumes (an assembly source from
            // the compiler) becomes a file of that phase.
            for (const OutputFile& out : step.outputs)
                if (out.type != "Object file")
                    produced.push_back({out.path, out.path, out.type, true});
            plan.steps.push_back(step);
        }
        candidates.insert(candidates.end(), produced.begin(), produced.end());
    }
    return plan;
}

} // namespace quorle::host
