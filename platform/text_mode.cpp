#include "platform/text_mode.h"

#include "platform/platform.h"

namespace quorle::platform {

std::string FoldCrLf(const std::string& bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
        text.push_back(bytes[i]);
    }
    return text;
}

// Whole-file writes go through OutputFile, so both platforms share one
// line-end rule and one failure rule.
bool WriteFile(const std::string& path, const std::string& content, bool textMode, bool append) {
    OutputFile file;
    if (!file.Open(path, textMode, append)) return false;
    bool written = file.Write(content);
    return file.Close() && written;
}

} // namespace quorle::platform
