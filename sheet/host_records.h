// The host's phase records of an options-editor call, read and checked once
// into plain data. The records stay the host's; the pointers kept here are
// where the write-back goes.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/records.h"
#include "core/user_message.h"

namespace quorle::sheet {

struct HostConfig {
    std::string name;
    std::string dir;
};

struct HostFile {
    std::string path;
    std::string fileType;     // empty for the project record of a project-wide phase
    std::vector<int> indices; // per configuration: position in the phase's input strings
    int32_t* slotA = nullptr; // may be null
    int32_t* slotB = nullptr; // required
};

struct HostProject {
    std::string name;
    std::string dir;
    std::vector<HostConfig> configs;
    std::vector<HostFile> files;
};

struct HostPhase {
    std::string name; // as the record holds it
    int index = -1;   // phase index of the name
    std::vector<std::string> inputs;
    std::vector<HostProject> projects;
    QuorlePhaseRecord* record = nullptr;
};

struct HostRecords {
    std::vector<HostPhase> phases;
};

// Reads the null-terminated list. No records (and a message saying why) when a record has
// the wrong size, a phase name names no phase the sheet edits, a file record
// lacks its index array or its second slot array, or an index lies outside
// the phase's input strings. A null list inside a record counts as empty.
struct HostRecordsRead {
    std::optional<HostRecords> records;
    UserMessages messages;
};
HostRecordsRead ReadHostRecords(QuorlePhaseRecord* const* list);

} // namespace quorle::sheet
