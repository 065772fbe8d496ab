#include "wingui/visual_styles.h"

namespace quorle::wingui {
namespace {

// The resource number the loader looks for in a library.
constexpr WORD kLibraryManifest = 2;

HMODULE ThisLibrary() {
    HMODULE module = nullptr;
    ::GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS |
                             GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                         reinterpret_cast<LPCSTR>(&ThisLibrary), &module);
    return module;
}

} // namespace

VisualStyles::VisualStyles() {
    HMODULE module = ThisLibrary();
    char path[MAX_PATH] = {};
    if (module == nullptr || ::GetModuleFileNameA(module, path, MAX_PATH) == 0) return;
    ACTCTXA request{};
    request.cbSize = sizeof request;
    request.dwFlags = ACTCTX_FLAG_HMODULE_VALID | ACTCTX_FLAG_RESOURCE_NAME_VALID;
    request.hModule = module;
    request.lpSource = path;
    request.lpResourceName = MAKEINTRESOURCEA(kLibraryManifest);
    context_ = ::CreateActCtxA(&request);
    // Without it the sheet still works, in the classic controls.
    if (context_ == INVALID_HANDLE_VALUE) return;
    active_ = ::ActivateActCtx(context_, &cookie_) != FALSE;
}

VisualStyles::~VisualStyles() {
    if (active_) ::DeactivateActCtx(0, cookie_);
    if (context_ != INVALID_HANDLE_VALUE) ::ReleaseActCtx(context_);
}

} // namespace quorle::wingui
