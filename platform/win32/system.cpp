#include "platform/win32/windows_api.h"

#include <io.h>

#include <cstdio>
#include <ctime>

#include "platform/platform.h"

namespace quorle::platform {

OsVersion GetOsVersion() {
    OSVERSIONINFOA info{};
    info.dwOSVersionInfoSize = sizeof info;
    OsVersion version;
    if (::GetVersionExA(&info)) {
        version.major = info.dwMajorVersion;
        version.minor = info.dwMinorVersion;
    }
    return version;
}

// The C run-time's strftime: the module never changes the C locale.
std::string FormatLocalTime(const char* format) {
    if (format == nullptr || *format == '\0') return {};
    std::time_t now = std::time(nullptr);
    std::tm local{};
    if (localtime_s(&local, &now) != 0) return {};
    std::string text;
    for (size_t size = 128; size <= 65536; size *= 2) {
        text.assign(size, '\0');
        size_t n = std::strftime(text.data(), size, format, &local);
        if (n > 0) {
            text.resize(n);
            return text;
        }
    }
    return {};
}

bool StandardOutputIsTerminal() {
    return ::_isatty(::_fileno(stdout)) != 0;
}

bool StandardInputIsTerminal() {
    return ::_isatty(::_fileno(stdin)) != 0;
}

size_t TerminalColumns() {
    CONSOLE_SCREEN_BUFFER_INFO info{};
    if (!::GetConsoleScreenBufferInfo(::GetStdHandle(STD_OUTPUT_HANDLE), &info)) return 0;
    return static_cast<size_t>(info.srWindow.Right - info.srWindow.Left + 1);
}

} // namespace quorle::platform
