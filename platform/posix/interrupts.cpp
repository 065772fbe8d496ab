#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>

#include "platform/platform.h"
#include "platform/posix/spawn.h"

namespace quorle::platform {
namespace {

std::atomic<int> gSignal{0};
int gPipe[2] = {-1, -1};

// Only async-signal-safe work: remember the first signal and wake every poll.
extern "C" void OnInterrupt(int number) {
    int none = 0;
    gSignal.compare_exchange_strong(none, number);
    int saved = errno;
    if (gPipe[1] >= 0) {
        char byte = 1;
        ssize_t ignored = ::write(gPipe[1], &byte, 1);
        (void)ignored;
    }
    errno = saved;
}

} // namespace

namespace posix {
int InterruptFd() {
    return gPipe[0];
}
} // namespace posix

void WatchInterrupts() {
    if (gPipe[0] < 0 && ::pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) gPipe[0] = gPipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = OnInterrupt;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGINT, &action, nullptr);
    ::sigaction(SIGTERM, &action, nullptr);
}

int PendingInterrupt() {
    return gSignal.load();
}

void ClearInterrupt() {
    gSignal.store(0);
    if (gPipe[0] < 0) return;
    char buffer[64];
    while (::read(gPipe[0], buffer, sizeof buffer) > 0) {
    }
}

} // namespace quorle::platform
