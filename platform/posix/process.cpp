#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <thread>

#include "platform/platform.h"
#include "platform/posix/native_path.h"
#include "platform/posix/spawn.h"

extern char** environ;

namespace quorle::platform {
namespace posix {
namespace {

using Clock = std::chrono::steady_clock;

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

void ReadAvailable(int fd, std::string& output) {
    char chunk[65536];
    for (;;) {
        ssize_t n = ::read(fd, chunk, sizeof chunk);
        if (n > 0) {
            output.append(chunk, static_cast<size_t>(n));
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        return;
    }
}

} // namespace

ProcessResult RunArguments(std::vector<std::string> arguments, const ProcessOptions& options) {
    ProcessResult result;
    if (arguments.empty() || arguments[0].empty()) return result;
    arguments[0] = ProgramPath(arguments[0]);

    int pipeFds[2] = {-1, -1};
    if (options.captureOutput && ::pipe2(pipeFds, O_CLOEXEC) != 0) return result;
    Fd readEnd(pipeFds[0]), writeEnd(pipeFds[1]);

    SpawnSetup setup;
    // Standard input is empty; output and error share the pipe.
    ::posix_spawn_file_actions_addopen(&setup.actions, 0, "/dev/null", O_RDONLY, 0);
    if (options.captureOutput) {
        ::posix_spawn_file_actions_adddup2(&setup.actions, writeEnd.Get(), 1);
        ::posix_spawn_file_actions_adddup2(&setup.actions, writeEnd.Get(), 2);
    } else {
        ::posix_spawn_file_actions_addopen(&setup.actions, 1, "/dev/null", O_WRONLY, 0);
        ::posix_spawn_file_actions_adddup2(&setup.actions, 1, 2);
    }
    if (!options.workingDirectory.empty()) {
        ::posix_spawn_file_actions_addchdir_np(&setup.actions,
                                               NativePath(options.workingDirectory).c_str());
    }
    // A session of its own: no controlling terminal, and the whole process
    // group can be ended at a time-out.
    ::posix_spawnattr_setflags(&setup.attributes,
                               POSIX_SPAWN_SETSID | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);
    sigset_t none, defaults;
    sigemptyset(&none);
    sigemptyset(&defaults);
    sigaddset(&defaults, SIGPIPE);
    ::posix_spawnattr_setsigmask(&setup.attributes, &none);
    ::posix_spawnattr_setsigdefault(&setup.attributes, &defaults);

    std::vector<char*> argv;
    for (auto& argument : arguments) argv.push_back(argument.data());
    argv.push_back(nullptr);

    pid_t pid = -1;
    if (::posix_spawnp(&pid, argv[0], &setup.actions, &setup.attributes, argv.data(), environ) != 0)
        return result;
    result.started = true;
    writeEnd.Reset();

    const auto deadline = Clock::now() + std::chrono::milliseconds(options.timeoutMs);
    bool noLimit = options.timeoutMs == kNoTimeout;
    bool exited = false;
    int status = 0;
    auto reap = [&] {
        if (!exited && ::waitpid(pid, &status, WNOHANG) == pid) exited = true;
        return exited;
    };

    // Drain the pipe while the child runs, so that a child printing more than
    // the pipe holds never blocks.
    bool open = options.captureOutput;
    while (open) {
        int wait = 50;
        if (!noLimit) {
            auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
            if (left.count() <= 0) break;
            if (left.count() < wait) wait = static_cast<int>(left.count());
        }
        pollfd entry{readEnd.Get(), POLLIN, 0};
        int ready = ::poll(&entry, 1, wait);
        if (ready < 0 && errno != EINTR) break;
        if (ready > 0) {
            char chunk[65536];
            ssize_t n = ::read(readEnd.Get(), chunk, sizeof chunk);
            if (n > 0) {
                result.output.append(chunk, static_cast<size_t>(n));
            } else if (n == 0 || errno != EINTR) {
                open = false;
            }
        } else if (reap()) {
            // The child is gone but something it started still holds the
            // pipe: take what is there and stop.
            ::fcntl(readEnd.Get(), F_SETFL, O_NONBLOCK);
            ReadAvailable(readEnd.Get(), result.output);
            open = false;
        }
    }

    while (!reap()) {
        if (!noLimit && Clock::now() >= deadline) {
            ::kill(-pid, SIGKILL);
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            result.timedOut = true;
            return result;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    result.exitCode = ExitCode(status);
    return result;
}

} // namespace posix

ProcessResult RunProcess(const std::string& commandLine, const ProcessOptions& options) {
    return posix::RunArguments(SplitCommandLine(commandLine), options);
}

} // namespace quorle::platform
