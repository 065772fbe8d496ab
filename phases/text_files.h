// Reading and writing the small text files of the build steps: sub-command
// files, list and map files.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace quorle::phases {

enum class FileState { File = 0, Missing = 1, Directory = 2 };
FileState GetFileState(const std::string& path);

enum WriteResult : int { kWriteOk = 0, kWriteCannotOpen = 1, kWriteFailed = 3 };

// Replaces a file that may be read-only or hidden: a symbolic link in its
// place is removed (never written through), its attributes are reset
// to "archive" first, the text is written in text mode (CR LF), and the given
// attributes are set afterwards.
int WriteProtectedTextFile(const std::string& path, const std::string& text, uint32_t attributes);

// Read-only, hidden and archive: how sub-command files are left on disk.
uint32_t SubcommandFileAttributes();

// The whole file as text lines, each followed by "\n"; nothing when it
// cannot be opened.
std::optional<std::string> ReadTextFile(const std::string& path);

// Appends `text` in text mode to an existing file; false when it cannot be
// opened or written. Never creates the file.
bool AppendToExistingFile(const std::string& path, const std::string& text);

// Creates a directory and any missing parents; true when it exists afterwards.
bool CreateDirectoryChain(const std::string& path);

} // namespace quorle::phases
