// quorle-host memory [WS] [--config N] [--svg FILE]: how full the chip is,
// from the linked program of each project: every memory region with the
// sections in it, and optionally a picture of the map.
#include <cstdio>
#include <fstream>

#include "host/diagnostics.h"
#include "host/memory_map_svg.h"
#include "host/memory_use.h"
#include "host/workspace_command.h"
#include "platform/platform.h"

namespace quorle::host {

namespace {

constexpr const char* kAbsoluteFile = "Absolute file";

// Takes "--svg FILE" out of the arguments; the rest are the common ones.
bool TakeSvgOption(std::vector<std::string>& args, std::string& svgPath) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] != "--svg") continue;
        if (i + 1 >= args.size()) return false;
        svgPath = args[i + 1];
        args.erase(args.begin() + static_cast<long>(i), args.begin() + static_cast<long>(i) + 2);
        return true;
    }
    return true;
}

} // namespace

int RunMemory(const CommandContext& context) {
    std::vector<std::string> args = context.args;
    std::string svgPath;
    if (!TakeSvgOption(args, svgPath)) {
        std::fprintf(stderr, "quorle-host memory: --svg needs a file name\n");
        return 2;
    }
    CommandContext rest{context.api, args, context.program};
    WorkspaceCommand command(rest, "memory");
    if (!command.ok()) return command.exitCode();
    std::string currentDir = platform::GetCurrentDirectory();
    bool pictured = false;
    auto stopped = command.ForEachPlan([&](const ProjectPlan& p) -> std::optional<int> {
        for (const Step& step : p.plan.steps) {
            if (!p.plan.phases[step.phase].Links()) continue;
            for (const OutputFile& out : step.outputs) {
                if (out.type != kAbsoluteFile) continue;
                std::string shown = ShownPath(out.path, currentDir);
                std::string error;
                auto use = MeasureProgram(out.path, p.plan.OptionsOf(step, p.context), error);
                if (!use) return command.Error(error + " (build " + p.project.name + " first)");
                std::printf("%s (%s), %s:\n", p.project.name.c_str(), p.config.name.c_str(),
                            shown.c_str());
                for (const std::string& line : DetailLines(*use))
                    std::printf("  %s\n", line.c_str());
                if (svgPath.empty() || pictured) continue;
                std::ofstream file(svgPath, std::ios::binary | std::ios::trunc);
                file << MemoryMapSvg(*use, shown + " (" + p.config.name + ")");
                if (!file.flush()) return command.Error("cannot write " + svgPath);
                pictured = true;
                std::printf("Memory map: %s\n", svgPath.c_str());
            }
        }
        return std::nullopt;
    });
    if (stopped) return *stopped;
    return 0;
}

} // namespace quorle::host
