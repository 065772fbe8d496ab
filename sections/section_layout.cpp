#include "sections/section_layout.h"

#include "core/ascii_text.h"

namespace quorle::sections {

ContentItem LabelItem(std::string label) {
    return ContentItem{kItemLabel, std::move(label), {}};
}

ContentItem SectionItem(std::string section, std::vector<std::string> files) {
    return ContentItem{kItemSection, std::move(section), std::move(files)};
}

std::optional<uint64_t> ParseRegionAddress(std::string_view text) {
    if (text.size() >= 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X'))
        text.remove_prefix(2);
    if (text.empty() || text.size() > 16) return std::nullopt;
    uint64_t value = 0;
    for (char c : text) {
        int digit = options::HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return value;
}

} // namespace quorle::sections
