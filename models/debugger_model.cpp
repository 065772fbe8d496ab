#include "models/debugger_model.h"

#include <cctype>
#include <cstdio>

#include "core/ascii_text.h"
#include "options/option_string.h"

namespace quorle::models {
namespace {

constexpr std::string_view kTypes[] = {"RAM", "ROM", "IO"};

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    return text;
}

std::optional<uint32_t> ReadHex(std::string_view text) {
    text = Trimmed(text);
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    uint32_t value = 0;
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) return std::nullopt;
        int digit = std::isdigit(static_cast<unsigned char>(c))
                        ? c - '0'
                        : std::toupper(static_cast<unsigned char>(c)) - 'A' + 10;
        value = value * 16 + static_cast<uint32_t>(digit);
    }
    return value;
}

} // namespace

std::string MemoryResource::Text() const {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%08X,%08X,", static_cast<unsigned>(start),
                  static_cast<unsigned>(end));
    return buffer + type;
}

std::span<const std::string_view> MemoryResourceTypes() {
    return kTypes;
}

std::optional<MemoryResource> ParseMemoryResource(std::string_view text) {
    size_t first = text.find(',');
    if (first == std::string_view::npos) return std::nullopt;
    size_t second = text.find(',', first + 1);
    if (second == std::string_view::npos) return std::nullopt;
    auto start = ReadHex(text.substr(0, first));
    auto end = ReadHex(text.substr(first + 1, second - first - 1));
    if (!start || !end || *end < *start) return std::nullopt;
    std::string_view type = Trimmed(text.substr(second + 1));
    for (std::string_view known : kTypes) {
        if (core::EqualsIgnoringCase(type, known))
            return MemoryResource{*start, *end, std::string(known)};
    }
    return std::nullopt;
}

bool Overlaps(const MemoryResource& a, const MemoryResource& b) {
    return a.start <= b.end && b.start <= a.end;
}

DebuggerModel::DebuggerModel(std::string_view optionString) : ModelBase(kPhaseDebug) {
    Read(optionString);
}

void DebuggerModel::ResetFields() {
    static_cast<DebuggerFields&>(*this) = DebuggerFields{};
}

bool DebuggerModel::ReadToken(std::string_view body) {
    if (auto value = ValueAfter(body, debugger_keys::kMemoryResources)) {
        AppendListValue(memoryResources_, *value, true);
        return true;
    }
    if (body.starts_with("V|VERSION|")) return true;
    // Build-control switches are the base's; everything else is carried.
    if (ReadBuildControl(body)) return true;
    carried_.emplace_back(body);
    return true;
}

void DebuggerModel::WriteTokens(std::string& out) const {
    AppendQuotedList(out, debugger_keys::kMemoryResources, memoryResources_);
    for (const std::string& body : carried_) {
        if (!out.empty()) out += ' ';
        out += options::Escape("[" + body + "]");
    }
}

} // namespace quorle::models
