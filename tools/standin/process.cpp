#include "tools/standin/process.h"

#include <cstdlib>

#if defined(_WIN32)
#include <process.h>
#else
#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <ctime>
#include <fstream>
#include <thread>
extern char** environ;
#endif

namespace quorle::standin {

namespace {

std::vector<char*> Argv(std::vector<std::string>& args) {
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    return argv;
}

} // namespace

int RunAndWait(const std::vector<std::string>& arguments) {
    std::vector<std::string> args = arguments;
    std::vector<char*> argv = Argv(args);
#if defined(_WIN32)
    intptr_t code = _spawnvp(_P_WAIT, argv[0], argv.data());
    return static_cast<int>(code);
#else
    pid_t pid = -1;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return -1;
    int status = 0;
    if (waitpid(pid, &status, 0) != pid) return -1;
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
#endif
}

int Exec(const std::vector<std::string>& arguments) {
#if defined(_WIN32)
    int code = RunAndWait(arguments);
    if (code < 0) return code;
    std::exit(code);
#else
    std::vector<std::string> args = arguments;
    std::vector<char*> argv = Argv(args);
    execvp(argv[0], argv.data());
    return -1;
#endif
}

#if !defined(_WIN32)
int RunReportingTo(const std::string& base, int (*tool)(int, char**), int argc, char** argv) {
    const std::string out = base + ".out", stop = base + ".stop";
    // Else the child would write what the parent still buffers into the file.
    std::fflush(nullptr);
    pid_t pid = fork();
    if (pid < 0) return 127;
    if (pid == 0) {
        // A group of its own, so that a stop reaches the compiler's passes too.
        setpgid(0, 0);
        int fd = open(out.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        if (fd >= 0) {
            dup2(fd, 1);
            dup2(fd, 2);
            close(fd);
        }
        int code = tool(argc, argv);
        std::fflush(nullptr); // _Exit flushes nothing
        std::_Exit(code);
    }
    setpgid(pid, pid); // as the child does, so that a stop cannot come first
    int status = 0, code = 127;
    bool stopped = false, abandoned = false;
    const std::string alive = base + ".alive";
    for (int round = 0;; ++round) {
        pid_t done = waitpid(pid, &status, WNOHANG);
        if (done == pid) {
            code = WIFEXITED(status) ? WEXITSTATUS(status)
                                     : 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
            break;
        }
        if (done < 0) break;
        struct stat info;
        if (!stopped && stat(stop.c_str(), &info) == 0) stopped = kill(-pid, SIGINT) == 0;
        // The bridge touches the alive file while it waits; one that has
        // stopped was ended itself (the host was interrupted and ended its
        // tools), so no one waits for this tool any more.
        if (!stopped && round % 20 == 0 && stat(alive.c_str(), &info) == 0 &&
            std::time(nullptr) - info.st_mtime > kBridgeSilenceSeconds) {
            abandoned = true;
            stopped = kill(-pid, SIGINT) == 0;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    if (abandoned) {
        for (const char* suffix : {"", ".out", ".stop", ".alive"})
            std::remove((base + suffix).c_str());
        return code;
    }
    // Written whole under another name first: the caller polls for it.
    const std::string code_file = base + ".code";
    {
        std::ofstream file(code_file + ".tmp", std::ios::trunc);
        file << code << "\n";
    }
    std::rename((code_file + ".tmp").c_str(), code_file.c_str());
    return code;
}
#endif

} // namespace quorle::standin
