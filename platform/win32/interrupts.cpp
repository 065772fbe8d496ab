#include "platform/win32/windows_api.h"

#include <atomic>

#include "platform/platform.h"

namespace quorle::platform {
namespace {

std::atomic<int> gSignal{0};

// Ctrl+C counts as SIGINT (2), every other console event as SIGTERM (15).
BOOL WINAPI OnConsoleEvent(DWORD event) {
    int none = 0;
    gSignal.compare_exchange_strong(none, event == CTRL_C_EVENT ? 2 : 15);
    return TRUE;
}

} // namespace

void WatchInterrupts() {
    ::SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

int PendingInterrupt() {
    return gSignal.load();
}

void ClearInterrupt() {
    gSignal.store(0);
}

} // namespace quorle::platform
