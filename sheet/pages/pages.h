// The page data of the sheet's pages built on the generic engine.
#pragma once

#include "sheet/page_engine.h"

namespace quorle::sheet {

// The "Toolchain Option" tab: six boxes, the last two hidden and not stored.
PageData ToolOptionPage();
// The "Warning" tab: why no tool tab is shown.
PageData WarningPage();
// The "Simulator" tab over the debugger model.
PageData SimulatorPage();

} // namespace quorle::sheet
