// One switch option as one row: its key in the option string, what it adds to
// the tool's command line, and how the options editor shows it (its label,
// where an "&" marks a fixed mnemonic and its absence lets the page choose
// one, and its help). Rows that only a command line reads leave these empty.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace quorle::models {

struct FlagOption {
    std::string_view key;
    std::string_view flag;
    std::string_view label{};
    std::string_view help{};
};

template <size_t N> constexpr std::array<std::string_view, N> KeysOf(const FlagOption (&rows)[N]) {
    std::array<std::string_view, N> keys{};
    for (size_t i = 0; i < N; ++i) keys[i] = rows[i].key;
    return keys;
}

template <size_t N> constexpr std::array<std::string_view, N> FlagsOf(const FlagOption (&rows)[N]) {
    std::array<std::string_view, N> flags{};
    for (size_t i = 0; i < N; ++i) flags[i] = rows[i].flag;
    return flags;
}

// One value of a choice: its token in the option string, what it adds to the
// command line, and the label the options editor shows. Position 0 of a
// table is the field's value 0.
struct ChoiceOption {
    std::string_view token;
    std::string_view flag{};
    std::string_view label{};
};

template <size_t N>
constexpr std::array<std::string_view, N> TokensOf(const ChoiceOption (&rows)[N]) {
    std::array<std::string_view, N> tokens{};
    for (size_t i = 0; i < N; ++i) tokens[i] = rows[i].token;
    return tokens;
}

template <size_t N>
constexpr std::array<std::string_view, N> FlagsOf(const ChoiceOption (&rows)[N]) {
    std::array<std::string_view, N> flags{};
    for (size_t i = 0; i < N; ++i) flags[i] = rows[i].flag;
    return flags;
}

// The position of the row with `key`. A key no row has fails to compile where
// the position is a constant.
template <size_t N> constexpr size_t RowOf(const FlagOption (&rows)[N], std::string_view key) {
    for (size_t i = 0; i < N; ++i)
        if (rows[i].key == key) return i;
    throw "no row has this key";
}

// The listing contents both gcc (through -Wa,-a) and the assembler (-a) take:
// each switch adds its letter to the listing option.
inline constexpr FlagOption kListContentOptions[] = {
    {"B|LINCASS|1", "l", "Include &assembly"},
    {"B|LINCSYM|1", "s", "Include &symbols"},
    {"B|LINCHLS|1", "h", "Include &high-level source"},
    {"B|LOMITDD|1", "d", "&Omit debugging directives"},
    {"B|LOMITFP|1", "n", "Omit forms processing (&no page breaks)"},
};
inline constexpr auto kListContentKeys = KeysOf(kListContentOptions);

// The project kinds the compiler and the assembler take; the linker takes the
// first two.
inline constexpr ChoiceOption kProjectTypeOptions[] = {
    {"S|PROJECTTYPE|CAPPPROJECT", "", "C application"},
    {"S|PROJECTTYPE|CPPAPPPROJECT", "", "C++ application"},
    {"S|PROJECTTYPE|LIBPROJECT", "", "Library"},
};
inline constexpr auto kListContentLetters = FlagsOf(kListContentOptions);

} // namespace quorle::models
