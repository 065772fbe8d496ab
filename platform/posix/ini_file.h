// A private-profile (INI) file held as lines, read and changed by the rules
// of the Windows profile calls: section and key names compared without regard
// to case, names and values trimmed, the first match wins.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quorle::platform::posix {

class IniFile {
  public:
    // A missing or unreadable file gives an empty one.
    static IniFile Load(const std::string& nativePath);
    bool Save(const std::string& nativePath) const; // CR LF line ends

    bool HasSection(const std::string& section) const;
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;
    // Adds the section and the key where missing.
    void Set(const std::string& section, const std::string& key, const std::string& value);
    void AddSection(const std::string& section);

  private:
    // Index of the section's header line, or npos.
    size_t FindSection(const std::string& section) const;
    // Index one past the section's last line.
    size_t SectionEnd(size_t header) const;

    std::vector<std::string> lines_;
};

} // namespace quorle::platform::posix
