// One quorle-host at a time per configuration directory: build, clean and
// edit take the directory's lock for as long as they use it. A second one
// waits when asked to, or names the holder and gives up. The system drops
// the lock of a process that ends, so a killed build never blocks the next.
#pragma once

#include <cstdio>
#include <string>

#include "platform/file_lock.h"

namespace quorle::host {

class ConfigLock {
  public:
    // Takes the lock of `configDir`, which must exist. With `wait` it waits
    // for the holder (saying so once on `notes`), and gives up only on an
    // interrupt. False with `error` set otherwise.
    bool Take(const std::string& configDir, bool wait, std::string& error,
              std::FILE* notes = stdout);
    void Release() { lock_.Unlock(); }
    // For clean: the lock file goes too, so nothing of the host is left.
    void ReleaseAndRemove() { lock_.UnlockAndRemove(); }
    bool held() const { return lock_.held(); }

  private:
    platform::FileLock lock_;
};

} // namespace quorle::host
