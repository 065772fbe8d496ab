// Stand-in for the IDE's sibling project-options library "Sivrel.dll" (a
// shared object "Sivrel.so" on POSIX), with the six exports the options
// editor calls. Its answers:
//   interface version SIVREL_MAJOR.2 (1.2; the "too old" test variant is
//   0.2), product version "1.2", ordinal version 12;
//   IsEnablePhase: yes for a phase name ending in "Compiler", "Assembler",
//   "Linker" or "Generator" when the toolchain name starts with "Dravik GNU"
//   (any case); no otherwise;
//   ConvertRawToCook: the raw text with each placeholder "$(NAME)" shown as
//   "<NAME>".
// SIVREL_FAIL_ORDINAL builds a variant whose ordinal-version call fails.
#include <cstdlib>
#include <cstring>
#include <string>

#include "core/sibling_abi.h"

#if defined(_WIN32)
#define SIVREL_EXPORT extern "C" __declspec(dllexport)
#else
#define SIVREL_EXPORT extern "C" __attribute__((visibility("default")))
#endif

#ifndef SIVREL_MAJOR
#define SIVREL_MAJOR 1
#endif

namespace {

bool EndsWith(const std::string& text, const char* suffix) {
    size_t n = std::strlen(suffix);
    return text.size() >= n && text.compare(text.size() - n, n, suffix) == 0;
}

bool StartsWithIgnoringCase(const std::string& text, const char* prefix) {
    size_t n = std::strlen(prefix);
    if (text.size() < n) return false;
    for (size_t i = 0; i < n; ++i) {
        char a = text[i], b = prefix[i];
        if (a >= 'A' && a <= 'Z') a = static_cast<char>(a - 'A' + 'a');
        if (b >= 'A' && b <= 'Z') b = static_cast<char>(b - 'A' + 'a');
        if (a != b) return false;
    }
    return true;
}

} // namespace

SIVREL_EXPORT int SIVREL_CALL GetDLLInterfaceVersion(uint32_t* major, uint32_t* minor) {
    if (major == nullptr || minor == nullptr) return 1;
    *major = SIVREL_MAJOR;
    *minor = 2;
    return 0;
}

SIVREL_EXPORT int SIVREL_CALL GetDLLProductVersion(char* buffer, int32_t* length) {
    static const char kText[] = "1.2\n"; // list form: the line feed becomes the NUL
    const int32_t needed = static_cast<int32_t>(sizeof(kText) - 1);
    if (length == nullptr) return 1;
    int32_t capacity = *length;
    *length = needed;
    if (buffer == nullptr || capacity < needed) return 1;
    std::memcpy(buffer, kText, static_cast<size_t>(needed));
    buffer[needed - 1] = '\0';
    return 0;
}

SIVREL_EXPORT int SIVREL_CALL GetDLLOrdinalVersion(uint32_t* value) {
#if defined(SIVREL_FAIL_ORDINAL)
    (void)value;
    return 1;
#else
    if (value == nullptr) return 1;
    *value = 12;
    return 0;
#endif
}

SIVREL_EXPORT int SIVREL_CALL IsEnablePhase(const char* toolchain, const char* phase) {
    if (toolchain == nullptr || phase == nullptr) return 0;
    if (!StartsWithIgnoringCase(toolchain, "Dravik GNU")) return 0;
    std::string name = phase;
    return EndsWith(name, "Compiler") || EndsWith(name, "Assembler") || EndsWith(name, "Linker") ||
           EndsWith(name, "Generator");
}

SIVREL_EXPORT int SIVREL_CALL ConvertRawToCook(const char* toolchain, const char* raw,
                                               int32_t length, char** cooked) {
    if (toolchain == nullptr || raw == nullptr || cooked == nullptr || length < 0) return 1;
    std::string in(raw, static_cast<size_t>(length));
    std::string out;
    for (size_t i = 0; i < in.size();) {
        size_t close = in.compare(i, 2, "$(") == 0 ? in.find(')', i + 2) : std::string::npos;
        if (close != std::string::npos) {
            out += "<" + in.substr(i + 2, close - i - 2) + ">";
            i = close + 1;
        } else {
            out += in[i++];
        }
    }
    char* block = static_cast<char*>(std::calloc(out.size() + 1, 1));
    if (block == nullptr) return 1;
    std::memcpy(block, out.data(), out.size());
    *cooked = block;
    return 0;
}

SIVREL_EXPORT void SIVREL_CALL FreeSimpleType(void* block) {
    std::free(block);
}
