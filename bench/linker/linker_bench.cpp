#include <benchmark/benchmark.h>

#include <filesystem>

#include "cmdline/linker_inputs.h"
#include "cmdline/linker_text.h"
#include "models/linker_model.h"
#include "output/optimisation.h"
#include "phases/output_files.h"
#include "sections/layout_tree.h"

using quorle::models::LinkerModel;
namespace sections = quorle::sections;

namespace {

std::string FiftyGroupString() {
    LinkerModel model;
    for (int i = 0; i < 50; ++i) {
        sections::SectionGroup group;
        group.name = ".group" + std::to_string(i);
        group.placement = sections::kFixedAddress;
        group.placementText = "0x" + std::to_string(0x1000 * (i + 1));
        group.contents = {sections::LabelItem("_start" + std::to_string(i)),
                          sections::SectionItem(".text" + std::to_string(i), {"a.o", "b.o"}),
                          sections::SectionItem(".data" + std::to_string(i), {"All-files"}),
                          sections::LabelItem("_end" + std::to_string(i))};
        model.layout_.groups.push_back(group);
    }
    model.layout_.regions = {{"rom", 1, "0x0", "0xFFFFF"}, {"ram", 2, "0x100000", "0x1FFFFF"}};
    model.libDirs_ = {"$(TCINSTALL)\\corvo-elf\\corvo-elf\\lib", "$(CONFIGDIR)"};
    model.libraries_ = {"libm.a", "libc.a"};
    return model.Serialize();
}

struct LinkSetup {
    LinkerModel model;
    std::vector<std::string> inputs;
};

// 20,000 inputs, every one named in the link order lists (in reverse order).
LinkSetup FullLinkOrder() {
    LinkSetup setup;
    for (int i = 0; i < 20000; ++i) {
        std::string name;
        const char* kind;
        if (i % 10 == 0) {
            name = "lib" + std::to_string(i) + ".a";
            kind = "|Library file";
            setup.model.libraries_.insert(setup.model.libraries_.begin(), name);
        } else if (i % 10 == 1) {
            name = "data" + std::to_string(i) + ".bin";
            kind = "|Binary file";
            setup.model.binaries_.insert(setup.model.binaries_.begin(), name);
        } else {
            name = "Module" + std::to_string(i) + ".O";
            kind = "|Object file";
            setup.model.objects_.insert(setup.model.objects_.begin(), name);
        }
        setup.inputs.push_back("C:\\project\\src\\dir" + std::to_string(i % 7) + "\\" + name +
                               kind);
    }
    return setup;
}

void BM_ParseSerializeFiftyGroups(benchmark::State& state) {
    const std::string text = FiftyGroupString();
    for (auto _ : state) {
        LinkerModel model(text);
        benchmark::DoNotOptimize(model.Serialize());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ParseSerializeFiftyGroups);

void BM_ReorderTwentyThousandInputs(benchmark::State& state) {
    const LinkSetup setup = FullLinkOrder();
    for (auto _ : state) {
        LinkerModel model = setup.model;
        std::vector<std::string> inputs = setup.inputs;
        benchmark::DoNotOptimize(quorle::cmdline::ReorderInputs(model, inputs));
    }
}
BENCHMARK(BM_ReorderTwentyThousandInputs)->Unit(benchmark::kMillisecond);

void BM_LinkTextTwentyThousandInputs(benchmark::State& state) {
    const LinkSetup setup = FullLinkOrder();
    const bool inputFile = state.range(0) != 0;
    const std::string dir = std::filesystem::temp_directory_path().string();
    for (auto _ : state) {
        LinkerModel model = setup.model;
        std::string out;
        benchmark::DoNotOptimize(
            quorle::cmdline::BuildLinkText(model, setup.inputs, out, dir, inputFile).ok);
    }
}
BENCHMARK(BM_LinkTextTwentyThousandInputs)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

} // namespace

namespace {

// A chain of `depth` groups, each placed at a label of the one before, as
// the stored GROUPDET text holds it.
std::string ChainedGroupString(int depth) {
    std::string text = "[S|GROUPDET|.g0|0|0||1|0x0|0|0|1|l0|<<FEND>>|<<CEND>>|<<GEND>>|";
    for (int i = 1; i < depth; ++i) {
        text += ".g" + std::to_string(i) + "|0|0||2|l" + std::to_string(i - 1) + "|0|0|1|l" +
                std::to_string(i) + "|<<FEND>>|<<CEND>>|<<GEND>>|";
    }
    return text + "]";
}

// Reading the chain costs one lookup per group: the time per group stays
// flat as the chain grows (compare the two sizes).
void BM_OutputFilesChainedGroups(benchmark::State& state) {
    const std::string options = ChainedGroupString(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        auto list = quorle::phases::OutputFileList(quorle::kPhaseLinker, options, "C:\\cfg");
        benchmark::DoNotOptimize(list);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OutputFilesChainedGroups)->Arg(6000)->Arg(60000)->Unit(benchmark::kMillisecond);

void BM_OptimisationRewriteChainedGroups(benchmark::State& state) {
    const std::string options = ChainedGroupString(static_cast<int>(state.range(0)));
    for (auto _ : state) {
        std::string rewritten =
            quorle::output::OptimisationOptions(quorle::kPhaseLinker, options, 2).options;
        benchmark::DoNotOptimize(rewritten);
    }
    state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_OptimisationRewriteChainedGroups)
    ->Arg(6000)
    ->Arg(60000)
    ->Unit(benchmark::kMillisecond);

} // namespace
