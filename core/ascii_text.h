// ASCII character helpers for names compared without regard to case (tool
// chain names, file extensions, file types) and for hexadecimal digits.
// Only A-Z and a-z fold, whatever locale the host process has set.
#pragma once

#include <string>
#include <string_view>

namespace quorle::core {

// 'A'..'Z' become 'a'..'z'; every other byte is kept.
constexpr char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// 'a'..'z' become 'A'..'Z'; every other byte is kept.
constexpr char AsciiUpper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

// Blanks between option tokens and words: space, tab, CR and LF.
constexpr bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

// The C locale's white space: the blanks, vertical tab and form feed.
constexpr bool IsAsciiSpace(char c) {
    return IsBlank(c) || c == '\v' || c == '\f';
}

constexpr bool IsAsciiLetter(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

constexpr bool IsAsciiAlnum(char c) {
    return IsAsciiLetter(c) || (c >= '0' && c <= '9');
}

// The text with AsciiLower or AsciiUpper applied to every byte.
std::string ToAsciiLower(std::string_view text);
std::string ToAsciiUpper(std::string_view text);

bool EqualsIgnoringCase(std::string_view a, std::string_view b);
bool StartsWithIgnoringCase(std::string_view text, std::string_view prefix);

// The value of a hexadecimal digit (either case), or -1 for any other byte.
constexpr int HexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

} // namespace quorle::core
