// The sheet manager (`m_pManager`): the current selection, tab mask and
// active tab, the "enabled" flag and the nesting counter that marks the
// sheet's own rearranging of pages.
#pragma once

#include <string>
#include <vector>

#include "sheet/tab_mask.h"
#include "sheet/tree.h"

namespace quorle::sheet {

class CSheetManager {
  public:
    std::vector<NodeRef> nodes;    // what the selection was made of
    std::vector<CLeaf*> selection; // the leaves it stands for
    bool levelSelection = false;   // made at project or file-type level
    unsigned mask = 0;             // 0 while only the blank page shows
    std::vector<TabBit> shown;     // tabs of the mask in showing order
    int activeTab = -1;            // index into `shown`; -1 the blank page
    bool enabled = true;

    int Nesting() const { return nesting_; }
    // The trace names of the operations under way, outermost first.
    const std::vector<std::string>& Trace() const { return trace_; }
    // True when a change comes from the user rather than from the sheet.
    bool Reacting() const { return enabled && nesting_ == 0; }

    // Counts one framework operation for as long as it lives.
    class Scope {
      public:
        Scope(CSheetManager& manager, const char* traceName);
        ~Scope();
        Scope(const Scope&) = delete;
        Scope& operator=(const Scope&) = delete;

      private:
        CSheetManager& manager_;
    };

  private:
    int nesting_ = 0;
    std::vector<std::string> trace_;
};

} // namespace quorle::sheet
