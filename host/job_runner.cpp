#include "host/job_runner.h"

namespace quorle::host {

JobRunner::~JobRunner() {
    for (auto& [id, t] : threads_)
        if (t.joinable()) t.join();
}

void JobRunner::Start(size_t id, Work work) {
    ++running_;
    threads_[id] = std::thread([this, id, work = std::move(work)] {
        Done done{id, work()};
        std::lock_guard<std::mutex> lock(mutex_);
        finished_.push_back(std::move(done));
        cv_.notify_one();
    });
}

JobRunner::Done JobRunner::WaitAny() {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this] { return !finished_.empty(); });
    Done done = std::move(finished_.front());
    finished_.pop_front();
    --running_;
    lock.unlock();
    auto it = threads_.find(done.id);
    if (it != threads_.end()) {
        it->second.join();
        threads_.erase(it);
    }
    return done;
}

} // namespace quorle::host
