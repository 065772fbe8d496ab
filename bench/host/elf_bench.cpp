// Reading a linked program for its memory use: 10 MB ELF files of two
// shapes, one large section (a big image) and many small ones (a program
// built with -ffunction-sections and debug information), from disk and from
// memory, and the summary made from them.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>

#include "host/elf_file.h"
#include "host/memory_use.h"
#include "tests/support/elf_writer.h"

namespace {

namespace fs = std::filesystem;
using namespace quorle::host;
using quorle::testing_support::ElfWriter;

constexpr size_t kFileBytes = 10u * 1024 * 1024;
constexpr const char* kRegions =
    "[S|MEMDET|FLASH|0|0x00000000|0x00FFFFFF|RAM|1|0x20000000|0x2FFFFFFF|*]";

std::string OneLargeSection() {
    ElfWriter w;
    w.sections = {{".text", 1, 0x6, 0x0, 0, std::string(kFileBytes, 'T')},
                  {".bss", 8, 0x3, 0x20000000, 4096, ""}};
    w.segments = {{1, 0, 0, kFileBytes, 0}};
    return w.Build();
}

// About 10 MB: sections of 64 bytes each, half of them allocated.
std::string ManySmallSections() {
    ElfWriter w;
    const size_t count = kFileBytes / (64 + 40 + 16);
    w.sections.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        bool code = i % 2 == 0;
        w.sections.push_back({(code ? ".text.f" : ".debug_info.") + std::to_string(i), 1,
                              code ? 0x6u : 0x0u, code ? i * 64 : 0, 0, std::string(64, 'x')});
    }
    return w.Build();
}

const fs::path& FileOf(const std::string& name, std::string (*make)()) {
    static std::map<std::string, fs::path> files;
    auto found = files.find(name);
    if (found != files.end()) return found->second;
    fs::path path = fs::temp_directory_path() / ("quorle-bench-" + name + ".x");
    std::ofstream(path, std::ios::binary | std::ios::trunc) << make();
    return files.emplace(name, path).first->second;
}

void ReadFromDisk(benchmark::State& state, const std::string& name, std::string (*make)()) {
    const fs::path& path = FileOf(name, make);
    std::string error;
    for (auto _ : state) {
        auto use = MeasureProgram(path.string(), kRegions, error);
        if (!use) state.SkipWithError(error.c_str());
        benchmark::DoNotOptimize(use);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(fs::file_size(path)));
}

void BM_MemoryUseOfOneLargeSection(benchmark::State& state) {
    ReadFromDisk(state, "large", OneLargeSection);
}
BENCHMARK(BM_MemoryUseOfOneLargeSection)->Unit(benchmark::kMillisecond);

void BM_MemoryUseOfManySmallSections(benchmark::State& state) {
    ReadFromDisk(state, "many", ManySmallSections);
}
BENCHMARK(BM_MemoryUseOfManySmallSections)->Unit(benchmark::kMillisecond);

// The reader alone, on bytes already in memory.
void BM_ReadElfManySmallSections(benchmark::State& state) {
    const std::string bytes = ManySmallSections();
    std::string error;
    for (auto _ : state) {
        auto elf = ReadElf(bytes, error);
        benchmark::DoNotOptimize(elf);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) *
                            static_cast<int64_t>(bytes.size()));
}
BENCHMARK(BM_ReadElfManySmallSections)->Unit(benchmark::kMillisecond);

} // namespace
