// Files a program keeps for itself beside the user's files, where a link
// left there by someone else must not send its writes elsewhere: both
// writers remove or refuse a link at the path, never follow it.
#pragma once

#include <cstdint>
#include <string>

namespace quorle::platform {

// Writes `content` as a new file at `path`: whatever entry is there already
// (a link included, as itself) is removed first, and the file is created
// only if nothing took its place. Bytes are written as they are.
bool WriteFreshFile(const std::string& path, const std::string& content);

// A file that records are appended to, each in one write, so that a process
// killed between two writes leaves whole lines.
class AppendFile {
  public:
    AppendFile() = default;
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Opens or creates a regular file; refuses a link or anything else.
    bool Open(const std::string& path);
    bool Append(const std::string& bytes);
    void Close();
    bool IsOpen() const { return handle_ != kNone; }

  private:
    static constexpr intptr_t kNone = -1;
    intptr_t handle_ = kNone;
};

} // namespace quorle::platform
