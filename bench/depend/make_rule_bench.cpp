// The make-rule parse of a large "-M" output: it must stay linear.
#include <benchmark/benchmark.h>

#include <string>

#include "depend/make_rule.h"

namespace {

// A rule of about `bytes` bytes in the driver's Windows form.
std::string Rule(size_t bytes) {
    std::string rule = "big.o: C:\\src\\big.c";
    for (int i = 0; rule.size() < bytes; ++i) {
        rule += " \\\r\n C:\\toolchain\\corvo-elf\\include\\library\\subsystem_" +
                std::to_string(i) + ".h C:/work/proj/My\\ Headers/header_" + std::to_string(i) +
                ".h";
    }
    return rule + "\r\n";
}

void BM_ParseMakeRule(benchmark::State& state) {
    const std::string rule = Rule(static_cast<size_t>(state.range(0)));
    const std::vector<std::string> systemDirs{"C:\\toolchain\\corvo-elf\\include"};
    for (auto _ : state) {
        auto items =
            quorle::depend::ParseDriverOutput(rule, "C:\\src\\big.c", systemDirs, "C header file");
        benchmark::DoNotOptimize(items.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(rule.size()));
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_ParseMakeRule)
    ->RangeMultiplier(4)
    ->Range(64 << 10, 4 << 20)
    ->Unit(benchmark::kMillisecond)
    ->Complexity(benchmark::oN);

} // namespace
