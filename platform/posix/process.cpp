#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <optional>
#include <string>

#include "platform/platform.h"
#include "platform/posix/native_path.h"
#include "platform/posix/spawn.h"

extern char** environ;

namespace quorle::platform {
namespace posix {
namespace {

using Clock = std::chrono::steady_clock;

// How long a child may take to end after an interrupt was passed on to it.
constexpr int kInterruptGraceMs = 10000;

// Owns a file descriptor.
class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { Reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return fd_; }
    void Reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

class SpawnSetup {
  public:
    SpawnSetup() {
        ::posix_spawn_file_actions_init(&actions);
        ::posix_spawnattr_init(&attributes);
    }
    ~SpawnSetup() {
        ::posix_spawn_file_actions_destroy(&actions);
        ::posix_spawnattr_destroy(&attributes);
    }
    SpawnSetup(const SpawnSetup&) = delete;
    SpawnSetup& operator=(const SpawnSetup&) = delete;
    posix_spawn_file_actions_t actions;
    posix_spawnattr_t attributes;
};

// The exit code the way a Windows caller sees it; a signal counts as 128 + n.
int ExitCode(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    if (WIFSIGNALED(status)) return 128 + WTERMSIG(status);
    return -1;
}

// A relative program path names a file below the caller's current directory,
// as with CreateProcess, not below the child's working directory.
std::string ProgramPath(const std::string& program) {
    std::string native = NativePath(program);
    if (native.find('/') == std::string::npos || native[0] == '/') return native;
    return GetCurrentDirectory() + "/" + native;
}

// The inherited environment with `extra` entries added or replaced.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& extra) {
    std::vector<std::string> entries;
    for (char** e = environ; e != nullptr && *e != nullptr; ++e) {
        std::string entry(*e);
        std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& x : extra) replaced = replaced || x.rfind(name, 0) == 0;
        if (!replaced) entries.push_back(std::move(entry));
    }
    entries.insert(entries.end(), extra.begin(), extra.end());
    return entries;
}

std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (std::string& text : texts) pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}

void ConfigureSpawn(SpawnSetup& setup, const ProcessOptions& options, int writeFd) {
    // Standard input is empty; output and error share the pipe.
    ::posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.captureOutput) {
        ::posix_spawn_file_actions_adddup2(&setup.actions, writeFd, 1);
        ::posix_spawn_file_actions_adddup2(&setup.actions, writeFd, 2);
    } else {
        ::posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&setup.actions, 1, 2);
    }
    if (!options.workingDirectory.empty()) {
        ::posix_spawn_file_actions_addchdir_np(&setup.actions,
                                               NativePath(options.workingDirectory).c_str());
    }
    // A session of its own: no controlling terminal, and the whole process
    // group can be ended or interrupted at once.
    ::posix_spawnattr_setflags(&setup.attributes,
                               POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    ::posix_spawnattr_setsigmask(&setup.attributes, &none);
    ::posix_spawnattr_setsigdefault(&setup.attributes, &defaults);
}

// 0, or the error posix_spawnp gave.
int StartChild(std::vector<std::string>& arguments, const ProcessOptions& options, int writeFd,
               pid_t& pid) {
    SpawnSetup setup;
    ConfigureSpawn(setup, options, writeFd);
    std::vector<char*> argv = Pointers(arguments);
    if (options.environment.empty())
        return ::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(),
                              environ);
    std::vector<std::string> entries = ChildEnvironment(options.environment);
    std::vector<char*> envp = Pointers(entries);
    return ::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(),
                          envp.data());
}

// A descriptor that becomes readable when the child ends, so the parent
// sleeps in poll instead of polling waitpid; -1 where the kernel has none.
int OpenPidFd(pid_t pid) {
#if defined(SYS_pidfd_open)
    return static_cast<int>(::syscall(SYS_pidfd_open, pid, 0));
#else
    (void)pid;
    return -1;
#endif
}

// Appends what was read; false once the output would pass `cap`.
bool AppendOutput(std::string& output, const char* chunk, ssize_t n, size_t cap) {
    if (output.size() + static_cast<size_t>(n) > cap) return false;
    output.append(chunk, static_cast<size_t>(n));
    return true;
}

void ReadAvailable(int fd, std::string& output, size_t cap) {
    ::fcntl(fd, F_SETFL, O_NONBLOCK);
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            if (!AppendOutput(output, chunk, n, cap)) return;
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return;
    }
}

// Waits for one child: drains its output, passes an interrupt on to its
// process group, and ends it at the time-out.
class ChildWait {
  public:
    ChildWait(pid_t pid, int readFd, const ProcessOptions& options)
        : pid_(pid), readFd_(readFd), pidFd_(OpenPidFd(pid)), options_(options),
          watchInterrupt_(InterruptFd() >= 0) {
        if (options.timeoutMs != kNoTimeout)
            deadline_ = Clock::now() + std::chrono::milliseconds(options.timeoutMs);
    }

    void Run(ProcessResult& result) {
        while (!exited_) {
            if (watchInterrupt_ && PendingInterrupt() != 0) PassOnInterrupt(result);
            int wait = MillisecondsLeft();
            if (wait == 0) {
                EndGroupNow();
                result.timedOut = !result.interrupted;
                break;
            }
            PollOnce(wait, result);
        }
        if (options_.endGroup) ::kill(-pid_, SIGKILL);
        if (readFd_ >= 0) ReadAvailable(readFd_, result.output, options_.maxOutputBytes);
        if (!result.timedOut && !result.outputOverflow) result.exitCode = ExitCode(status_);
    }

  private:
    // -1: no limit; 0: the time is up.
    int MillisecondsLeft() const {
        int wait = -1;
        if (deadline_) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(*deadline_ - Clock::now());
            wait =
                left.count() <= 0 ? 0 : static_cast<int>(std::min<int64_t>(left.count(), 1 << 30));
        }
        // Without a descriptor for the child's end, look again every 10 ms.
        if (pidFd_.Get() < 0 && (wait < 0 || wait > 10)) wait = 10;
        return wait;
    }

    void PollOnce(int wait, ProcessResult& result) {
        pollfd entries[3];
        nfds_t count = 0;
        int readAt = -1, pidAt = -1;
        if (readFd_ >= 0) readAt = static_cast<int>(count), entries[count++] = {readFd_, POLLIN, 0};
        if (pidFd_.Get() >= 0)
            pidAt = static_cast<int>(count), entries[count++] = {pidFd_.Get(), POLLIN, 0};
        if (watchInterrupt_) entries[count++] = {InterruptFd(), POLLIN, 0};
        int ready = ::poll(entries, count, wait);
        if (ready < 0 && errno != EINTR) ready = 0;
        if (readAt >= 0 && ready > 0 && entries[readAt].revents != 0) ReadChunk(result);
        if (pidAt < 0 || (ready > 0 && entries[pidAt].revents != 0)) Reap();
    }

    void ReadChunk(ProcessResult& result) {
        char chunk[65536];
        ssize_t n = ::read(readFd_, chunk, sizeof chunk);
        if (n > 0) {
            if (!AppendOutput(result.output, chunk, n, options_.maxOutputBytes)) {
                // Past the cap the child's output is of no use: end it now
                // rather than hold the caller until the time-out.
                EndGroupNow();
                result.outputOverflow = true;
            }
        } else if (n == 0 || errno != EINTR) {
            readFd_ = -1; // the caller still owns and closes it
        }
    }

    void Reap() {
        if (::waitpid(pid_, &status_, WNOHANG) == pid_) exited_ = true;
    }

    void PassOnInterrupt(ProcessResult& result) {
        int number = PendingInterrupt();
        ::kill(-pid_, number);
        ::kill(pid_, number);
        result.interrupted = true;
        watchInterrupt_ = false;
        auto grace = Clock::now() + std::chrono::milliseconds(kInterruptGraceMs);
        if (!deadline_ || grace < *deadline_) deadline_ = grace;
    }

    void EndGroupNow() {
        ::kill(-pid_, SIGKILL);
        ::kill(pid_, SIGKILL);
        while (::waitpid(pid_, &status_, 0) < 0 && errno == EINTR) {
        }
        exited_ = true;
    }

    pid_t pid_;
    int readFd_;
    Fd pidFd_;
    const ProcessOptions& options_;
    bool watchInterrupt_;
    std::optional<Clock::time_point> deadline_;
    bool exited_ = false;
    int status_ = 0;
};

} // namespace

ProcessResult RunArguments(std::vector<std::string> arguments, const ProcessOptions& options) {
    ProcessResult result;
    if (arguments.empty() || arguments[0].empty()) return result;
    arguments[0] = ProgramPath(arguments[0]);

    int pipeFds[2] = {-1, -1};
    if (options.captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) {
        result.output = std::string("the output pipe failed: ") + std::strerror(errno);
        return result;
    }
    Fd readEnd(pipeFds[0]), writeEnd(pipeFds[1]);
    pid_t pid = -1;
    if (int error = StartChild(arguments, options, writeEnd.Get(), pid); error != 0) {
        result.output = arguments[0] + ": " + std::strerror(error);
        return result;
    }
    result.started = true;
    writeEnd.Reset();
    ChildWait(pid, readEnd.Get(), options).Run(result);
    return result;
}

} // namespace posix

ProcessResult RunProcess(const std::string& commandLine, const ProcessOptions& options) {
    return posix::RunArguments(posix::NativeArguments(SplitCommandLine(commandLine)), options);
}

} // namespace quorle::platform
