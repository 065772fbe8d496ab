// Fuzz target: the reading of the compiler driver's "-M" output.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "depend/make_rule.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    // The first line names the source; the rest is the driver's output.
    size_t end = text.find('\n');
    std::string_view source = end == std::string_view::npos ? text : text.substr(0, end);
    std::string_view output = end == std::string_view::npos ? "" : text.substr(end + 1);
    const std::vector<std::string> systemDirs{"C:\\tc", "", "/usr"};
    for (const std::string& item :
         quorle::depend::ParseDriverOutput(output, source, systemDirs, "C header file")) {
        // An item is made of input bytes and a fixed decoration.
        if (item.size() > output.size() + 32) std::abort();
    }
    for (const std::string& item : quorle::depend::ParseMakeRule(output, source, systemDirs, "t")) {
        if (item.size() < 8 || item.compare(item.size() - 2, 2, "|t") != 0) std::abort();
    }
    return 0;
}
