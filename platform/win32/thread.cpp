#include "platform/win32/windows_api.h"

#include "platform/platform.h"

namespace quorle::platform {
namespace {

DWORD WINAPI RunWork(LPVOID work) {
    (*static_cast<const std::function<void()>*>(work))();
    return 0;
}

} // namespace

bool RunOnThreadWithStack(size_t stackBytes, const std::function<void()>& work) {
    // The size is reserved, not committed, as for a main thread's stack.
    HANDLE thread = ::CreateThread(nullptr, stackBytes, RunWork,
                                   const_cast<std::function<void()>*>(&work),
                                   STACK_SIZE_PARAM_IS_A_RESERVATION, nullptr);
    if (thread == nullptr) return false;
    ::WaitForSingleObject(thread, INFINITE);
    ::CloseHandle(thread);
    return true;
}

} // namespace quorle::platform
