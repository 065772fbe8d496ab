#include "models/model_base.h"

#include <cstring>
#include <limits>

#include "options/option_string.h"

namespace quorle::models {

int MatchKey(KeyList table, std::string_view body) {
    for (size_t i = 0; i < table.size(); ++i)
        if (!table[i].empty() && table[i] == body) return static_cast<int>(i);
    return -1;
}

bool ReadChoice(KeyList table, std::string_view body, int& field) {
    int position = MatchKey(table, body);
    if (position < 0) return false;
    field = position;
    return true;
}

bool ReadFlags(KeyList keys, std::string_view body, std::span<bool> flags) {
    int position = MatchKey(keys, body);
    if (position < 0 || static_cast<size_t>(position) >= flags.size()) return false;
    flags[static_cast<size_t>(position)] = true;
    return true;
}

std::optional<std::string_view> ValueAfter(std::string_view body, std::string_view prefix) {
    if (body.size() < prefix.size() || body.compare(0, prefix.size(), prefix) != 0)
        return std::nullopt;
    return body.substr(prefix.size());
}

std::string_view QuotedText(std::string_view value) {
    return options::Unquote(value);
}

void AppendListValue(std::vector<std::string>& list, std::string_view value, bool quoted) {
    size_t pos = 0;
    while (pos <= value.size()) {
        size_t bar = value.find('|', pos);
        size_t end = bar == std::string_view::npos ? value.size() : bar;
        std::string_view piece = value.substr(pos, end - pos);
        if (quoted) piece = QuotedText(piece);
        if (!piece.empty()) list.emplace_back(piece);
        if (bar == std::string_view::npos) break;
        pos = bar + 1;
    }
}

std::string_view EnclosedValue(std::string_view value) {
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
        return value.substr(1, value.size() - 2);
    return value;
}

int ReadNumber(std::string_view value) {
    // Out-of-range numbers clamp to the int range instead of overflowing.
    return static_cast<int>(options::ParseDecimal(value, std::numeric_limits<int>::min(),
                                                  std::numeric_limits<int>::max(), 0, true));
}

namespace {

// True when one of the eight bytes is below 0x23, that is possibly a blank
// or a double quote (bytes of 0x80 and above give false alarms, which the
// byte-wise check then clears).
bool MayHoldStop(const char* p) {
    uint64_t x;
    std::memcpy(&x, p, sizeof x);
    return ((x - 0x2323232323232323ULL) & ~x & 0x8080808080808080ULL) != 0;
}

} // namespace

bool NextTokenBody(std::string_view text, size_t& pos, std::string& scratch,
                   std::string_view& body) {
    const size_t n = text.size();
    const char* p = text.data();
    size_t i = pos;
    while (i < n && core::IsBlank(p[i])) ++i;
    if (i >= n) {
        pos = n;
        return false;
    }
    const size_t start = i;
    bool quoted = false;
    bool ended = false;
    bool quotePair = false; // two quotes in a row: unescaping changes them
    while (i < n && !ended) {
        if (i + 8 <= n && !MayHoldStop(p + i)) {
            i += 8;
            continue;
        }
        for (const size_t end = i + 8 < n ? i + 8 : n; i < end; ++i) {
            char c = p[i];
            if (c == '"') {
                quoted = !quoted;
                quotePair = quotePair || (i > start && p[i - 1] == '"');
            } else if (!quoted && core::IsBlank(c)) {
                ended = true;
                break;
            }
        }
    }
    pos = i;
    body = options::StripEnds(text.substr(start, i - start));
    // Without a quote pair or a closing bracket unescaping changes nothing,
    // and the body is a view into the option string itself.
    if (!quotePair && body.find(']') == std::string_view::npos) return true;
    scratch.assign(body);
    options::UnescapeInPlace(scratch);
    body = scratch;
    return true;
}

namespace {

void OpenToken(std::string& out) {
    if (!out.empty()) out += ' ';
    out += '[';
}

// Quote value with the escaping of the writers, appended to `out`.
void AppendQuotedText(std::string& out, std::string_view text) {
    options::AppendQuotedValue(out, text);
    // Unescaping pairs quotes from the left, so a value made only of quotes
    // would lose one to the enclosing pair; one more escaped quote pair
    // before the closing quote keeps the count right (and the token's quote
    // count even).
    if (!text.empty() && text.find_first_not_of('"') == std::string_view::npos)
        out.insert(out.size() - 1, "\"\"");
}

} // namespace

void AppendBody(std::string& out, std::string_view body) {
    if (body.empty()) return;
    OpenToken(out);
    out += body;
    out += ']';
}

void WriteChoice(std::string& out, KeyList table, int value) {
    if (value < 0 || static_cast<size_t>(value) >= table.size()) return;
    AppendBody(out, table[static_cast<size_t>(value)]);
}

void WriteFlags(std::string& out, KeyList keys, std::span<const bool> flags) {
    for (size_t i = 0; i < keys.size() && i < flags.size(); ++i)
        if (flags[i]) AppendBody(out, keys[i]);
}

void AppendQuoted(std::string& out, std::string_view prefix, std::string_view text) {
    OpenToken(out);
    out += prefix;
    AppendQuotedText(out, text);
    out += ']';
}

void AppendQuotedList(std::string& out, std::string_view prefix,
                      const std::vector<std::string>& list) {
    bool any = false;
    for (const std::string& entry : list) {
        // An empty entry would write "" which reads back as a lone quote.
        if (entry.empty()) continue;
        if (any) {
            out += '|';
        } else {
            OpenToken(out);
            out += prefix;
        }
        AppendQuotedText(out, entry);
        any = true;
    }
    if (any) out += ']';
}

void AppendJoinedValue(std::string& out, std::string_view prefix, std::string_view joined) {
    if (joined.find_first_of("\"] \t\r\n") != std::string_view::npos) {
        AppendQuoted(out, prefix, joined);
    } else {
        OpenToken(out);
        out += prefix;
        out += joined;
        out += ']';
    }
}

void AppendNumber(std::string& out, std::string_view prefix, int64_t value) {
    OpenToken(out);
    out += prefix;
    out += std::to_string(value);
    out += ']';
}

std::string Join(const std::vector<std::string>& list, std::string_view separator) {
    std::string out;
    for (size_t i = 0; i < list.size(); ++i) {
        if (i > 0) out += separator;
        out += list[i];
    }
    return out;
}

// ---- ModelBase --------------------------------------------------------------

namespace {
constexpr std::string_view kSkipDependency = "B|SKIPDEPENDENCY|1";
constexpr std::string_view kDependScan = "N|DEPENDSCAN|1";
constexpr std::string_view kMapBatch = "B|MAPBATCH|1";
constexpr std::string_view kSharedKeys[] = {"V|VERSION|", kSkipDependency, kDependScan, kMapBatch};
} // namespace

KeyList ModelBase::SharedKeys() {
    return kSharedKeys;
}

void ModelBase::Reset() {
    skipDependency_ = false;
    dependScan_ = false;
    mapBatch_ = false;
    ResetFields();
}

void ModelBase::Read(std::string_view optionString) {
    BeforeRead(optionString);
    ForEachTokenBody(optionString, [this](std::string_view body) {
        if (!ReadToken(body)) ReadBuildControl(body);
    });
    AfterRead();
}

std::string ModelBase::Write() const {
    std::string out;
    out.reserve(1536);
    AppendBody(out, options::kVersionToken);
    WriteTokens(out);
    WriteBuildControl(out);
    return out;
}

bool ModelBase::ReadBuildControl(std::string_view body) {
    if (body == kSkipDependency) {
        skipDependency_ = true;
    } else if (body == kDependScan) {
        dependScan_ = true;
    } else if (body == kMapBatch) {
        mapBatch_ = true;
    } else {
        return false;
    }
    return true;
}

void ModelBase::WriteBuildControl(std::string& out) const {
    if (skipDependency_) AppendBody(out, kSkipDependency);
    if (dependScan_) AppendBody(out, kDependScan);
    if (mapBatch_) AppendBody(out, kMapBatch);
}

} // namespace quorle::models
