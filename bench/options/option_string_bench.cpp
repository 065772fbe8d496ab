#include <benchmark/benchmark.h>

#include "options/option_string.h"

using namespace quorle::options;

static void BM_ReadTokenBodies(benchmark::State& state) {
    std::string text = "[V|VERSION|2]";
    for (int i = 0; i < 40; ++i)
        text +=
            " [S|KEY" + std::to_string(i) + "|" + QuoteValue("C:\\dir ]" + std::to_string(i)) + "]";
    for (auto _ : state) benchmark::DoNotOptimize(ReadTokenBodies(text));
}
BENCHMARK(BM_ReadTokenBodies);
