#include "host/plan_files.h"

#include <filesystem>

namespace quorle::host {

namespace fs = std::filesystem;

namespace {

// The base of a generated name: the output's name without its extension,
// each blank as "~".
std::string BaseOf(const std::string& path) {
    std::string base = fs::u8path(path).stem().string();
    for (char& c : base)
        if (c == ' ') c = '~';
    return base;
}

const char* SubcommandExtension(const PhaseDesc& phase) {
    if (phase.Compiles()) return ".gcc";
    if (phase.place == "ASSEMBLE") return ".gas";
    if (phase.Links()) return ".gld";
    if (phase.place == "PRE_COMPILE") return ".glg";
    return nullptr;
}

} // namespace

std::string DependencyFileOf(const std::string& output) {
    return output + ".qdeps";
}

PlanFiles FilesOfPlan(const BuildPlan& plan, const ProjectContext& context) {
    PlanFiles files;
    const std::string config = context.configDir() + "/";
    for (const Step& step : plan.steps) {
        const PhaseDesc& phase = plan.phases[step.phase];
        const char* extension = SubcommandExtension(phase);
        // Listings default to the source's leaf name, maps to the project's.
        std::string leaf = step.file.empty() ? "" : BaseOf(step.file);
        if (phase.Compiles() && !leaf.empty())
            for (const char* list : {".lst", ".lpp", ".lis"})
                files.byProducts.insert(config + leaf + list);
        if (phase.place == "ASSEMBLE" && !leaf.empty())
            files.byProducts.insert(config + leaf + ".lis");
        if (phase.Links())
            files.byProducts.insert(config + BaseOf(context.project().name) + ".map");
        for (const OutputFile& out : step.outputs) {
            files.outputs.push_back(out.path);
            if (phase.Compiles()) files.hostFiles.insert(DependencyFileOf(out.path));
            if (phase.place == "PRE_COMPILE") {
                fs::path work = fs::u8path(out.path).parent_path() /
                                fs::u8path(fs::u8path(out.path).stem().string() + ".libgen");
                files.byProductDirs.insert(work.lexically_normal().generic_string());
            }
            // The plug-in names its files after the output as it listed it,
            // which may still hold a placeholder (no second name: none).
            for (const std::string& named : {out.path, out.listed}) {
                std::string base = BaseOf(named);
                if (base.empty()) continue;
                if (extension != nullptr) files.byProducts.insert(config + base + extension);
                if (phase.Links()) {
                    std::string script = config + base + "_" + context.configName() + "_auto.gsi";
                    files.byProducts.insert(script);
                    files.byProducts.insert(script + ".host.ld");
                    files.byProducts.insert(config + base + "_input.tmp");
                    // The stand-in's copy when it maps the input files' paths.
                    files.byProducts.insert(config + base + "_input.tmp.host.ld");
                    files.byProducts.insert(config + base + ".map");
                }
            }
        }
    }
    return files;
}

} // namespace quorle::host
