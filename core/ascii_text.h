// ASCII character helpers for names compared without regard to case (tool
// chain names, file extensions, file types) and for hexadecimal digits.
// Only A-Z and a-z fold, whatever locale the host process has set.
#pragma once

#include <string_view>

namespace quorle::options {

// 'A'..'Z' become 'a'..'z'; every other byte is kept.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// The value of a hexadecimal digit (either case), or -1 for any other byte.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace quorle::options
