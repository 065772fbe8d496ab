// The build journal: which steps of a build started and which finished,
// for the build after one that was killed. A header line, then one line per
// start ("s") and end ("f") naming the step by its id, 16 hexadecimal
// digits: two lines of 19 bytes per step at most, whatever the step reads or
// makes. The records it names are only data: a step it names is out of date,
// and the host deletes no path because of it.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quorle::host {

struct JournalEvent {
    char kind = 's'; // 's' started, 'f' finished
    uint64_t id = 0;
};

struct JournalReading {
    // False when any line did not read: the journal may then name any step.
    bool whole = true;
    std::vector<JournalEvent> events; // in the order they happened
};

extern const char* const kJournalHeader;

// Reads any bytes; never fails, but may find them not whole.
JournalReading ReadJournal(std::string_view text);
// One line with its line end.
std::string JournalLine(char kind, uint64_t id);

} // namespace quorle::host
