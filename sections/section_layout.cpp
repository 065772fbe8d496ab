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
        int digit = core::HexDigitValue(c);
        if (digit < 0) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(digit);
    }
    return value;
}

} // namespace quorle::sections

namespace quorle::sections {

SectionGroup::SectionGroup(const SectionGroup& other) {
    AssignFields(*this, other);
    std::vector<std::pair<SectionGroup*, const SectionGroup*>> work{{this, &other}};
    while (!work.empty()) {
        auto [to, from] = work.back();
        work.pop_back();
        to->children.resize(from->children.size());
        for (size_t i = 0; i < from->children.size(); ++i) {
            AssignFields(to->children[i], from->children[i]);
            work.emplace_back(&to->children[i], &from->children[i]);
        }
    }
}

SectionGroup& SectionGroup::operator=(const SectionGroup& other) {
    if (this != &other) *this = SectionGroup(other);
    return *this;
}

SectionGroup::~SectionGroup() {
    if (children.empty()) return;
    // Each group is taken apart before it is destroyed, so no destructor
    // below this one has children left to recurse into.
    std::vector<SectionGroup> pending = std::move(children);
    while (!pending.empty()) {
        std::vector<SectionGroup> grand = std::move(pending.back().children);
        pending.pop_back();
        if (pending.empty()) {
            pending = std::move(grand);
        } else {
            for (SectionGroup& group : grand) pending.push_back(std::move(group));
        }
    }
}

bool SectionGroup::SameFields(const SectionGroup& other) const {
    return name == other.name && colour == other.colour && loadKind == other.loadKind &&
           loadAddress == other.loadAddress && placement == other.placement &&
           placementText == other.placementText && noLoad == other.noLoad && keep == other.keep &&
           contents == other.contents;
}

bool SectionGroup::operator==(const SectionGroup& other) const {
    std::vector<std::pair<const SectionGroup*, const SectionGroup*>> work{{this, &other}};
    while (!work.empty()) {
        auto [a, b] = work.back();
        work.pop_back();
        if (!a->SameFields(*b) || a->children.size() != b->children.size()) return false;
        for (size_t i = 0; i < a->children.size(); ++i)
            work.emplace_back(&a->children[i], &b->children[i]);
    }
    return true;
}

} // namespace quorle::sections
