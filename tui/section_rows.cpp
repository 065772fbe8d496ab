#include "tui/section_rows.h"

#include <sstream>

#include "tui/labels.h"

namespace quorle::tui {
namespace {

std::vector<std::string> Split(const std::string& row, char by) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        size_t end = row.find(by, start);
        parts.push_back(row.substr(start, end == std::string::npos ? end : end - start));
        if (end == std::string::npos) return parts;
        start = end + 1;
    }
}

std::string Trim(const std::string& text) {
    size_t first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

} // namespace

SectionList SectionListOf(const sheet::ControlDef& def) {
    if (def.kind != sheet::ControlKind::List) return SectionList::None;
    if (def.key == "GROUPDET") return SectionList::Groups;
    if (def.key == "MEMDET") return SectionList::Regions;
    if (def.key.empty() && PlainText(def.label) == "Section start addresses")
        return SectionList::Starts;
    return SectionList::None;
}

std::optional<RegionFields> ParseRegionRow(const std::string& row) {
    std::vector<std::string> parts = Split(row, '|');
    if (parts.size() != 3 || parts[0].empty()) return std::nullopt;
    return RegionFields{parts[0], parts[1], parts[2]};
}

std::optional<GroupFields> ParseGroupRow(const std::string& row) {
    size_t blanks = row.find_first_not_of(' ');
    if (blanks == std::string::npos) return std::nullopt;
    // The text after the placement may hold a bar of its own.
    std::vector<std::string> parts = Split(row.substr(blanks), '|');
    if (parts.size() < 3 || parts[0].empty()) return std::nullopt;
    std::string text = parts[2];
    for (size_t i = 3; i < parts.size(); ++i) text += "|" + parts[i];
    return GroupFields{static_cast<int>(blanks / 2), parts[0], parts[1], text};
}

std::optional<std::pair<std::string, std::string>> ParseStartRow(const std::string& row) {
    size_t eq = row.find('=');
    if (eq == std::string::npos) return std::nullopt;
    std::string group = Trim(row.substr(0, eq));
    std::string address = Trim(row.substr(eq + 1));
    if (group.empty() || address.empty()) return std::nullopt;
    return std::make_pair(group, address);
}

const std::vector<std::string>& PlacementWords() {
    static const std::vector<std::string> words{"follow", "address", "label", "region"};
    return words;
}

const std::vector<std::string>& PlacementNames() {
    static const std::vector<std::string> names{"After another group", "At a fixed address",
                                                "At a label of another group",
                                                "In a memory region"};
    return names;
}

std::string PlacementPrompt(const std::string& word) {
    if (word == "follow") return "Group it follows (empty: the end of the group list):";
    if (word == "address") return "Start address (hexadecimal):";
    if (word == "label") return "Label it starts at:";
    return "Memory region:";
}

std::vector<std::string> FileWords(const std::string& typed) {
    std::vector<std::string> words;
    std::istringstream in(typed);
    for (std::string w; in >> w;) words.push_back(w);
    if (words.empty()) words.push_back("All-files");
    return words;
}

} // namespace quorle::tui
