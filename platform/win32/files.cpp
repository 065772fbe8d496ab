#include "platform/win32/windows_api.h"

#include <algorithm>

#include "platform/platform.h"
#include "platform/text_mode.h"

namespace quorle::platform {
namespace {

struct AttributeBit {
    uint32_t ours;
    DWORD windows;
};

constexpr AttributeBit kAttributeBits[] = {
    {kAttrReadOnly, FILE_ATTRIBUTE_READONLY},
    {kAttrHidden, FILE_ATTRIBUTE_HIDDEN},
    {kAttrArchive, FILE_ATTRIBUTE_ARCHIVE},
    {kAttrDirectory, FILE_ATTRIBUTE_DIRECTORY},
};

// Text returned by a call that fills a buffer of MAX_PATH and asks for more.
template <typename Call> std::string PathCall(Call call) {
    std::string buffer(MAX_PATH, '\0');
    DWORD n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    if (n > buffer.size()) {
        buffer.assign(n, '\0');
        n = call(buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    if (n == 0 || n > buffer.size()) return {};
    buffer.resize(n);
    return buffer;
}

} // namespace

bool FileExists(const std::string& path) {
    return ::GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

bool IsDirectory(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool IsFile(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

namespace {

// Only a disk file: a pipe or a device could block the read or never end.
HANDLE OpenRegular(const std::string& path, size_t& size) {
    HANDLE file = ::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return file;
    LARGE_INTEGER found{};
    if (::GetFileType(file) != FILE_TYPE_DISK || !::GetFileSizeEx(file, &found) ||
        static_cast<uint64_t>(found.QuadPart) > kMaxTextBytes) {
        ::CloseHandle(file);
        return INVALID_HANDLE_VALUE;
    }
    size = static_cast<size_t>(found.QuadPart);
    return file;
}

// Reads to the end and closes; false on an error or past the cap.
template <typename Sink> bool ReadPieces(HANDLE file, Sink sink) {
    char chunk[65536];
    DWORD n = 0;
    size_t total = 0;
    bool failed = false;
    for (;;) {
        if (!::ReadFile(file, chunk, sizeof chunk, &n, nullptr)) {
            failed = true;
            break;
        }
        if (n == 0) break;
        total += n;
        if (total > kMaxTextBytes) {
            failed = true;
            break;
        }
        sink(std::string_view(chunk, n));
    }
    ::CloseHandle(file);
    return !failed;
}

} // namespace

std::optional<std::string> ReadFile(const std::string& path, bool textMode) {
    size_t size = 0;
    HANDLE file = OpenRegular(path, size);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::string bytes;
    bytes.reserve(size);
    if (!ReadPieces(file, [&bytes](std::string_view piece) { bytes.append(piece); }))
        return std::nullopt;
    return textMode ? FoldCrLf(bytes) : bytes;
}

bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view)>& piece) {
    size_t size = 0;
    HANDLE file = OpenRegular(path, size);
    return file != INVALID_HANDLE_VALUE && ReadPieces(file, piece);
}

bool IsSymbolicLink(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

bool RemoveSymbolicLink(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return false;
    // A link to a directory is removed as a directory; either call removes
    // the link, not its target.
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return ::RemoveDirectoryA(path.c_str()) != 0;
    return ::DeleteFileA(path.c_str()) != 0;
}

bool AppendToLog(const std::string& path, const std::string& text) {
    // Opening a pipe never waits for its server; the type is checked on the
    // handle, so only a disk file is written.
    HANDLE file = ::CreateFileA(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    bool written = ::GetFileType(file) == FILE_TYPE_DISK;
    size_t done = 0;
    while (written && done < text.size()) {
        DWORD n = 0;
        DWORD want = static_cast<DWORD>(std::min<size_t>(text.size() - done, 1u << 20));
        written = ::WriteFile(file, text.data() + done, want, &n, nullptr) && n > 0;
        done += n;
    }
    return ::CloseHandle(file) != 0 && written;
}

std::optional<uint32_t> GetFileAttributes(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return std::nullopt;
    uint32_t ours = 0;
    for (const auto& bit : kAttributeBits) {
        if (attributes & bit.windows) ours |= bit.ours;
    }
    return ours;
}

bool SetFileAttributes(const std::string& path, uint32_t attributes) {
    DWORD windows = 0;
    for (const auto& bit : kAttributeBits) {
        if ((attributes & bit.ours) && bit.ours != kAttrDirectory) windows |= bit.windows;
    }
    return ::SetFileAttributesA(path.c_str(), windows == 0 ? FILE_ATTRIBUTE_NORMAL : windows);
}

bool DeleteFile(const std::string& path) {
    return ::DeleteFileA(path.c_str()) != 0;
}

std::string NativePath(const std::string& path) {
    return path;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    return ::MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

std::optional<std::string> FinalPath(const std::string& path) {
    if (!FileExists(path)) return std::nullopt;
    return FullPath(path);
}

bool MayModifyFile(const std::string& path) {
    DWORD attributes = ::GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES &&
           !(attributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY));
}

bool CopyFileMode(const std::string& from, const std::string& to) {
    DWORD attributes = ::GetFileAttributesA(from.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    // Not read-only, hidden or system: the copy is written after this, and
    // Windows refuses to rewrite a file with any of them.
    attributes &= FILE_ATTRIBUTE_ARCHIVE | FILE_ATTRIBUTE_NOT_CONTENT_INDEXED;
    return ::SetFileAttributesA(to.c_str(), attributes == 0 ? FILE_ATTRIBUTE_NORMAL : attributes) !=
           0;
}

bool CreateDirectory(const std::string& path) {
    if (::CreateDirectoryA(path.c_str(), nullptr)) return true;
    return ::GetLastError() == ERROR_ALREADY_EXISTS && IsDirectory(path);
}

namespace {

int64_t UnixNanoseconds(const FILETIME& time) {
    ULARGE_INTEGER ticks; // 100 ns since 1601
    ticks.LowPart = time.dwLowDateTime;
    ticks.HighPart = time.dwHighDateTime;
    constexpr int64_t kUnixEpoch = 116444736000000000LL;
    return (static_cast<int64_t>(ticks.QuadPart) - kUnixEpoch) * 100;
}

} // namespace

std::optional<int64_t> FileModifiedTime(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return UnixNanoseconds(data.ftLastWriteTime);
}

// The attributes and times of a reparse point are its own, not its target's.
std::optional<EntryStatus> StatEntry(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) return std::nullopt;
    return EntryStatus{(data.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0,
                       (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                       UnixNanoseconds(data.ftLastWriteTime)};
}

std::vector<std::string> FindFiles(const std::string& pattern) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA data;
    HANDLE find = ::FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
        names.emplace_back(data.cFileName);
    } while (::FindNextFileA(find, &data));
    ::FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
}

std::string GetCurrentDirectory() {
    return PathCall([](char* buffer, DWORD size) { return ::GetCurrentDirectoryA(size, buffer); });
}

bool SetCurrentDirectory(const std::string& path) {
    return !path.empty() && ::SetCurrentDirectoryA(path.c_str()) != 0;
}

std::string FullPath(const std::string& path) {
    if (path.empty()) return {};
    return PathCall([&](char* buffer, DWORD size) {
        return ::GetFullPathNameA(path.c_str(), size, buffer, nullptr);
    });
}

std::string FullPathFrom(const std::string& dir, const std::string& path) {
    // Windows resolves "\x" and "C:x" against the current drive and that
    // drive's directory, so it is resolved from dir as the current directory.
    std::string saved = GetCurrentDirectory();
    if (dir.empty() || !SetCurrentDirectory(dir)) return {};
    std::string full = FullPath(path);
    SetCurrentDirectory(saved);
    return full;
}

std::string ShortPath(const std::string& path) {
    std::string shortPath = PathCall(
        [&](char* buffer, DWORD size) { return ::GetShortPathNameA(path.c_str(), buffer, size); });
    return shortPath.empty() ? path : shortPath;
}

std::optional<std::string> CreateTempFile(const std::string& dir, const std::string& prefix) {
    char name[MAX_PATH + 1] = {};
    if (::GetTempFileNameA(dir.c_str(), prefix.c_str(), 0, name) == 0) return std::nullopt;
    return std::string(name);
}

std::string TempDirectory() {
    return PathCall([](char* buffer, DWORD size) { return ::GetTempPathA(size, buffer); });
}

// ---- OutputFile ---------------------------------------------------------------

OutputFile::~OutputFile() {
    Close();
}

bool OutputFile::Open(const std::string& path, bool textMode, bool append) {
    Close();
    HANDLE file = ::CreateFileA(path.c_str(), append ? FILE_APPEND_DATA : GENERIC_WRITE,
                                FILE_SHARE_READ, nullptr, append ? OPEN_ALWAYS : CREATE_ALWAYS,
                                FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    handle_ = file;
    textMode_ = textMode;
    failed_ = false;
    return true;
}

bool OutputFile::Write(const std::string& text) {
    if (handle_ == nullptr) return false;
    auto put = [&](const char* data, size_t size) {
        DWORD written = 0;
        if (size == 0) return;
        if (!::WriteFile(static_cast<HANDLE>(handle_), data, static_cast<DWORD>(size), &written,
                         nullptr) ||
            written != size)
            failed_ = true;
    };
    if (!textMode_) {
        put(text.data(), text.size());
        return !failed_;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        size_t end = lf == std::string::npos ? text.size() : lf;
        put(text.data() + start, end - start);
        if (lf != std::string::npos) put("\r\n", 2);
        start = end + 1;
    }
    return !failed_;
}

bool OutputFile::Close() {
    if (handle_ == nullptr) return !failed_;
    bool closed = ::CloseHandle(static_cast<HANDLE>(handle_)) != 0;
    handle_ = nullptr;
    bool ok = closed && !failed_;
    failed_ = false;
    return ok;
}

} // namespace quorle::platform
