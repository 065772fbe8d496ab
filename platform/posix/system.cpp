#include <sys/ioctl.h>
#include <sys/utsname.h>
#include <unistd.h>

#include <clocale>
#include <cstdlib>
#include <ctime>
#include <locale.h>

#include "platform/platform.h"

namespace quorle::platform {

namespace {

// The kernel release "6.1.0-18-amd64" gives major 6, minor 1.
OsVersion ReadOsVersion() {
    OsVersion version;
    utsname name;
    if (::uname(&name) != 0) return version;
    char* end = nullptr;
    version.major = static_cast<uint32_t>(std::strtoul(name.release, &end, 10));
    if (end != nullptr && *end == '.') {
        version.minor = static_cast<uint32_t>(std::strtoul(end + 1, nullptr, 10));
    }
    return version;
}

} // namespace

// The release cannot change while the process runs: asked once.
OsVersion GetOsVersion() {
    static const OsVersion version = ReadOsVersion();
    return version;
}

std::string FormatLocalTime(const char* format) {
    if (format == nullptr || *format == '\0') return {};
    std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    std::string text;
    for (size_t size = 128; size <= 65536; size *= 2) {
        text.assign(size, '\0');
        size_t n = ::strftime_l(text.data(), size, format, &local, c);
        if (n > 0) {
            text.resize(n);
            break;
        }
        text.clear(); // too small, or a format that yields nothing
    }
    ::freelocale(c);
    return text;
}

bool StandardOutputIsTerminal() {
    return ::isatty(STDOUT_FILENO) != 0;
}

bool StandardInputIsTerminal() {
    return ::isatty(STDIN_FILENO) != 0;
}

size_t TerminalColumns() {
    winsize size{};
    if (::ioctl(STDOUT_FILENO, TIOCGWINSZ, &size) != 0) return 0;
    return size.ws_col;
}

} // namespace quorle::platform
