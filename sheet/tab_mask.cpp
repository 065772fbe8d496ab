#include "sheet/tab_mask.h"

#include "resources/sheet_strings.h"
#include "sheet/messages.h"

namespace quorle::sheet {

const std::vector<TabBit>& TabOrder() {
    static const std::vector<TabBit> order = {e_ShowCpp,    e_ShowAsm,    e_ShowLnk,
                                              e_ShowLbg,    e_ShowCpu,    e_ShowDebugger,
                                              e_ShowOption, e_ShowWarning};
    return order;
}

std::string TabTitle(TabBit bit) {
    switch (bit) {
    case e_ShowCpp:
        return SheetText(sheet_strings::kTabCpp);
    case e_ShowAsm:
        return SheetText(sheet_strings::kTabAsm);
    case e_ShowLnk:
        return SheetText(sheet_strings::kTabLnk);
    case e_ShowLbg:
        return SheetText(sheet_strings::kTabLibrary);
    case e_ShowCpu:
        return SheetText(sheet_strings::kTabCpu);
    case e_ShowDebugger:
        return SheetText(sheet_strings::kTabSimulator);
    case e_ShowOption:
        return SheetText(sheet_strings::kTabToolOption);
    case e_ShowWarning:
        return SheetText(sheet_strings::kTabWarning);
    }
    return {};
}

unsigned PhaseTabBit(int phase) {
    static constexpr unsigned kBits[] = {e_ShowCpp, e_ShowAsm, e_ShowLnk, e_ShowLbg,
                                         e_ShowDebugger};
    return phase >= 0 && phase < 5 ? kBits[phase] : 0;
}

int ToolTabPhase(TabBit bit) {
    switch (bit) {
    case e_ShowCpp:
        return 0;
    case e_ShowAsm:
        return 1;
    case e_ShowLnk:
        return 2;
    case e_ShowLbg:
        return 3;
    default:
        return -1;
    }
}

unsigned TabMaskOf(const std::vector<CLeaf*>& leaves, bool levelSelection) {
    unsigned mask = e_ShowOption;
    for (const CLeaf* leaf : leaves) mask |= PhaseTabBit(leaf->phase);
    if (levelSelection) {
        if ((mask & (e_ShowCpp | e_ShowAsm | e_ShowLbg)) != 0) mask |= e_ShowCpu;
        mask |= e_ShowDebugger;
    }
    if ((mask & (e_ShowCpp | e_ShowAsm | e_ShowLnk | e_ShowLbg)) == 0) mask = e_ShowWarning;
    return mask;
}

std::vector<TabBit> TabsOf(unsigned mask) {
    std::vector<TabBit> tabs;
    for (TabBit bit : TabOrder())
        if ((mask & bit) != 0) tabs.push_back(bit);
    return tabs;
}

} // namespace quorle::sheet
