// The readable form of a link whose sub-command file names a temporary
// script of one long line: its cost must grow with the script's size, not
// with its square.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cmdline/display.h"

namespace {

void BM_DisplayWithLongScriptLine(benchmark::State& state) {
    namespace fs = std::filesystem;
    const fs::path dir = fs::temp_directory_path() / "quorle_display_bench";
    fs::create_directories(dir);
    const std::string script = (dir / "long.tmp").string();
    std::ofstream(script, std::ios::binary)
        << std::string(static_cast<size_t>(state.range(0)), 'x');
    const std::string file = (dir / "link.glg").string();
    std::ofstream(file, std::ios::binary) << "-T \"" << script << "\" \n-o \"a.x\"\n";
    const std::string command = "@\"" + file + "\"";
    for (auto _ : state) {
        quorle::DisplayText display = quorle::CommandLineDisplayText(command);
        benchmark::DoNotOptimize(display);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
    fs::remove_all(dir);
}
BENCHMARK(BM_DisplayWithLongScriptLine)->Arg(64 << 10)->Arg(1 << 20)->Arg(8 << 20);

} // namespace
