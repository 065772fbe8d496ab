// Fuzz target: reading ".INCLUDE" directives from an assembly source.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "depend/include_scanner.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    quorle::depend::IncludeReading reading = quorle::depend::ReadIncludeEntries(text);
    int lines = 1;
    for (char c : text) lines += c == '\n';
    if (reading.code != quorle::depend::kScanOk && !reading.entries.empty()) std::abort();
    if (reading.line > lines) std::abort();
    for (const auto& entry : reading.entries) {
        const std::string& name = entry.quotedName;
        if (name.size() < 3 || name.front() != '"' || name.back() != '"') std::abort();
        if (entry.line < 1 || entry.line > lines) std::abort();
    }
    return 0;
}
