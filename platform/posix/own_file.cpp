#include "platform/own_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/platform.h"

namespace quorle::platform {

namespace {

bool WriteAll(int fd, const char* data, size_t size) {
    while (size > 0) {
        ssize_t n = ::write(fd, data, size);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data += n;
        size -= static_cast<size_t>(n);
    }
    return true;
}

} // namespace

bool WriteFreshFile(const std::string& path, const std::string& content) {
    std::string native = NativePath(path);
    struct stat st;
    if (::lstat(native.c_str(), &st) == 0 && !S_ISDIR(st.st_mode) && ::unlink(native.c_str()) != 0)
        return false;
    // O_EXCL: nothing, not even a dangling link, may stand at the path now.
    int fd = ::open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool written = WriteAll(fd, content.data(), content.size());
    return ::close(fd) == 0 && written;
}

AppendFile::~AppendFile() {
    Close();
}

bool AppendFile::Open(const std::string& path) {
    Close();
    int fd = ::open(NativePath(path).c_str(),
                    O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        ::close(fd);
        return false;
    }
    handle_ = fd;
    return true;
}

bool AppendFile::Append(const std::string& bytes) {
    if (handle_ == kNone) return false;
    return WriteAll(static_cast<int>(handle_), bytes.data(), bytes.size());
}

void AppendFile::Close() {
    if (handle_ == kNone) return;
    ::close(static_cast<int>(handle_));
    handle_ = kNone;
}

} // namespace quorle::platform
