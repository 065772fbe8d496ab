#include "host/journal.h"

namespace quorle::host {

const char* const kJournalHeader = "quorle-host journal 3";

namespace {

constexpr size_t kIdDigits = 16;

// Exactly the digits the writer writes: lower case, no sign, all sixteen.
bool ReadId(std::string_view text, uint64_t& id) {
    if (text.size() != kIdDigits) return false;
    id = 0;
    for (char c : text) {
        int digit = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
        if (digit < 0) return false;
        id = id << 4 | static_cast<uint64_t>(digit);
    }
    return true;
}

} // namespace

JournalReading ReadJournal(std::string_view text) {
    JournalReading reading;
    if (text.empty()) return reading; // created, never written: names nothing
    size_t start = 0;
    bool header = true;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        // A last line without its line end was cut short.
        if (end == std::string_view::npos) {
            reading.whole = false;
            break;
        }
        std::string_view line = text.substr(start, end - start);
        start = end + 1;
        if (header) {
            header = false;
            if (line != kJournalHeader) {
                reading.whole = false;
                break;
            }
            continue;
        }
        JournalEvent event;
        if (line.size() != 2 + kIdDigits || (line[0] != 's' && line[0] != 'f') || line[1] != '\t' ||
            !ReadId(line.substr(2), event.id)) {
            reading.whole = false;
            break;
        }
        event.kind = line[0];
        reading.events.push_back(event);
    }
    if (!reading.whole) reading.events.clear();
    return reading;
}

std::string JournalLine(char kind, uint64_t id) {
    char line[2 + kIdDigits + 1];
    line[0] = kind;
    line[1] = '\t';
    static const char kDigits[] = "0123456789abcdef";
    for (size_t i = 0; i < kIdDigits; ++i)
        line[2 + i] = kDigits[(id >> (4 * (kIdDigits - 1 - i))) & 0xF];
    line[2 + kIdDigits] = '\n';
    return std::string(line, sizeof line);
}

} // namespace quorle::host
