#include "host/memory_report.h"

#include "host/diagnostics.h"
#include "host/memory_use.h"
#include "platform/platform.h"

namespace quorle::host {

namespace {

constexpr const char* kAbsoluteFile = "Absolute file";

} // namespace

std::vector<std::string> LinkMemoryReport(const Step& linkStep, const std::string& options,
                                          const std::string& currentDir) {
    const OutputFile* program = nullptr;
    for (const OutputFile& out : linkStep.outputs)
        if (out.type == kAbsoluteFile) program = &out;
    if (program == nullptr || !platform::IsFile(program->path)) return {};
    std::string shown = ShownPath(program->path, currentDir);
    std::string error;
    auto use = MeasureProgram(program->path, options, error);
    if (!use) return {"note: the memory use of " + shown + " is unknown: " + error};
    std::vector<std::string> lines{"Memory use of " + shown + ":"};
    for (const std::string& line : SummaryLines(*use)) lines.push_back("  " + line);
    return lines;
}

} // namespace quorle::host
