#include "host/config_lock.h"

#include <chrono>
#include <thread>

#include "host/build_state.h"
#include "platform/platform.h"

namespace quorle::host {

namespace {

// The holder writes its process id just after it takes the lock; until
// then, or when the file holds anything else, there is no id to name.
std::string HolderOf(const std::string& lockFile) {
    auto text = platform::ReadFile(lockFile, false);
    if (!text || text->empty() || text->size() > 20 ||
        text->find_first_not_of("0123456789") != std::string::npos)
        return "";
    return *text;
}

} // namespace

bool ConfigLock::Take(const std::string& configDir, bool wait, std::string& error,
                      std::FILE* notes) {
    const std::string file = BuildState::LockIn(configDir);
    std::string holder;
    bool announced = false;
    auto start = std::chrono::steady_clock::now();
    for (;;) {
        switch (lock_.TryLock(file)) {
        case platform::FileLock::Outcome::Held:
            lock_.SetText(std::to_string(platform::CurrentProcessId()));
            return true;
        case platform::FileLock::Outcome::Failed:
            error = "cannot lock " + configDir + " (" + file +
                    " must be a file of its own, not a link)";
            return false;
        case platform::FileLock::Outcome::Busy:
            break;
        }
        holder = HolderOf(file);
        // The id may not be written yet: ask again for a moment before
        // naming no one.
        bool named = !holder.empty() ||
                     std::chrono::steady_clock::now() - start > std::chrono::milliseconds(500);
        if (named && !wait) {
            error = "another quorle-host (pid " + (holder.empty() ? "unknown" : holder) +
                    ") is using " + configDir;
            return false;
        }
        if (named && !announced && notes != nullptr) {
            std::fprintf(notes, "waiting for quorle-host (pid %s), which is using %s\n",
                         holder.empty() ? "unknown" : holder.c_str(), configDir.c_str());
            std::fflush(notes);
            announced = true;
        }
        if (platform::PendingInterrupt() != 0) {
            error = "interrupted while waiting for " + configDir;
            return false;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(wait ? 100 : 20));
    }
}

} // namespace quorle::host
