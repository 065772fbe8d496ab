// Fuzz target: classification of tool output lines in every phase.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "output/line_classifier.h"
#include "output/line_parts.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view line(reinterpret_cast<const char*>(data), size);
    for (quorle::PhaseIndex phase : {quorle::kPhaseCompiler, quorle::kPhaseAssembler,
                                     quorle::kPhaseLinker, quorle::kPhaseGenerator}) {
        auto result = quorle::output::ClassifyOutputLine(phase, line);
        if (!result) std::abort();
        const std::string& record = result->record;
        if (record.size() < 2 || record.compare(record.size() - 2, 2, "\n\n") != 0) std::abort();
        if (record.size() > 2 * line.size() + 64) std::abort();
        if (result->errors < 0 || result->warnings < 0 || result->fatals < 0) std::abort();
    }
    std::string canonical = quorle::output::detail::CanonicalIfAbsolute(line);
    if (canonical.size() > line.size()) std::abort();
    if (quorle::output::detail::MessageNumber(line).size() > 10) std::abort();
    return 0;
}
