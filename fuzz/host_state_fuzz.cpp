// Fuzz target: the host's state file read as data from anywhere. Any bytes
// read without fault, and what was kept writes back to a text that reads
// whole into the same records.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "host/build_state.h"

using quorle::host::BuildState;
using quorle::host::StepRecord;

namespace {

bool Same(const BuildState& a, const StepRecord& x, const BuildState& b, const StepRecord& y) {
    if (x.optionsHash != y.optionsHash || x.inputsHash != y.inputsHash ||
        x.depsKnown != y.depsKnown || x.incomplete != y.incomplete || x.made != y.made ||
        x.deps.size() != y.deps.size())
        return false;
    // In step: a list is read in order.
    for (auto i = x.deps.begin(), j = y.deps.begin(); i != x.deps.end(); ++i, ++j)
        if (int64_t{(*i).time} != int64_t{(*j).time} || a.PathOf((*i).path) != b.PathOf((*j).path))
            return false;
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    BuildState first;
    auto reading = first.ReadState(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!reading.known && first.size() != 0) std::abort();
    if (reading.badLines > 0 && (reading.firstBad < 2 || reading.firstBad > size + 1)) std::abort();
    std::string text = first.Serialise();
    BuildState second;
    auto again = second.ReadState(text);
    if (!again.known || again.badLines != 0) std::abort();
    for (const std::string& key : first.Keys()) {
        const StepRecord* kept = second.Find(key);
        const StepRecord* read = first.Find(key);
        if (kept == nullptr) {
            // Left out only for a path the line format cannot carry.
            bool tab = false;
            for (const auto& dep : read->deps)
                tab = tab || first.PathOf(dep.path).find('\t') != std::string::npos;
            if (!tab) std::abort();
        } else if (!Same(first, *read, second, *kept)) {
            std::abort();
        }
    }
    // Written again, it still reads whole. (Not the same bytes: a path's
    // usual time is the first record's to name it, in the map's order.)
    BuildState third;
    if (third.ReadState(second.Serialise()).badLines != 0 || third.size() != second.size())
        std::abort();
    return 0;
}
