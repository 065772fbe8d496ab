#include "output/line_parts.h"

#include <cstdint>

namespace quorle::output::detail {
namespace {

// The leading number of a text as the C run time's atoi reads it: blanks,
// an optional sign, digits. Saturates instead of overflowing.
int64_t LeadingNumber(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        if (value < INT64_MAX / 10) value = value * 10 + (text[i] - '0');
    }
    return negative ? -value : value;
}

bool AllDigits(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

} // namespace

RecordFields GnuRecord(std::string_view line) {
    RecordFields fields{"", "None", ""};
    std::string_view rest = line;
    bool pathColon = false;
    // Each pass consumes one colon of `rest` and touches only the text up to
    // the next one, so a line with many colons is still read in linear time.
    for (;;) {
        size_t colon = rest.find(':');
        if (colon == std::string_view::npos) break;
        size_t appended = fields.file.size();
        fields.file.append(rest.substr(0, colon));
        rest.remove_prefix(colon + 1);
        // Paths are reported with backslashes; a mixed path is made uniform too.
        for (size_t i = appended; i < fields.file.size(); ++i)
            if (fields.file[i] == '/') fields.file[i] = '\\';
        size_t next = rest.find(':');
        if (next == std::string_view::npos) break;
        std::string_view candidate = rest.substr(0, next);
        if (LeadingNumber(candidate) != 0) {
            fields.line = std::string(candidate);
            fields.message = std::string(rest.substr(next + 1));
            return fields;
        }
        if (candidate == "0") {
            // Tools count from 1; line 0 means the file as a whole.
            fields.line = "1";
            fields.message = std::string(rest.substr(next + 1));
            return fields;
        }
        // The colon belonged to a drive letter or a path: keep it in the file.
        pathColon = true;
        fields.file.push_back(':');
    }
    if (pathColon) fields.message = std::string(line);
    return fields;
}

bool NativeRecord(std::string_view line, RecordFields& fields) {
    size_t colon = std::string_view::npos;
    for (size_t i = 1; i + 1 < line.size(); ++i) {
        if (line[i] == ':' && line[i - 1] == ' ' && line[i + 1] == ' ') {
            colon = i;
            break;
        }
    }
    if (colon == std::string_view::npos) return false;
    std::string_view head = line.substr(0, colon);
    std::string_view message = line.substr(colon + 2);
    size_t close = head.rfind(')');
    if (close == std::string_view::npos || close == 0) return false;
    size_t open = head.rfind('(', close - 1);
    if (open == std::string_view::npos) return false;
    std::string_view number = head.substr(open + 1, close - open - 1);
    if (AllDigits(number)) {
        fields = {std::string(head.substr(0, open)), std::string(number), std::string(message)};
    } else {
        fields = {"None", "None", std::string(message)};
    }
    return true;
}

RecordFields UnrecognisedRecord(std::string_view line) {
    return {"None", "None", std::string(line)};
}

} // namespace quorle::output::detail
