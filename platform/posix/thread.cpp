#include <pthread.h>

#include "platform/platform.h"

namespace quorle::platform {
namespace {

void* RunWork(void* work) {
    (*static_cast<const std::function<void()>*>(work))();
    return nullptr;
}

} // namespace

bool RunOnThreadWithStack(size_t stackBytes, const std::function<void()>& work) {
    pthread_attr_t attributes;
    if (::pthread_attr_init(&attributes) != 0) return false;
    bool started = false;
    pthread_t thread;
    if (::pthread_attr_setstacksize(&attributes, stackBytes) == 0 &&
        ::pthread_create(&thread, &attributes, RunWork,
                         const_cast<std::function<void()>*>(&work)) == 0) {
        started = ::pthread_join(thread, nullptr) == 0;
    }
    ::pthread_attr_destroy(&attributes);
    return started;
}

} // namespace quorle::platform
