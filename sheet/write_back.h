// Closing with OK: the option sets re-keyed by their new text, equal ones of
// a phase merged, new position arrays planned, and the host's output slots
// filled.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "sheet/host_records.h"
#include "sheet/option_sets.h"
#include "sheet/tree.h"

namespace quorle::sheet {

struct WriteBackPlan {
    // Per phase record: the new option strings in order.
    std::vector<std::vector<std::string>> outputs;
    // The position of each surviving set in its record's new list.
    std::unordered_map<const COptionSet*, int> positions;
    // A set's text differs from its text when the sheet opened, or sets merged.
    bool changed = false;
    int merged = 0;
};

// Re-keys every set by its serialised text; sets of one phase with equal text
// merge into one (the leaves of the others are pointed to it). Unchanged sets
// keep their input position; the others fill the positions that merging and
// duplicate inputs freed, lowest first, before new positions are appended;
// positions still free at the end are closed up.
WriteBackPlan PlanWriteBack(const HostRecords& records, const COptionSets& sets,
                            std::vector<CLeaf>& leaves);

// Stores a new null-terminated array in every record's output slot (each
// string and the array from the run-time heap that FreeSimpleType releases)
// and each leaf's position in its file record's second slot array, and in the
// first when the host gave one. False, with nothing stored, when memory runs out.
bool CommitWriteBack(const HostRecords& records, const WriteBackPlan& plan,
                     const std::vector<CLeaf>& leaves);

} // namespace quorle::sheet
