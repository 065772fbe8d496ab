#include "platform/win32/windows_api.h"

#include "platform/platform.h"

namespace quorle::platform {
namespace {

// The module this code is linked into: the plug-in DLL, or a test program.
HMODULE OwnModule() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&OwnModule), &module);
    return module;
}

// The code page the resource script declares (#pragma code_page).
constexpr UINT kStringCodePage = 1252;

} // namespace

// String tables are stored in blocks of sixteen counted UTF-16 strings; block
// n + 1 holds the strings 16n to 16n + 15. Read directly rather than through
// LoadString, so that the text is taken whole.
std::optional<std::string> LoadResourceString(int id) {
    if (id < 0 || id > 0xFFFF) return std::nullopt;
    HMODULE module = static_cast<HMODULE>(CurrentResourceModule());
    if (module == nullptr) module = OwnModule();
    HRSRC found =
        ::FindResourceA(module, MAKEINTRESOURCEA(id / 16 + 1), MAKEINTRESOURCEA(6) /* RT_STRING */);
    if (found == nullptr) return std::nullopt;
    HGLOBAL loaded = ::LoadResource(module, found);
    const auto* data = static_cast<const WCHAR*>(::LockResource(loaded));
    if (data == nullptr) return std::nullopt;
    const WCHAR* end = data + ::SizeofResource(module, found) / sizeof(WCHAR);
    for (int i = 0; i < id % 16; ++i) {
        if (data >= end) return std::nullopt;
        data += 1 + *data;
    }
    if (data >= end || *data == 0 || data + 1 + *data > end) return std::nullopt;
    int length = *data;
    int bytes =
        ::WideCharToMultiByte(kStringCodePage, 0, data + 1, length, nullptr, 0, nullptr, nullptr);
    std::string text(static_cast<size_t>(bytes), '\0');
    ::WideCharToMultiByte(kStringCodePage, 0, data + 1, length, text.data(), bytes, nullptr,
                          nullptr);
    return text;
}

} // namespace quorle::platform
