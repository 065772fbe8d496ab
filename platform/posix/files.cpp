#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <random>

#include "platform/platform.h"
#include "platform/posix/native_path.h"
#include "platform/text_mode.h"
#include "platform/wildcard.h"

namespace quorle::platform {

namespace {

bool Stat(const std::string& native, struct stat* st) {
    return ::stat(native.c_str(), st) == 0;
}

std::optional<uint32_t> StoredFlags(const std::string& native) {
    char buffer[16] = {};
    ssize_t n = ::getxattr(native.c_str(), posix::kAttributeXattr, buffer, sizeof buffer - 1);
    if (n <= 0) return std::nullopt;
    return static_cast<uint32_t>(std::strtoul(buffer, nullptr, 10));
}

} // namespace

bool FileExists(const std::string& path) {
    struct stat st;
    return Stat(NativePath(path), &st);
}

bool IsDirectory(const std::string& path) {
    struct stat st;
    return Stat(NativePath(path), &st) && S_ISDIR(st.st_mode);
}

bool IsFile(const std::string& path) {
    struct stat st;
    return Stat(NativePath(path), &st) && !S_ISDIR(st.st_mode);
}

namespace {

// Without blocking, so that opening a FIFO with no writer returns at once;
// the type is then checked on the open descriptor itself. -1: no such file,
// or not one to read.
int OpenRegular(const std::string& path, size_t& size) {
    int fd = ::open(NativePath(path).c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) ||
        static_cast<uint64_t>(st.st_size) > kMaxTextBytes) {
        ::close(fd);
        return -1;
    }
    size = static_cast<size_t>(st.st_size);
    return fd;
}

// Reads to the end and closes; false on an error or past the cap.
template <typename Sink> bool ReadPieces(int fd, Sink sink) {
    char chunk[65536];
    size_t total = 0;
    bool failed = false;
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) failed = true;
        if (n <= 0) break;
        // A file that grows while it is read still stops at the cap.
        total += static_cast<size_t>(n);
        if (total > kMaxTextBytes) {
            failed = true;
            break;
        }
        sink(std::string_view(chunk, static_cast<size_t>(n)));
    }
    ::close(fd);
    return !failed;
}

} // namespace

std::optional<std::string> ReadFile(const std::string& path, bool textMode) {
    size_t size = 0;
    int fd = OpenRegular(path, size);
    if (fd < 0) return std::nullopt;
    std::string bytes;
    bytes.reserve(size);
    if (!ReadPieces(fd, [&bytes](std::string_view piece) { bytes.append(piece); }))
        return std::nullopt;
    return textMode ? FoldCrLf(bytes) : bytes;
}

bool ReadFileInPieces(const std::string& path, const std::function<void(std::string_view)>& piece) {
    size_t size = 0;
    int fd = OpenRegular(path, size);
    return fd >= 0 && ReadPieces(fd, piece);
}

bool AppendToLog(const std::string& path, const std::string& text) {
    std::string native = NativePath(path);
    if (!posix::MayWrite(native, false)) return false;
    // A FIFO without a reader fails here with ENXIO rather than blocking.
    int fd = ::open(native.c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0666);
    if (fd < 0) return false;
    struct stat st;
    bool written = ::fstat(fd, &st) == 0 && S_ISREG(st.st_mode);
    const char* data = text.data();
    size_t left = text.size();
    while (written && left > 0) {
        ssize_t n = ::write(fd, data, left);
        if (n < 0 && errno == EINTR) continue;
        written = n > 0;
        if (written) {
            data += n;
            left -= static_cast<size_t>(n);
        }
    }
    return ::close(fd) == 0 && written;
}

std::optional<uint32_t> GetFileAttributes(const std::string& path) {
    std::string native = NativePath(path);
    struct stat st;
    if (!Stat(native, &st)) return std::nullopt;
    uint32_t attributes = 0;
    if (S_ISDIR(st.st_mode)) attributes |= kAttrDirectory;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) attributes |= kAttrReadOnly;
    // A file never given attributes is marked for archiving, as Windows marks
    // every new file.
    uint32_t fresh = S_ISDIR(st.st_mode) ? 0u : static_cast<uint32_t>(kAttrArchive);
    uint32_t stored = StoredFlags(native).value_or(fresh);
    return attributes | (stored & (kAttrHidden | kAttrArchive));
}

bool SetFileAttributes(const std::string& path, uint32_t attributes) {
    std::string native = NativePath(path);
    struct stat st;
    if (!Stat(native, &st)) return false;
    // Writable while the extended attribute is changed: a non-root owner may
    // not set it on a read-only file.
    mode_t writable = st.st_mode | S_IWUSR;
    if (::chmod(native.c_str(), writable & 07777) != 0) return false;
    std::string flags = std::to_string(attributes & (kAttrHidden | kAttrArchive));
    bool stored =
        ::setxattr(native.c_str(), posix::kAttributeXattr, flags.data(), flags.size(), 0) == 0;
    mode_t final =
        (attributes & kAttrReadOnly) ? (st.st_mode & ~(S_IWUSR | S_IWGRP | S_IWOTH)) : writable;
    bool moded = ::chmod(native.c_str(), final & 07777) == 0;
    return stored && moded;
}

bool DeleteFile(const std::string& path) {
    auto attributes = GetFileAttributes(path);
    if (!attributes || (*attributes & (kAttrReadOnly | kAttrDirectory))) return false;
    return ::unlink(NativePath(path).c_str()) == 0;
}

bool IsSymbolicLink(const std::string& path) {
    struct stat st;
    return ::lstat(NativePath(path).c_str(), &st) == 0 && S_ISLNK(st.st_mode);
}

bool RemoveSymbolicLink(const std::string& path) {
    return IsSymbolicLink(path) && ::unlink(NativePath(path).c_str()) == 0;
}

bool ReplaceFile(const std::string& from, const std::string& to) {
    return ::rename(NativePath(from).c_str(), NativePath(to).c_str()) == 0;
}

std::optional<std::string> FinalPath(const std::string& path) {
    char* resolved = ::realpath(NativePath(path).c_str(), nullptr);
    if (resolved == nullptr) return std::nullopt;
    std::string out(resolved);
    std::free(resolved);
    return out;
}

bool MayModifyFile(const std::string& path) {
    std::string native = NativePath(path);
    struct stat st;
    if (!Stat(native, &st) || S_ISDIR(st.st_mode)) return false;
    if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
    return ::access(native.c_str(), W_OK) == 0;
}

bool CopyFileMode(const std::string& from, const std::string& to) {
    std::string native = NativePath(to);
    struct stat st;
    if (!Stat(NativePath(from), &st)) return false;
    // Owner first: changing it may clear set-id bits that the mode then sets
    // again. Only root may give a file away; anyone may keep the group.
    [[maybe_unused]] const bool owned =
        ::chown(native.c_str(), st.st_uid, st.st_gid) == 0 ||
        ::chown(native.c_str(), static_cast<uid_t>(-1), st.st_gid) == 0;
    return ::chmod(native.c_str(), st.st_mode & 07777) == 0;
}

bool CreateDirectory(const std::string& path) {
    std::string native = NativePath(path);
    if (::mkdir(native.c_str(), 0777) == 0) return true;
    return errno == EEXIST && IsDirectory(path);
}

namespace {

int64_t ModifiedNs(const struct stat& st) {
    return static_cast<int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
}

} // namespace

std::optional<int64_t> FileModifiedTime(const std::string& path) {
    struct stat st;
    if (!Stat(NativePath(path), &st)) return std::nullopt;
    return ModifiedNs(st);
}

std::optional<EntryStatus> StatEntry(const std::string& path) {
    struct stat st;
    if (::lstat(NativePath(path).c_str(), &st) != 0) return std::nullopt;
    return EntryStatus{S_ISLNK(st.st_mode), S_ISDIR(st.st_mode), ModifiedNs(st)};
}

std::vector<std::string> FindFiles(const std::string& pattern) {
    std::string native = NativePath(pattern);
    size_t slash = native.rfind('/');
    std::string dir = slash == std::string::npos ? "." : native.substr(0, slash + 1);
    std::string mask = slash == std::string::npos ? native : native.substr(slash + 1);
    std::vector<std::string> names;
    DIR* handle = ::opendir(dir.c_str());
    if (handle == nullptr) return names;
    while (dirent* entry = ::readdir(handle)) {
        if (WildcardMatch(mask, entry->d_name)) names.emplace_back(entry->d_name);
    }
    ::closedir(handle);
    std::sort(names.begin(), names.end());
    return names;
}

std::string GetCurrentDirectory() {
    char* cwd = ::getcwd(nullptr, 0);
    if (cwd == nullptr) return {};
    std::string result(cwd);
    std::free(cwd);
    return result;
}

bool SetCurrentDirectory(const std::string& path) {
    return !path.empty() && ::chdir(NativePath(path).c_str()) == 0;
}

std::string FullPath(const std::string& path) {
    std::string native = NativePath(path);
    if (native.empty()) return {};
    if (native[0] != '/') native = GetCurrentDirectory() + "/" + native;
    // Resolved by text alone, as GetFullPathName does: the path need not exist.
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= native.size()) {
        size_t end = native.find('/', start);
        if (end == std::string::npos) end = native.size();
        std::string part = native.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    std::string full;
    for (const auto& part : parts) full += "/" + part;
    if (full.empty() || native.back() == '/') full += "/";
    return full;
}

std::string FullPathFrom(const std::string& dir, const std::string& path) {
    // A build resolves every step's outputs against one directory: the last
    // directory found is taken as still there, so that costs one stat. Not
    // thread_local: the plug-in is a loaded library, and the leak checker
    // crashed scanning such a library's thread-local block.
    static std::mutex lastMutex;
    static std::string lastDirectory;
    {
        std::lock_guard<std::mutex> lock(lastMutex);
        if (dir != lastDirectory) {
            if (!IsDirectory(dir)) return {};
            lastDirectory = dir;
        }
    }
    std::string native = NativePath(path);
    if (native.empty()) return {};
    // Joined as text: no change of directory, which a build would otherwise
    // make twice for every step it checks.
    if (native[0] != '/') native = NativePath(dir) + "/" + native;
    return FullPath(native);
}

std::string ShortPath(const std::string& path) {
    return path;
}

std::optional<std::string> CreateTempFile(const std::string& dir, const std::string& prefix) {
    std::string base = NativePath(dir);
    if (base.empty()) base = ".";
    if (base.back() != '/') base += '/';
    // Like GetTempFileName: up to three characters of the prefix, a
    // hexadecimal number and ".tmp".
    std::string stem = base + prefix.substr(0, 3);
    static std::mt19937 generator{std::random_device{}()};
    for (int attempt = 0; attempt < 1000; ++attempt) {
        char number[8];
        std::snprintf(number, sizeof number, "%X", static_cast<unsigned>(generator() % 0xFFFF) + 1);
        std::string candidate = stem + number + ".tmp";
        int fd = ::open(candidate.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
        if (fd >= 0) {
            ::close(fd);
            return candidate;
        }
        if (errno != EEXIST) return std::nullopt;
    }
    return std::nullopt;
}

std::string TempDirectory() {
    std::string dir = GetEnv("TMPDIR").value_or("");
    if (dir.empty() || !IsDirectory(dir)) dir = "/tmp";
    if (dir.back() != '/') dir += '/';
    return dir;
}

// ---- OutputFile ---------------------------------------------------------------

OutputFile::~OutputFile() {
    Close();
}

bool OutputFile::Open(const std::string& path, bool textMode, bool append) {
    Close();
    std::string native = NativePath(path);
    if (!posix::MayWrite(native, !append)) return false;
    std::FILE* file = std::fopen(native.c_str(), append ? "ab" : "wb");
    if (file == nullptr) return false;
    handle_ = file;
    textMode_ = textMode;
    failed_ = false;
    return true;
}

bool OutputFile::Write(const std::string& text) {
    if (handle_ == nullptr) return false;
    auto* file = static_cast<std::FILE*>(handle_);
    if (!textMode_) {
        if (std::fwrite(text.data(), 1, text.size(), file) != text.size()) failed_ = true;
        return !failed_;
    }
    size_t start = 0;
    while (start < text.size()) {
        size_t lf = text.find('\n', start);
        size_t end = lf == std::string::npos ? text.size() : lf;
        if (std::fwrite(text.data() + start, 1, end - start, file) != end - start) failed_ = true;
        if (lf != std::string::npos && std::fwrite("\r\n", 1, 2, file) != 2) failed_ = true;
        start = end + 1;
    }
    return !failed_;
}

bool OutputFile::Close() {
    if (handle_ == nullptr) return !failed_;
    bool closed = std::fclose(static_cast<std::FILE*>(handle_)) == 0;
    handle_ = nullptr;
    bool ok = closed && !failed_;
    failed_ = false;
    return ok;
}

} // namespace quorle::platform
