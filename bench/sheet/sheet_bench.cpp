// The options sheet over a large workspace: 2,000 file records in each of
// four phases (compiler, assembler, linker, library generator) in ten
// projects, three configurations each, 500 distinct option strings.
#include <benchmark/benchmark.h>

#include <memory>

#include "sheet/sheet.h"
#include "tests/sheet/host_fixture.h"

using namespace quorle;
using namespace quorle::sheet;
using namespace quorle::sheet_test;

namespace {

constexpr int kProjects = 10;
constexpr int kFilesPerProject = 200;
constexpr int kStringsPerPhase = 125;

std::string CompilerString(int i) {
    return "[V|VERSION|2] [S|DEFINES|\"D" + std::to_string(i) +
           "\"|\"MODE=" + std::to_string(i % 7) + "\"] [S|INCDIR|\"$(PROJDIR)\\inc" +
           std::to_string(i) + "\"] [B|DEBUG|" + std::to_string(i % 2) + "] [I|OPTLV|" +
           std::to_string(1 + i % 3) + "] [S|CPUTYPE|CV2]";
}
std::string AssemblerString(int i) {
    return "[V|VERSION|2] [S|DEFINES|\"A" + std::to_string(i) + "\"] [I|DEBUGLV|" +
           std::to_string(i % 3) + "]";
}
std::string LinkerString(int i) {
    return "[V|VERSION|2] [S|OUTFILE|\"$(CONFIGDIR)\\out" + std::to_string(i) +
           ".x\"] [S|MEMDET|ram|0|0|FF|*] [B|MFILEGEN|" + std::to_string(i % 2) + "]";
}
std::string GeneratorString(int i) {
    return "[V|VERSION|2] [I|OPTTYPE|" + std::to_string(i % 3) + "] [S|OUTPUTPATH|\"lib" +
           std::to_string(i) + ".a\"]";
}

PhaseInput MakePhase(const std::string& name, std::string (*text)(int), bool fileBased) {
    PhaseInput phase{name, {}, {}};
    for (int i = 0; i < kStringsPerPhase; ++i) phase.inputs.push_back(text(i));
    int n = 0;
    for (int p = 0; p < kProjects; ++p) {
        ProjectSpec project{"project" + std::to_string(p), {"Debug", "Release", "Test"}, {}};
        for (int f = 0; f < kFilesPerProject; ++f, ++n) {
            std::vector<int32_t> indices = {n % kStringsPerPhase, (n * 7) % kStringsPerPhase,
                                            (n * 13) % kStringsPerPhase};
            project.files.push_back({"src\\file" + std::to_string(n) + (fileBased ? ".c" : ""),
                                     fileBased ? "C source file" : "", indices});
        }
        phase.projects.push_back(std::move(project));
    }
    return phase;
}

std::vector<PhaseInput> Workspace() {
    return {MakePhase("GNU Compiler", CompilerString, true),
            MakePhase("GNU Assembler", AssemblerString, true),
            MakePhase("OptLinker", LinkerString, false),
            MakePhase("GNU Library Generator", GeneratorString, false)};
}

class SilentMessages : public CMessageSink {
  public:
    platform::MessageAnswer Show(const std::string&, const std::string&,
                                 platform::MessageButtons) override {
        return platform::MessageAnswer::Yes;
    }
};

struct Fixture {
    Fixture() : host(Workspace()), info(kCorvoName, "/nonexistent") {}
    std::unique_ptr<CSheetBase> Open() {
        auto records = ReadHostRecords(host.List()).records;
        return std::make_unique<CSheetBase>(std::move(*records), *info.Get(), messages);
    }
    std::vector<NodeRef> CompilerNodes(CSheetBase& sheet) {
        std::vector<NodeRef> nodes;
        for (int p = 0; p < kProjects; ++p)
            nodes.push_back(
                *sheet.Tree().Find("GNU Compiler", "project" + std::to_string(p), "", false));
        return nodes;
    }
    void FreeOutputs() {
        for (size_t r = 0; r < 4; ++r) {
            QuorlePhaseRecord& record = host.Phase(r);
            for (char** p = record.newOptions; p != nullptr && *p != nullptr; ++p) std::free(*p);
            std::free(record.newOptions);
            record.newOptions = nullptr;
        }
    }
    static constexpr const char* kCorvoName = "Dravik GNUCORVO [ELF]";
    HostRecordsFixture host;
    ProjectInfoFixture info;
    SilentMessages messages;
};

void BM_BuildSheet(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        auto sheet = fixture.Open();
        benchmark::DoNotOptimize(sheet.get());
    }
}
BENCHMARK(BM_BuildSheet)->Unit(benchmark::kMillisecond);

void BM_SelectAllCompilerLeavesWithPreview(benchmark::State& state) {
    Fixture fixture;
    auto sheet = fixture.Open();
    sheet->ShowConfigurations({"All Configurations"});
    std::vector<NodeRef> nodes = fixture.CompilerNodes(*sheet);
    for (auto _ : state) {
        sheet->Select(nodes, false);
        benchmark::DoNotOptimize(sheet->ActivePage()->CommandLine());
    }
    state.counters["leaves"] = static_cast<double>(sheet->Manager().selection.size());
}
BENCHMARK(BM_SelectAllCompilerLeavesWithPreview)->Unit(benchmark::kMillisecond);

void BM_OkWriteBack(benchmark::State& state) {
    Fixture fixture;
    for (auto _ : state) {
        state.PauseTiming();
        fixture.FreeOutputs();
        auto sheet = fixture.Open();
        sheet->ShowConfigurations({"All Configurations"});
        sheet->Select(fixture.CompilerNodes(*sheet), false);
        sheet->SetControl("LTO", {"1"}); // every compiler set changes
        state.ResumeTiming();
        benchmark::DoNotOptimize(sheet->Ok());
        state.PauseTiming();
        sheet.reset();
        state.ResumeTiming();
    }
    fixture.FreeOutputs();
}
BENCHMARK(BM_OkWriteBack)->Unit(benchmark::kMillisecond);

} // namespace
