// Asking the file system about a large plan's files: 10,000 paths, one file
// each, two directories deep, stat'ed on 1, 2 and 4 threads. On a 2-core
// machine two threads should take about half as long as one.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "host/stat_batch.h"

namespace {

namespace fs = std::filesystem;

class Files {
  public:
    Files() {
        root_ = fs::temp_directory_path() /
                ("quorle-stat-bench-" + std::to_string(std::random_device{}()));
        fs::create_directories(root_ / "src" / "deep");
        for (int i = 0; i < 10000; ++i) {
            fs::path file = root_ / "src" / "deep" / ("f" + std::to_string(i) + ".c");
            std::ofstream(file) << i;
            paths_.push_back(file.string());
        }
        for (const std::string& path : paths_) asked_.push_back(&path);
    }
    ~Files() {
        std::error_code ec;
        fs::remove_all(root_, ec);
    }
    const std::vector<const std::string*>& asked() const { return asked_; }

  private:
    fs::path root_;
    std::vector<std::string> paths_;
    std::vector<const std::string*> asked_;
};

void BM_StatTenThousandPaths(benchmark::State& state) {
    static Files files;
    auto threads = static_cast<unsigned>(state.range(0));
    for (auto _ : state) {
        auto found = quorle::host::StatEntries(files.asked(), threads);
        benchmark::DoNotOptimize(found.data());
    }
}
BENCHMARK(BM_StatTenThousandPaths)->Arg(1)->Arg(2)->Arg(4)->Unit(benchmark::kMillisecond);

} // namespace
