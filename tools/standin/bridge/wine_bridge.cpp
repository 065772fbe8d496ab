// A Windows program that takes a stand-in tool's place under Wine. Wine
// starts a host program (the stand-in is one) detached: the caller gets no
// process handle, no exit code, and none of its output. This program, laid
// out as "<triplet>/bin/<tool>.exe", starts the host stand-in of the same
// name in "<triplet>/host/" and has it leave its output and exit code in
// files beside it; it waits for them and hands both on as its own, so the
// caller sees an ordinary Windows process. Ctrl+C asks the tool to stop.
#include <chrono>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/platform.h"

using namespace quorle::platform;

namespace {

std::string Quoted(const std::string& arg) {
    if (!arg.empty() && arg.find_first_of(" \t\"") == std::string::npos) return arg;
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"') out += '\\';
        out += c;
    }
    return out + "\"";
}

void RemoveExchange(const std::string& base) {
    for (const char* suffix : {"", ".out", ".code", ".stop", ".alive"}) DeleteFile(base + suffix);
}

} // namespace

int main(int argc, char** argv) {
    std::string self = argc > 0 ? argv[0] : "";
    size_t slash = self.find_last_of("\\/");
    if (slash == std::string::npos) {
        std::fprintf(stderr, "quorle wine bridge: started without a path\n");
        return 127;
    }
    const std::string dir = self.substr(0, slash);
    const std::string host = dir + "\\..\\host\\" + self.substr(slash + 1);
    if (!IsFile(host)) {
        std::fprintf(stderr, "quorle wine bridge: %s is missing\n", host.c_str());
        return 127;
    }
    // The exchange files live in the toolchain, which the host side can map.
    auto base = CreateTempFile(dir + "\\..\\host", "qwb");
    if (!base) {
        std::fprintf(stderr, "quorle wine bridge: cannot create a file in %s\\..\\host\n",
                     dir.c_str());
        return 127;
    }
    std::string line = Quoted(host);
    for (int i = 1; i < argc; ++i) line += " " + Quoted(argv[i]);
    // Touched while this program waits: when it is ended (the host ends its
    // tools after an interrupt), the tool sees the file go quiet and stops.
    const std::string alive = *base + ".alive";
    WriteFile(alive, "", false);
    ProcessOptions options;
    options.environment = {"QUORLE_WINE_REPORT=" + *base};
    WatchInterrupts();
    ProcessResult started = RunProcess(line, options);
    if (!started.started) {
        std::fprintf(stderr, "quorle wine bridge: cannot start %s\n", host.c_str());
        RemoveExchange(*base);
        return 127;
    }
    if (started.exitCode != -1 || started.output.find(kUntrackedProcessMessage) != 0) {
        // A process that could be waited for: not under Wine after all.
        std::fwrite(started.output.data(), 1, started.output.size(), stdout);
        RemoveExchange(*base);
        return started.exitCode;
    }
    const std::string codeFile = *base + ".code";
    bool stopAsked = false;
    for (int round = 0; !IsFile(codeFile); ++round) {
        if (!stopAsked && PendingInterrupt() != 0) {
            WriteFile(*base + ".stop", "", false);
            stopAsked = true;
        }
        if (round % 100 == 99) WriteFile(alive, std::to_string(round), false);
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    std::string output = ReadFile(*base + ".out", false).value_or("");
    std::fwrite(output.data(), 1, output.size(), stdout);
    std::fflush(stdout);
    int code = 127;
    std::sscanf(ReadFile(codeFile, false).value_or("127").c_str(), "%d", &code);
    RemoveExchange(*base);
    return code;
}
