// An advisory lock on a file, which the system drops when its holder ends,
// however it ends: a lock left by a killed process never blocks (flock on
// POSIX, LockFileEx on Windows). The lock file is never followed through a
// link, and its text (the holder's process id) stays readable by others.
#pragma once

#include <cstdint>
#include <string>

namespace quorle::platform {

class FileLock {
  public:
    enum class Outcome { Held, Busy, Failed };

    FileLock() = default;
    ~FileLock();
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;

    // Creates the lock file when it is missing and takes the lock without
    // waiting. Failed when the path is a link, not a regular file, or cannot
    // be opened.
    Outcome TryLock(const std::string& path);
    // The holder's text replaces the file's, for whoever finds it busy.
    bool SetText(const std::string& text);
    void Unlock();
    // Removes the lock file while still holding it, then unlocks: whoever
    // was waiting on the removed file finds it gone and takes a new one. On
    // Windows, where an open file cannot go, it stays.
    void UnlockAndRemove();
    bool held() const { return handle_ != kNone; }

  private:
    static constexpr intptr_t kNone = -1;
    intptr_t handle_ = kNone;
    std::string path_;
};

// The id of the running process, as other programs name it.
int64_t CurrentProcessId();

} // namespace quorle::platform
