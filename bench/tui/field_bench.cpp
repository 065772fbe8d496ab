// A paste into an entry field of the terminal sheet: the keys arrive
// together and go in as one insertion, so the cost grows with the length.
#include <benchmark/benchmark.h>

#include <string>

#include "sheet/control.h"
#include "tui/control_text.h"
#include "tui/line_edit.h"

namespace {

using quorle::tui::LineEditor;

std::string Pasted(size_t bytes) {
    std::string text;
    while (text.size() < bytes) text += "-D NAME" + std::to_string(text.size() % 97) + "=1 ";
    text.resize(bytes);
    return text;
}

void BM_PasteIntoTextField(benchmark::State& state) {
    const std::string text = Pasted(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        LineEditor field("-D FIRST");
        field.Insert(text);
        benchmark::DoNotOptimize(field.Text().size());
    }
    state.SetComplexityN(state.range(0));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * state.range(0));
}
BENCHMARK(BM_PasteIntoTextField)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Complexity();

// The same text key by key, as typing (or a terminal that sends a paste
// slowly) gives it.
void BM_TypeIntoTextField(benchmark::State& state) {
    const std::string text = Pasted(static_cast<size_t>(state.range(0)));
    for (auto _ : state) {
        LineEditor field;
        for (char c : text) field.Insert(std::string_view(&c, 1));
        benchmark::DoNotOptimize(field.Text().size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_TypeIntoTextField)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Complexity();

// A number field refuses a long paste at its eleventh character.
void BM_PasteIntoNumberField(benchmark::State& state) {
    quorle::sheet::ControlDef count;
    count.kind = quorle::sheet::ControlKind::Number;
    count.label = "&Count:";
    count.maximum = 65535;
    const std::string digits(static_cast<size_t>(state.range(0)), '7');
    for (auto _ : state) {
        LineEditor field(
            "", [&](const std::string& t) { return quorle::tui::TypedNumberMessage(count, t); });
        benchmark::DoNotOptimize(field.Insert(digits).size());
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_PasteIntoNumberField)->RangeMultiplier(4)->Range(1 << 10, 1 << 20)->Complexity();

} // namespace
