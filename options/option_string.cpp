#include "options/option_string.h"

#include <limits>

namespace quorle::options {

void AppendToken(std::string& list, std::string_view item, char separator) {
    if (item.empty()) return;
    std::string wrapped;
    if (separator == ' ' && item.front() != '[') {
        wrapped.reserve(item.size() + 2);
        wrapped += '[';
        wrapped += item;
        wrapped += ']';
        item = wrapped;
    }
    if (!list.empty()) list += separator;
    list += item;
}

void AppendBracketedToken(std::string& list, std::string_view item) {
    AppendToken(list, item, ' ');
}

std::string QuoteValue(std::string_view text) {
    std::string quoted;
    quoted.reserve(text.size() + 2);
    AppendQuotedValue(quoted, text);
    return quoted;
}

namespace {
bool InEscapeSet(char c) {
    for (char e : kEscapeSet)
        if (c == e) return true;
    return false;
}
} // namespace

void AppendQuotedValue(std::string& out, std::string_view text) {
    // Every character of kEscapeSet inside the quotes is doubled, which is
    // what Escape does to the quoted text; one pass, no temporary.
    out += '"';
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (!InEscapeSet(text[i])) continue;
        out.append(text.substr(start, i - start + 1));
        out += text[i];
        start = i + 1;
    }
    out.append(text.substr(start));
    out += '"';
}

std::string Escape(std::string_view text, std::string_view set) {
    std::string out(text);
    for (char c : set) {
        size_t first = out.find('"');
        size_t last = out.rfind('"');
        if (first == std::string::npos || first == last) return out;
        std::string next;
        next.reserve(out.size() + 8);
        next.append(out, 0, first + 1);
        for (size_t i = first + 1; i < last; ++i) {
            next += out[i];
            if (out[i] == c) next += c;
        }
        next.append(out, last, std::string::npos);
        out.swap(next);
    }
    return out;
}

namespace {

// In place: "cc" becomes "c" and c followed by a double quote becomes the
// quote, starting at the first place where anything changes.
void CollapseInPlace(std::string& text, char c) {
    const size_t n = text.size();
    size_t i = text.find(c);
    while (i != std::string::npos && i + 1 < n && text[i + 1] != c && text[i + 1] != '"')
        i = text.find(c, i + 1);
    if (i == std::string::npos || i + 1 >= n) return;
    size_t w = i;
    while (i < n) {
        if (text[i] == c && i + 1 < n && (text[i + 1] == c || text[i + 1] == '"')) {
            text[w++] = text[i + 1];
            i += 2;
        } else {
            text[w++] = text[i++];
        }
    }
    text.resize(w);
}

} // namespace

std::string Unescape(std::string_view text, std::string_view set) {
    std::string out(text);
    UnescapeInPlace(out, set);
    return out;
}

void UnescapeInPlace(std::string& text, std::string_view set) {
    for (char c : set) CollapseInPlace(text, c);
}

namespace {

// Calls `fn` with each raw token: whitespace outside double quotes separates,
// each quote toggles.
template <class Fn> void ForEachRawToken(std::string_view text, Fn&& fn) {
    size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && core::IsBlank(text[i])) ++i;
        size_t start = i;
        bool quoted = false;
        while (i < text.size() && (quoted || !core::IsBlank(text[i]))) {
            if (text[i] == '"') quoted = !quoted;
            ++i;
        }
        if (i > start) fn(text.substr(start, i - start));
    }
}

} // namespace

std::vector<std::string> SplitOptionString(std::string_view text) {
    std::vector<std::string> tokens;
    ForEachRawToken(text, [&tokens](std::string_view token) { tokens.emplace_back(token); });
    return tokens;
}

std::string TokenBody(std::string_view token) {
    return Unescape(StripEnds(token));
}

std::vector<std::string> ReadTokenBodies(std::string_view text) {
    std::vector<std::string> bodies;
    ForEachRawToken(text,
                    [&bodies](std::string_view token) { bodies.push_back(TokenBody(token)); });
    return bodies;
}

std::string NextField(std::string& text, std::string_view separators) {
    size_t start = text.find_first_not_of(separators);
    if (start == std::string::npos) {
        text.clear();
        return {};
    }
    size_t end = text.find_first_of(separators, start);
    std::string field =
        text.substr(start, end == std::string::npos ? std::string::npos : end - start);
    if (end == std::string::npos) {
        text.clear();
    } else {
        size_t rest = text.find_first_not_of(separators, end);
        text.erase(0, rest == std::string::npos ? text.size() : rest);
    }
    return field;
}

bool HasToken(std::string_view optionString, std::string_view token) {
    return optionString.find(token) != std::string_view::npos;
}

std::string_view StripEnds(std::string_view text) {
    if (text.size() < 2) return {};
    return text.substr(1, text.size() - 2);
}

std::string_view Unquote(std::string_view text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"')
        return text.substr(1, text.size() - 2);
    if (text == "\"") return {};
    return text;
}

int64_t ParseDecimal(std::string_view text, int64_t minValue, int64_t maxValue, int64_t fallback,
                     bool allowSign) {
    size_t i = 0;
    bool negative = false;
    if (allowSign && i < text.size() && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    if (i >= text.size() || text[i] < '0' || text[i] > '9') return fallback;
    // Accumulate in the negative range so INT64_MIN is representable; clamp
    // instead of overflowing.
    int64_t value = 0;
    bool overflow = false;
    constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        int digit = text[i] - '0';
        if (!overflow) {
            if (value < (kMin + digit) / 10) {
                overflow = true;
            } else {
                value = value * 10 - digit;
            }
        }
    }
    if (overflow) return negative ? minValue : maxValue;
    if (!negative) {
        if (value == kMin) return maxValue;
        value = -value;
    }
    if (value < minValue) return minValue;
    if (value > maxValue) return maxValue;
    return value;
}

std::vector<std::string> SplitOutsideQuotes(std::string_view text, char separator) {
    std::vector<std::string> parts;
    std::string current;
    bool quoted = false;
    for (char c : text) {
        if (c == '"') quoted = !quoted;
        if (c == separator && !quoted) {
            parts.push_back(std::move(current));
            current.clear();
        } else {
            current += c;
        }
    }
    parts.push_back(std::move(current));
    return parts;
}

} // namespace quorle::options
