// Fuzz target: the host's build journal read as data from anywhere. Any
// bytes read without fault; a journal read whole is exactly the lines its
// events write, and one that is not names no event at all.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "host/journal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    quorle::host::JournalReading reading = quorle::host::ReadJournal(text);
    if (!reading.whole) {
        if (!reading.events.empty()) std::abort();
        return 0;
    }
    if (text.empty()) {
        if (!reading.events.empty()) std::abort();
        return 0;
    }
    std::string written = std::string(quorle::host::kJournalHeader) + "\n";
    for (const quorle::host::JournalEvent& event : reading.events)
        written += quorle::host::JournalLine(event.kind, event.id);
    if (written != text) std::abort();
    return 0;
}
