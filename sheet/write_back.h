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
    // Per phase record and input position: its position in the new list when
    // the host's string there is handed back as it was, else -1.
    std::vector<std::vector<int>> kept;
    // A set's text differs from its text when the sheet opened, or sets merged.
    bool changed = false;
    int merged = 0;

    // The new position of a leaf's string.
    int PositionOf(const HostRecords& records, const CLeaf& leaf) const;
};

// Re-keys every set by its serialised text; sets of one phase with equal text
// merge into one (the leaves of the others are pointed to it). Where a set's
// text is what it was at opening (re-serialising alone changes nothing), each
// input position of it keeps its place and the host's own string, so a file
// gets back exactly what it had even when several equivalent strings shared
// the set. Changed sets are written re-serialised and fill the positions that
// changes and merging freed, lowest first, before new positions are
// appended; positions still free at the end are closed up.
WriteBackPlan PlanWriteBack(const HostRecords& records, const COptionSets& sets,
                            std::vector<CLeaf>& leaves);

// Stores a new null-terminated array in every record's output slot (each
// string and the array from the run-time heap that FreeSimpleType releases)
// and each leaf's position in its file record's second slot array, and in the
// first when the host gave one. False, with nothing stored, when memory runs out.
bool CommitWriteBack(const HostRecords& records, const WriteBackPlan& plan,
                     const std::vector<CLeaf>& leaves);

} // namespace quorle::sheet
