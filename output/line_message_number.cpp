#include "output/line_parts.h"

#include <cstdint>
#include <cstdio>

namespace quorle::output::detail {
namespace {

struct CodeClass {
    std::string_view prefix;
    char letter;
};

// Searched in this order; the first prefix that matches gives the class.
constexpr CodeClass kCodeClasses[] = {
    {"C", 'C'}, {"L", 'L'},  {"P", 'L'},  {"S", 'S'},  {"G", 'G'},
    {"B", 'B'}, {"DC", 'D'}, {"DA", 'E'}, {"DL", 'F'}, {"DB", 'H'},
};

// Leading decimal digits as an unsigned 32-bit number, saturating.
uint32_t LeadingUnsigned(std::string_view text) {
    uint64_t value = 0;
    for (char c : text) {
        if (c < '0' || c > '9') break;
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > UINT32_MAX) return UINT32_MAX;
    }
    return static_cast<uint32_t>(value);
}

} // namespace

std::string MessageNumber(std::string_view code) {
    char letter = 'A';
    std::string_view digits = code;
    for (const CodeClass& cls : kCodeClasses) {
        if (code.substr(0, cls.prefix.size()) == cls.prefix) {
            letter = cls.letter;
            digits = code.substr(cls.prefix.size());
            break;
        }
    }
    // Unsigned arithmetic wraps like the 32-bit original; no overflow is undefined.
    uint32_t number = static_cast<uint32_t>(letter - 64) * 10000u + LeadingUnsigned(digits);
    char text[16];
    std::snprintf(text, sizeof text, "%u", static_cast<unsigned>(number));
    return text;
}

} // namespace quorle::output::detail
