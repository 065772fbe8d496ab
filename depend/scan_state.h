// State the dependency scans keep for the life of the module. Calls never
// overlap, so nothing here is locked.
#pragma once

#include <map>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "depend/scan_settings.h"

namespace quorle::depend {

struct ScanState {
    // Compiler: sources scanned since the last reset call, as the host named them.
    std::set<std::string> compilerScanned;
    // Assembler: lower-cased path to its list; emptied by a reset call.
    std::map<std::string, std::string> assemblerResults;
    // Assembler: lower-cased paths whose list went out in this batch.
    std::set<std::string> assemblerReported;
    // Lower-cased full paths of include files reported in this batch.
    std::set<std::string> includeSeen;
    // The assembler include settings of the batch.
    AssemblerScanSettings assemblerSettings;
    bool assemblerSettingsValid = false;
};

ScanState& State();

} // namespace quorle::depend
