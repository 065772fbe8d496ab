// Child program for the process tests. Commands, one per invocation:
//   echo ARG...      each argument on a line of its own, between < and >
//   print N          N bytes on standard output, every 100th a line feed
//   stderr TEXT      TEXT on standard error
//   both             "out" on standard output, "err" on standard error
//   sleep MS         sleeps, then prints "woke"
//   exit CODE        exits with CODE
//   cwd              prints the current directory
//   env NAME         prints the variable's value, or <unset>
//   orphan FILE      leaves a sleeping process behind in its group (POSIX) and
//                    writes its process id to FILE
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (argc < 2) return 100;
    std::string command = argv[1];
    if (command == "echo") {
        for (int i = 2; i < argc; ++i) std::printf("<%s>\n", argv[i]);
    } else if (command == "print" && argc > 2) {
        long count = std::atol(argv[2]);
        for (long i = 0; i < count; ++i) std::putchar(i % 100 == 99 ? '\n' : 'a' + i % 26);
    } else if (command == "stderr" && argc > 2) {
        std::fprintf(stderr, "%s", argv[2]);
    } else if (command == "both") {
        std::printf("out\n");
        std::fflush(stdout);
        std::fprintf(stderr, "err\n");
    } else if (command == "sleep" && argc > 2) {
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atol(argv[2])));
        std::printf("woke\n");
    } else if (command == "exit" && argc > 2) {
        return std::atoi(argv[2]);
    } else if (command == "env" && argc > 2) {
        const char* value = std::getenv(argv[2]);
        std::printf("%s\n", value != nullptr ? value : "<unset>");
    } else if (command == "orphan" && argc > 2) {
        std::string line = "sleep 30 & echo $! > '" + std::string(argv[2]) + "'";
        return std::system(line.c_str()) == 0 ? 0 : 101;
    } else if (command == "cwd") {
        std::printf("%s\n", std::filesystem::current_path().string().c_str());
    } else {
        return 100;
    }
    return 0;
}
