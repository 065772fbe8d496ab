// The options sheet over a project with many configurations: one file of
// each phase, every configuration with a string of its own, opened and
// closed with OK as EditOptions does.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <memory>

#include "sheet/sheet.h"
#include "tests/sheet/host_fixture.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

class SilentMessages : public CMessageSink {
  public:
    platform::MessageAnswer Show(const std::string&, const std::string&,
                                 platform::MessageButtons) override {
        return platform::MessageAnswer::Yes;
    }
};

std::vector<PhaseInput> ManyConfigurations(int count) {
    ProjectSpec compiled{"demo", {}, {}};
    ProjectSpec linked{"demo", {}, {}};
    FileSpec source{"main.c", "C source file", {}};
    FileSpec project{"demo", "", {}};
    std::vector<std::string> strings;
    for (int c = 0; c < count; ++c) {
        compiled.configs.push_back("CONFIG" + std::to_string(c));
        source.indices.push_back(c % 64);
        project.indices.push_back(0);
    }
    for (int i = 0; i < 64; ++i)
        strings.push_back("[V|VERSION|2] [S|DEFINES|\"D" + std::to_string(i) + "\"]");
    linked.configs = compiled.configs;
    compiled.files.push_back(source);
    linked.files.push_back(project);
    return {{"GNU Compiler", strings, {compiled}}, {"OptLinker", {"[V|VERSION|2]"}, {linked}}};
}

void FreeOutputs(HostRecordsFixture& host, size_t phases) {
    for (size_t r = 0; r < phases; ++r) {
        QuorlePhaseRecord& record = host.Phase(r);
        for (char** p = record.newOptions; p != nullptr && *p != nullptr; ++p) std::free(*p);
        std::free(record.newOptions);
        record.newOptions = nullptr;
    }
}

void BM_OpenAndOkWithManyConfigurations(benchmark::State& state) {
    HostRecordsFixture host(ManyConfigurations(static_cast<int>(state.range(0))));
    ProjectInfoFixture info("Dravik GNUCORVO [ELF]", "/nonexistent");
    SilentMessages messages;
    for (auto _ : state) {
        auto records = ReadHostRecords(host.List()).records;
        auto sheet = std::make_unique<CSheetBase>(std::move(*records), *info.Get(), messages);
        benchmark::DoNotOptimize(sheet->Ok());
        state.PauseTiming();
        sheet.reset();
        FreeOutputs(host, 2);
        state.ResumeTiming();
    }
    state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_OpenAndOkWithManyConfigurations)
    ->Arg(10000)
    ->Arg(20000)
    ->Arg(40000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

} // namespace
