// What an OK changed, as a person reads it: one line per option of each leaf
// whose text changed, naming where, the option's label and flag, and its old
// and new value as the controls show them.
#pragma once

#include <string>
#include <vector>

#include "sheet/control.h"
#include "sheet/host_records.h"
#include "sheet/option_sets.h"
#include "sheet/tree.h"

namespace quorle::sheet {

// "demo RELEASE Compiler src/main.c: Optimization level: Speed (-O3) -> Size
// (-Os)". `controls` are every control of the sheet's pages; an option no
// control shows is named by its key, with the token values.
std::vector<std::string> DescribeChanges(const HostRecords& records, const COptionSets& sets,
                                         const std::vector<CLeaf>& leaves,
                                         const std::vector<const ControlDef*>& controls);

// A control's value as a view words it: choice labels, "on" and "off",
// lists joined by ", ", "(none)" for nothing.
std::string ShownValue(const ControlDef& control, const Value& value);

} // namespace quorle::sheet
