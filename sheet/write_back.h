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
    // Per leaf (in the tree's order): the position of its string in its
    // record's new list.
    std::vector<int> leafPositions;
    // Some leaf's text or position differs from what the host gave.
    bool changed = false;
    // Sets that merged into another of equal text.
    int merged = 0;
};

// Sets of one phase record with equal text merge into one (an unchanged set
// survives where there is one; the leaves of the others are pointed to it).
// Then each leaf is placed: a leaf whose text is what its input string read
// to keeps that position and the host's own bytes, so equivalent strings
// come back as they were; another leaf joins a kept position of the same
// text, or a new string that every leaf of that text shares. New strings
// fill the positions nobody keeps, lowest first, before new positions are
// appended; positions still free at the end are closed up. Positions no leaf
// uses keep their strings.
WriteBackPlan PlanWriteBack(const HostRecords& records, const COptionSets& sets,
                            std::vector<CLeaf>& leaves);

// Stores a new null-terminated array in every record's output slot (each
// string and the array from the run-time heap that FreeSimpleType releases)
// and each leaf's position in its file record's second slot array, and in the
// first when the host gave one. False, with nothing stored, when memory runs out.
bool CommitWriteBack(const HostRecords& records, const WriteBackPlan& plan,
                     const std::vector<CLeaf>& leaves);

} // namespace quorle::sheet
