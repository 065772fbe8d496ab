// The tabs of the sheet: their bits in the tab mask, titles and order, and
// the mask a selection asks for.
#pragma once

#include <string>
#include <vector>

#include "sheet/tree.h"

namespace quorle::sheet {

enum TabBit : unsigned {
    e_ShowCpp = 1,
    e_ShowAsm = 2,
    e_ShowLnk = 4,
    e_ShowLbg = 8,
    e_ShowCpu = 16,
    e_ShowDebugger = 32,
    e_ShowOption = 64,
    e_ShowWarning = 128,
};

// Every tab bit in the order the sheet shows the tabs (the bit order).
const std::vector<TabBit>& TabOrder();
std::string TabTitle(TabBit bit);
// The tab bit of phase 0-4; 0 for any other phase.
unsigned PhaseTabBit(int phase);
// The phase a tool tab edits (C/C++ 0, Assembly 1, Link/Library 2, Standard
// Library 3); -1 for the other tabs.
int ToolTabPhase(TabBit bit);

// The mask of a selection: Toolchain Option plus the bit of every selected
// leaf's phase; a selection made at project or file-type level adds CPU when
// the compiler, assembler or library generator is in it, and always
// Simulator; without any tool phase the Warning tab alone.
unsigned TabMaskOf(const std::vector<CLeaf*>& leaves, bool levelSelection);

// The tab bits of a mask in showing order.
std::vector<TabBit> TabsOf(unsigned mask);

} // namespace quorle::sheet
