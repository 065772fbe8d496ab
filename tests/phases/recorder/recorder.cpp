// Stand-in for ar and objcopy in the build-step tests: appends its program
// name and arguments, tab-separated, as one line to the file named by
// QUORLE_RECORDER_LOG, then sleeps QUORLE_RECORDER_SLEEP_MS milliseconds and
// exits with QUORLE_RECORDER_EXIT (default 0).
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

int main(int argc, char** argv) {
    if (const char* log = std::getenv("QUORLE_RECORDER_LOG")) {
        if (std::FILE* file = std::fopen(log, "ab")) {
            std::string line;
            std::string program = argv[0];
            size_t cut = program.find_last_of("\\/");
            line += cut == std::string::npos ? program : program.substr(cut + 1);
            for (int i = 1; i < argc; ++i) {
                line += '\t';
                line += argv[i];
            }
            line += '\n';
            std::fwrite(line.data(), 1, line.size(), file);
            std::fclose(file);
        }
    }
    if (const char* sleep = std::getenv("QUORLE_RECORDER_SLEEP_MS"))
        std::this_thread::sleep_for(std::chrono::milliseconds(std::atoi(sleep)));
    const char* code = std::getenv("QUORLE_RECORDER_EXIT");
    return code == nullptr ? 0 : std::atoi(code);
}
