#include "platform/posix/ini_file.h"

#include "core/ascii_text.h"
#include "platform/platform.h"

namespace quorle::platform::posix {
namespace {

std::string Trim(const std::string& text) {
    size_t begin = 0, end = text.size();
    while (begin < end && core::IsAsciiSpace(text[begin])) ++begin;
    while (end > begin && core::IsAsciiSpace(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

bool SameName(const std::string& a, const std::string& b) {
    return core::EqualsIgnoringCase(a, b);
}

// The name of a "[name]" line, or nothing for other lines.
std::optional<std::string> HeaderName(const std::string& line) {
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != '[') return std::nullopt;
    // The last bracket closes the name, so names may hold "]" themselves.
    size_t close = trimmed.rfind(']');
    if (close == std::string::npos) return std::nullopt;
    return Trim(trimmed.substr(1, close - 1));
}

// Key of a "key=value" line.
std::optional<std::string> KeyName(const std::string& line) {
    size_t eq = line.find('=');
    if (eq == std::string::npos) return std::nullopt;
    return Trim(line.substr(0, eq));
}

std::string Value(const std::string& line) {
    std::string value = Trim(line.substr(line.find('=') + 1));
    // Windows drops one pair of matching quotes around a value.
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        value = value.substr(1, value.size() - 2);
    return value;
}

} // namespace

IniFile IniFile::Load(const std::string& nativePath) {
    IniFile ini;
    auto text = ReadFile(nativePath, true);
    if (!text) return ini;
    size_t start = 0;
    while (start < text->size()) {
        size_t lf = text->find('\n', start);
        if (lf == std::string::npos) lf = text->size();
        std::string line = text->substr(start, lf - start);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        ini.lines_.push_back(line);
        start = lf + 1;
    }
    return ini;
}

bool IniFile::Save(const std::string& nativePath) const {
    std::string text;
    for (const auto& line : lines_) text += line + "\n";
    return WriteFile(nativePath, text, true);
}

size_t IniFile::FindSection(const std::string& section) const {
    for (size_t i = 0; i < lines_.size(); ++i) {
        auto name = HeaderName(lines_[i]);
        if (name && SameName(*name, Trim(section))) return i;
    }
    return std::string::npos;
}

size_t IniFile::SectionEnd(size_t header) const {
    size_t i = header + 1;
    while (i < lines_.size() && !HeaderName(lines_[i])) ++i;
    return i;
}

bool IniFile::HasSection(const std::string& section) const {
    return FindSection(section) != std::string::npos;
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
    size_t header = FindSection(section);
    if (header == std::string::npos) return std::nullopt;
    size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        auto name = KeyName(lines_[i]);
        if (name && SameName(*name, Trim(key))) return Value(lines_[i]);
    }
    return std::nullopt;
}

void IniFile::AddSection(const std::string& section) {
    if (HasSection(section)) return;
    lines_.push_back("[" + section + "]");
}

void IniFile::Set(const std::string& section, const std::string& key, const std::string& value) {
    std::string line = key + "=" + value;
    AddSection(section);
    size_t header = FindSection(section);
    size_t end = SectionEnd(header);
    for (size_t i = header + 1; i < end; ++i) {
        auto name = KeyName(lines_[i]);
        if (name && SameName(*name, Trim(key))) {
            lines_[i] = line;
            return;
        }
    }
    // After the section's last entry, before the blank lines that part it
    // from the next section.
    size_t insert = end;
    while (insert > header + 1 && Trim(lines_[insert - 1]).empty()) --insert;
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(insert), line);
}

} // namespace quorle::platform::posix
