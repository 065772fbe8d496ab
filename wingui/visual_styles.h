// The sheet's own activation context, so that its windows are the themed
// common controls (version 6) whatever the host process's manifest says:
// a host without one would otherwise give them the classic controls.
#pragma once

#include "wingui/win_api.h"

namespace quorle::wingui {

// The manifest resource of this library, active on this thread while the
// scope lives. Windows take their classes from the context active when they
// are made, so the scope spans the whole modal loop.
class VisualStyles {
  public:
    VisualStyles();
    ~VisualStyles();
    VisualStyles(const VisualStyles&) = delete;
    VisualStyles& operator=(const VisualStyles&) = delete;

    bool Active() const { return active_; }

  private:
    HANDLE context_ = INVALID_HANDLE_VALUE;
    ULONG_PTR cookie_ = 0;
    bool active_ = false;
};

} // namespace quorle::wingui
