#include "phases/text_files.h"

#include "core/path_text.h"
#include "platform/platform.h"

namespace quorle::phases {

FileState GetFileState(const std::string& path) {
    if (!platform::FileExists(path)) return FileState::Missing;
    return platform::IsDirectory(path) ? FileState::Directory : FileState::File;
}

uint32_t SubcommandFileAttributes() {
    return platform::kAttrReadOnly | platform::kAttrHidden | platform::kAttrArchive;
}

int WriteProtectedTextFile(const std::string& path, const std::string& text, uint32_t attributes) {
    // A link is replaced by a file of our own, never written through: the
    // modes below must not reach a file outside the configuration directory.
    if (platform::IsSymbolicLink(path) && !platform::RemoveSymbolicLink(path))
        return kWriteCannotOpen;
    // An earlier build left the file read-only; clear that so it can be replaced.
    if (platform::FileExists(path)) platform::SetFileAttributes(path, platform::kAttrArchive);
    platform::OutputFile file;
    if (!file.Open(path, /*textMode=*/true, /*append=*/false)) return kWriteCannotOpen;
    bool written = file.Write(text);
    bool closed = file.Close();
    if (!written || !closed) return kWriteFailed;
    if (!platform::SetFileAttributes(path, attributes)) return kWriteFailed;
    return kWriteOk;
}

std::optional<std::string> ReadTextFile(const std::string& path) {
    if (GetFileState(path) != FileState::File) return std::nullopt;
    auto content = platform::ReadFile(path, /*textMode=*/true);
    if (!content) return std::nullopt;
    if (!content->empty() && content->back() != '\n') content->push_back('\n');
    return content;
}

bool AppendToExistingFile(const std::string& path, const std::string& text) {
    if (GetFileState(path) != FileState::File) return false;
    platform::OutputFile file;
    if (!file.Open(path, /*textMode=*/true, /*append=*/true)) return false;
    bool written = file.Write(text);
    return file.Close() && written;
}

bool CreateDirectoryChain(const std::string& path) {
    if (path.empty()) return false;
    if (platform::IsDirectory(path)) return true;
    // Strip trailing separators before looking for the parent.
    if (IsPathSeparator(path.back())) return CreateDirectoryChain(path.substr(0, path.size() - 1));
    if (!DirectoryPart(path).empty()) {
        std::string parent(DirectoryPart(path));
        bool driveRoot = parent.size() == 2 && parent[1] == ':';
        if (!driveRoot && !platform::IsDirectory(parent)) CreateDirectoryChain(parent);
    }
    return platform::CreateDirectory(path) && platform::IsDirectory(path);
}

} // namespace quorle::phases
