// Option strings: "[" type "|" KEY "|" value "]" tokens separated by blanks.
// These helpers are the single place that knows the quoting rules.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "core/ascii_text.h"

namespace quorle::options {

// The set every reader and writer uses: a double quote, then "]".
inline constexpr std::string_view kEscapeSet = "\"]";
inline constexpr std::string_view kVersionToken = "V|VERSION|2";

// Appends `item` to `list` with `separator` between entries; an empty item is
// ignored. With a blank separator an item not starting with "[" is wrapped in
// brackets first.
void AppendToken(std::string& list, std::string_view item, char separator = ' ');
// As AppendToken with a blank, always wrapping an item not starting with "[".
void AppendBracketedToken(std::string& list, std::string_view item);

// A double quote, the text, a double quote, escaped with kEscapeSet.
std::string QuoteValue(std::string_view text);
// Appends QuoteValue(text) to `out` without building it separately.
void AppendQuotedValue(std::string& out, std::string_view text);

// Doubles every character of `set` that lies strictly between the first and
// the last double quote of `text`; fewer than two quotes leave it unchanged.
std::string Escape(std::string_view text, std::string_view set = kEscapeSet);
// For each character c of `set`, collapses "cc" to "c" and c followed by a
// double quote to a double quote.
std::string Unescape(std::string_view text, std::string_view set = kEscapeSet);
// Unescape applied to `text` itself.
void UnescapeInPlace(std::string& text, std::string_view set = kEscapeSet);

// Splits an option string into its raw tokens (brackets and quotes kept).
// Whitespace outside double quotes separates; each quote toggles.
std::vector<std::string> SplitOptionString(std::string_view text);
// A raw token without its first and last character, unescaped: "S|KEY|value".
std::string TokenBody(std::string_view token);
// The bodies of all tokens of an option string, in order.
std::vector<std::string> ReadTokenBodies(std::string_view text);

// Removes leading separators, returns the run up to the next separator and
// removes it and the separators after it from `text`.
std::string NextField(std::string& text, std::string_view separators);

// Plain substring search.
bool HasToken(std::string_view optionString, std::string_view token);

// The text without its first and last character; shorter texts give "".
std::string_view StripEnds(std::string_view text);
// Strips a surrounding pair of double quotes when both are present; a lone
// quote is dropped; anything else is returned unchanged.
std::string_view Unquote(std::string_view text);

// Leading decimal digits of `text` (after an optional sign when `allowSign`),
// clamped to [minValue, maxValue] on overflow; no digits gives `fallback`.
int64_t ParseDecimal(std::string_view text, int64_t minValue, int64_t maxValue,
                     int64_t fallback = 0, bool allowSign = true);

// Splits a "|"-separated list, ignoring separators inside double quotes.
std::vector<std::string> SplitOutsideQuotes(std::string_view text, char separator);

} // namespace quorle::options
