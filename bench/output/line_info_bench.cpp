// Lines per second through the work of GetOutputLineInfo: phase lookup,
// classification and the copy into the host's buffer.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>
#include <vector>

#include "core/phase.h"
#include "core/result_buffer.h"
#include "output/line_classifier.h"

namespace {

struct ToolLine {
    const char* phase;
    const char* line;
};

// What a build prints: gcc with its context lines, as and ld.
const std::vector<ToolLine> kMix = {
    {"GNU Compiler", "C:\\work\\proj\\src\\main.c: In function 'main':"},
    {"GNU Compiler", "C:\\work\\proj\\src\\main.c:12:5: error: 'count' undeclared (first use in "
                     "this function)"},
    {"GNU Compiler", "   12 |     count = read_sensor(channel);"},
    {"GNU Compiler", "      |     ^~~~~"},
    {"GNU Compiler", "C:/work/proj/src/util.c:48:17: warning: unused variable 'tmp' "
                     "[-Wunused-variable]"},
    {"GNU Compiler", "C:\\work\\proj\\src\\io.c:3:10: fatal error: board.h: No such file or "
                     "directory"},
    {"GNU Compiler", "compilation terminated."},
    {"GNU Compiler", ""},
    {"Assembler", "C:\\work\\proj\\src\\start.s: Assembler messages:"},
    {"Assembler", "C:\\work\\proj\\src\\start.s:27: Error: unknown opcode `movx'"},
    {"Assembler", "C:\\work\\proj\\src\\start.s:31: Warning: value 0x1ff truncated to 0xff"},
    {"Assembler", "start.src(40) : 200 (W) Operand size mismatch"},
    {"OptLinker", "main.o: In function `main':"},
    {"OptLinker", "C:\\work\\proj\\src\\main.c:(.text+0x1c): undefined reference to `init'"},
    {"OptLinker", "corvo-elf-ld: cannot find -lboard"},
    {"OptLinker", "collect2: error: ld returned 1 exit status"},
};

void BM_GetOutputLineInfoMix(benchmark::State& state) {
    char buffer[1024];
    int64_t lines = 0;
    for (auto _ : state) {
        for (const ToolLine& tool : kMix) {
            quorle::PhaseIndex phase = quorle::LookupPhase(tool.phase);
            auto result = quorle::output::ClassifyOutputLine(phase, tool.line);
            int32_t length = sizeof buffer;
            int copied = quorle::CopyListForm(result->record, buffer, &length);
            benchmark::DoNotOptimize(copied);
            benchmark::DoNotOptimize(result->errors);
        }
        lines += static_cast<int64_t>(kMix.size());
    }
    state.SetItemsProcessed(lines);
}
BENCHMARK(BM_GetOutputLineInfoMix);

} // namespace
