#include "platform/win32/windows_api.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "platform/platform.h"

namespace quorle::platform {
namespace {

// Owns a handle.
class Handle {
  public:
    explicit Handle(HANDLE handle = nullptr) : handle_(handle) {}
    ~Handle() { Reset(); }
    Handle(const Handle&) = delete;
    Handle& operator=(const Handle&) = delete;
    HANDLE Get() const { return handle_; }
    HANDLE* Out() {
        Reset();
        return &handle_;
    }
    void Reset() {
        if (handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE) ::CloseHandle(handle_);
        handle_ = nullptr;
    }

  private:
    HANDLE handle_;
};

// A large pipe lets a child write on while the parent sleeps between polls.
constexpr DWORD kPipeSize = 1 << 20;

// Reads what the pipe holds now without blocking; false when the pipe is
// closed on the writing side and empty.
bool ReadAvailable(HANDLE pipe, std::string& output, bool* gotData = nullptr) {
    for (;;) {
        DWORD available = 0;
        if (!::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr)) return false;
        if (available == 0) return true;
        std::vector<char> chunk(available);
        DWORD n = 0;
        if (!::ReadFile(pipe, chunk.data(), available, &n, nullptr)) return false;
        output.append(chunk.data(), n);
        if (gotData != nullptr) *gotData = true;
        // One pipe's worth past a cap at most; the caller checks the size.
        if (output.size() > kMaxTextBytes) return true;
    }
}

// The inherited environment block with `extra` entries added or replaced;
// empty when there is nothing to add (the child then inherits).
std::vector<char> EnvironmentBlock(const std::vector<std::string>& extra) {
    std::vector<char> block;
    if (extra.empty()) return block;
    auto append = [&block](const std::string& entry) {
        block.insert(block.end(), entry.begin(), entry.end());
        block.push_back('\0');
    };
    for (const std::string& entry : EnvironmentStrings()) {
        std::string name = entry.substr(0, entry.find('=', 1) + 1);
        bool replaced = false;
        for (const std::string& x : extra)
            replaced = replaced || _strnicmp(x.c_str(), name.c_str(), name.size()) == 0;
        if (!replaced) append(entry);
    }
    for (const std::string& entry : extra) append(entry);
    block.push_back('\0');
    return block;
}

// The child's standard handles: its output into a pipe the parent reads
// (or into NUL when not captured), its input from NUL.
struct ChildStreams {
    Handle readEnd, writeEnd, input, discard;
};

bool OpenStreams(bool capture, ChildStreams& streams) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    if (capture) {
        Handle readInheritable;
        if (!::CreatePipe(readInheritable.Out(), streams.writeEnd.Out(), &inherit, kPipeSize))
            return false;
        // The parent's end must not be inherited, or the child would hold the
        // pipe open and reading would never see its end.
        if (!::DuplicateHandle(::GetCurrentProcess(), readInheritable.Get(), ::GetCurrentProcess(),
                               streams.readEnd.Out(), 0, FALSE, DUPLICATE_SAME_ACCESS))
            return false;
    } else {
        *streams.discard.Out() =
            ::CreateFileA("NUL", GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                          OPEN_EXISTING, 0, nullptr);
    }
    *streams.input.Out() = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                         &inherit, OPEN_EXISTING, 0, nullptr);
    return true;
}

// Drains the pipe while the child runs, so that a child printing more than
// the pipe holds never blocks; ends the child on an interrupt, past the
// output cap or at the time-out; then takes its exit code.
void Supervise(HANDLE process, HANDLE readEnd, const ProcessOptions& options,
               ProcessResult& result) {
    const ULONGLONG start = ::GetTickCount64();
    const bool noLimit = options.timeoutMs == kNoTimeout;
    for (;;) {
        if (!result.interrupted && PendingInterrupt() != 0) {
            // No process group to signal here: the tool is ended and waited for.
            ::TerminateProcess(process, 128 + PendingInterrupt());
            result.interrupted = true;
        }
        bool gotData = false;
        if (options.captureOutput && !ReadAvailable(readEnd, result.output, &gotData)) {
            // The pipe is closed: the child is about to end.
            if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0) break;
        }
        if (result.output.size() > options.maxOutputBytes) {
            // Past the cap the output is of no use: end the child now.
            ::TerminateProcess(process, 1);
            ::WaitForSingleObject(process, 5000);
            result.output.resize(options.maxOutputBytes);
            result.outputOverflow = true;
            return;
        }
        // While output flows, poll again at once.
        DWORD waitMs = gotData ? 0 : 10;
        if (!noLimit) {
            ULONGLONG elapsed = ::GetTickCount64() - start;
            if (elapsed >= options.timeoutMs) {
                ::TerminateProcess(process, 1);
                ::WaitForSingleObject(process, 5000);
                if (options.captureOutput) ReadAvailable(readEnd, result.output);
                result.timedOut = true;
                return;
            }
            waitMs = static_cast<DWORD>(std::min<ULONGLONG>(waitMs, options.timeoutMs - elapsed));
        }
        DWORD waited = ::WaitForSingleObject(process, waitMs);
        if (waited == WAIT_OBJECT_0) {
            // Whatever the child wrote before it ended; not waiting for
            // processes it started that still hold the pipe.
            if (options.captureOutput) ReadAvailable(readEnd, result.output);
            break;
        }
        if (waited == WAIT_FAILED) {
            // A handle that cannot be waited for would make this loop spin
            // for ever; the child's end and its exit code are unknown.
            if (options.captureOutput) ReadAvailable(readEnd, result.output);
            return;
        }
    }
    DWORD code = 0;
    if (::GetExitCodeProcess(process, &code)) result.exitCode = static_cast<int>(code);
}

// Why the system refused, for the message that the tool could not be started.
ProcessResult& NotStarted(const char* what, ProcessResult& result) {
    const DWORD code = ::GetLastError();
    char text[512] = {};
    DWORD length = ::FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                                    nullptr, code, 0, text, sizeof text, nullptr);
    while (length > 0 && (text[length - 1] == '\n' || text[length - 1] == '\r' ||
                          text[length - 1] == ' ' || text[length - 1] == '.'))
        --length;
    result.output = std::string(what) + " failed: ";
    result.output += length > 0 ? std::string(text, length) : "system error";
    result.output += " (" + std::to_string(code) + ")";
    return result;
}

} // namespace

ProcessResult RunProcess(const std::string& commandLine, const ProcessOptions& options) {
    ProcessResult result;
    if (SplitCommandLine(commandLine).empty()) return result;
    ChildStreams streams;
    if (!OpenStreams(options.captureOutput, streams)) return NotStarted("the output pipe", result);

    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = streams.input.Get();
    startup.hStdOutput = options.captureOutput ? streams.writeEnd.Get() : streams.discard.Get();
    startup.hStdError = startup.hStdOutput;
    PROCESS_INFORMATION info{};
    std::vector<char> mutableLine(commandLine.begin(), commandLine.end());
    mutableLine.push_back('\0');
    const char* directory =
        options.workingDirectory.empty() ? nullptr : options.workingDirectory.c_str();
    std::vector<char> environment = EnvironmentBlock(options.environment);
    if (!::CreateProcessA(nullptr, mutableLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                          environment.empty() ? nullptr : environment.data(), directory, &startup,
                          &info))
        return NotStarted("CreateProcess", result);
    result.started = true;
    Handle process(info.hProcess), thread(info.hThread);
    streams.writeEnd.Reset(); // the child's copy is the only writer now
    if (process.Get() == nullptr) {
        // Wine starts a program of the host system (an ELF file) detached:
        // no handle, no exit code, and its output does not reach the pipe.
        // Taking that for success would hide every failure of the tool.
        result.output = kUntrackedProcessMessage;
        result.output += '\n';
        return result;
    }
    Supervise(process.Get(), streams.readEnd.Get(), options, result);
    return result;
}

} // namespace quorle::platform
