#include "platform/file_lock.h"

#include "platform/win32/windows_api.h"

namespace quorle::platform {

namespace {

// The locked byte lies far past the text, which Windows would otherwise
// keep others from reading.
constexpr DWORD kLockOffsetHigh = 1;

HANDLE Handle(intptr_t value) {
    return reinterpret_cast<HANDLE>(value);
}

} // namespace

FileLock::~FileLock() {
    Unlock();
}

FileLock::Outcome FileLock::TryLock(const std::string& path) {
    Unlock();
    // Not inheritable, so a tool's leftovers never keep it; a reparse point
    // is opened as itself and refused.
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) return Outcome::Failed;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileInformationByHandle(file, &info) ||
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY))) {
        ::CloseHandle(file);
        return Outcome::Failed;
    }
    OVERLAPPED where{};
    where.OffsetHigh = kLockOffsetHigh;
    if (!::LockFileEx(file, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 1, 0, &where)) {
        bool busy = ::GetLastError() == ERROR_LOCK_VIOLATION;
        ::CloseHandle(file);
        return busy ? Outcome::Busy : Outcome::Failed;
    }
    handle_ = reinterpret_cast<intptr_t>(file);
    path_ = path;
    return Outcome::Held;
}

bool FileLock::SetText(const std::string& text) {
    if (handle_ == kNone) return false;
    HANDLE file = Handle(handle_);
    LARGE_INTEGER start{};
    if (!::SetFilePointerEx(file, start, nullptr, FILE_BEGIN) || !::SetEndOfFile(file))
        return false;
    DWORD written = 0;
    return ::WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
           written == text.size();
}

void FileLock::UnlockAndRemove() {
    Unlock(); // others may have the file open; it stays
}

void FileLock::Unlock() {
    if (handle_ == kNone) return;
    // Closing the handle releases the lock, as the system does for a
    // process that ends.
    ::CloseHandle(Handle(handle_));
    handle_ = kNone;
}

int64_t CurrentProcessId() {
    return static_cast<int64_t>(::GetCurrentProcessId());
}

} // namespace quorle::platform
