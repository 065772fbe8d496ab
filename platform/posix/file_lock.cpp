#include "platform/file_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"

namespace quorle::platform {

FileLock::~FileLock() {
    Unlock();
}

FileLock::Outcome FileLock::TryLock(const std::string& path) {
    Unlock();
    std::string native = NativePath(path);
    // A holder may remove the file as it lets go: a lock taken on a file
    // that is no longer at the path is worth nothing, so look again.
    for (int attempt = 0; attempt < 100; ++attempt) {
        // Close-on-exec: a tool that leaves a daemon behind must not keep
        // the lock. No link is followed, and a FIFO does not block the open.
        int fd =
            ::open(native.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
        if (fd < 0) return Outcome::Failed;
        struct stat st;
        if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
            ::close(fd);
            return Outcome::Failed;
        }
        int locked;
        do {
            locked = ::flock(fd, LOCK_EX | LOCK_NB);
        } while (locked != 0 && errno == EINTR);
        if (locked != 0) {
            bool busy = errno == EWOULDBLOCK;
            ::close(fd);
            return busy ? Outcome::Busy : Outcome::Failed;
        }
        struct stat now;
        if (::lstat(native.c_str(), &now) == 0 && now.st_dev == st.st_dev &&
            now.st_ino == st.st_ino) {
            handle_ = fd;
            path_ = native;
            return Outcome::Held;
        }
        ::close(fd);
    }
    return Outcome::Busy;
}

bool FileLock::SetText(const std::string& text) {
    if (handle_ == kNone) return false;
    int fd = static_cast<int>(handle_);
    if (::ftruncate(fd, 0) != 0) return false;
    return ::pwrite(fd, text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
}

void FileLock::UnlockAndRemove() {
    if (handle_ == kNone) return;
    ::unlink(path_.c_str());
    Unlock();
}

void FileLock::Unlock() {
    if (handle_ == kNone) return;
    ::close(static_cast<int>(handle_)); // closing the last descriptor drops the lock
    handle_ = kNone;
}

int64_t CurrentProcessId() {
    return static_cast<int64_t>(::getpid());
}

} // namespace quorle::platform
