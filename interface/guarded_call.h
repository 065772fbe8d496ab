// The one way an export runs its work: no C++ exception may reach the host,
// which calls through a C interface and would be ended by one. Anything
// thrown below an export (an allocation that fails, a cap exceeded) turns
// into the failure answer 1.
#pragma once

namespace quorle {

inline constexpr int kExportFailed = 1;

template <class Fn> int GuardedCall(Fn&& work) noexcept {
    try {
        return work();
    } catch (...) {
        return kExportFailed;
    }
}

} // namespace quorle
