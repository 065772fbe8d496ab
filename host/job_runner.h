// Runs tools on worker threads while the caller keeps every call into the
// plug-in on its own thread: the plug-in's module-wide caches are unguarded,
// so plug-in calls must never overlap.
#pragma once

#include <condition_variable>
#include <cstddef>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <thread>

#include "platform/platform.h"

namespace quorle::host {

class JobRunner {
  public:
    using Work = std::function<platform::ProcessResult()>;
    struct Done {
        size_t id = 0;
        platform::ProcessResult result;
    };

    explicit JobRunner(size_t jobs) : jobs_(jobs == 0 ? 1 : jobs) {}
    ~JobRunner();
    JobRunner(const JobRunner&) = delete;
    JobRunner& operator=(const JobRunner&) = delete;

    bool Full() const { return running_ >= jobs_; }
    bool Idle() const { return running_ == 0; }
    // Starts `work` on a thread of its own; call only when not Full().
    void Start(size_t id, Work work);
    // Blocks until some started job has finished and returns it.
    Done WaitAny();

  private:
    size_t jobs_;
    size_t running_ = 0;
    std::mutex mutex_;
    std::condition_variable cv_;
    std::deque<Done> finished_;
    std::map<size_t, std::thread> threads_; // ids are unique among running jobs
};

} // namespace quorle::host
