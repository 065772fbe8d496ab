#include "host/stat_batch.h"

#include <algorithm>
#include <atomic>
#include <system_error>
#include <thread>

namespace quorle::host {

namespace {

// Below this a thread's start costs about what it would save.
constexpr size_t kPathsPerThread = 512;
// Past a few threads the kernel's own locks, not the cores, set the pace.
constexpr unsigned kMostThreads = 4;
// Paths taken at a time from the shared counter.
constexpr size_t kChunk = 64;

} // namespace

std::vector<std::optional<platform::EntryStatus>>
StatEntries(std::span<const std::string* const> paths, unsigned threads) {
    std::vector<std::optional<platform::EntryStatus>> found(paths.size());
    if (threads == 0) threads = std::clamp(std::thread::hardware_concurrency(), 1u, kMostThreads);
    threads = static_cast<unsigned>(
        std::min<size_t>(threads, std::max<size_t>(1, paths.size() / kPathsPerThread)));
    std::atomic<size_t> next{0};
    // Each slot is written by the one thread that took its chunk.
    auto work = [&] {
        for (;;) {
            size_t start = next.fetch_add(kChunk, std::memory_order_relaxed);
            if (start >= paths.size()) return;
            size_t end = std::min(paths.size(), start + kChunk);
            for (size_t i = start; i < end; ++i) found[i] = platform::StatEntry(*paths[i]);
        }
    };
    std::vector<std::thread> helpers;
    helpers.reserve(threads - 1);
    for (unsigned t = 1; t < threads; ++t) {
        try {
            helpers.emplace_back(work);
        } catch (const std::system_error&) {
            break; // no thread to be had: the ones there finish the batch
        }
    }
    work();
    for (std::thread& helper : helpers) helper.join();
    return found;
}

} // namespace quorle::host
