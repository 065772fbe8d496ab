#include "tools/standin/process.h"

#include <cstdlib>

#if defined(_WIN32)
#include <process.h>
#else
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>
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

} // namespace quorle::standin
