#include "sections/layout_text.h"

#include <climits>

#include "options/option_string.h"
#include "sections/layout_tree.h"

namespace quorle::sections {
namespace {

// Splits at every "|", keeping empty fields; the empty remainder after a
// final "|" is not a field.
std::vector<std::string_view> SplitFields(std::string_view text) {
    std::vector<std::string_view> fields;
    size_t start = 0;
    while (start < text.size()) {
        size_t bar = text.find('|', start);
        if (bar == std::string_view::npos) {
            fields.push_back(text.substr(start));
            break;
        }
        fields.push_back(text.substr(start, bar - start));
        start = bar + 1;
    }
    return fields;
}

int ReadInt(std::string_view field) {
    return static_cast<int>(options::ParseDecimal(field, INT_MIN, INT_MAX));
}

bool IsFlagField(std::string_view field) {
    return field == "0" || field == "1";
}

void AppendField(std::string& text, std::string_view field) {
    text += field;
    text += '|';
}

void AppendGroupText(std::string& text, const SectionGroup& group) {
    AppendField(text, group.name);
    AppendField(text, std::to_string(group.colour));
    AppendField(text, std::to_string(group.loadKind));
    AppendField(text, group.loadAddress);
    AppendField(text, std::to_string(group.placement));
    AppendField(text, group.placementText);
    AppendField(text, group.noLoad ? "1" : "0");
    AppendField(text, group.keep ? "1" : "0");
    for (const ContentItem& item : group.contents) {
        AppendField(text, std::to_string(item.kind));
        AppendField(text, item.text);
        if (item.kind == kItemSection)
            for (const std::string& file : item.files) AppendField(text, file);
        AppendField(text, kFilesEnd);
    }
    AppendField(text, kContentsEnd);
    AppendField(text, kGroupEnd);
    for (const SectionGroup& child : group.children) AppendGroupText(text, child);
}

class FieldReader {
  public:
    explicit FieldReader(std::string_view text) : fields_(SplitFields(text)) {}
    // True while a field remains that does not end the text.
    bool More() const { return pos_ < fields_.size() && fields_[pos_] != "\n"; }
    bool Has(size_t ahead) const {
        for (size_t i = 0; i <= ahead; ++i)
            if (pos_ + i >= fields_.size() || fields_[pos_ + i] == "\n") return false;
        return true;
    }
    std::string_view Peek(size_t ahead = 0) const { return fields_[pos_ + ahead]; }
    std::string_view Take() { return fields_[pos_++]; }

  private:
    std::vector<std::string_view> fields_;
    size_t pos_ = 0;
};

// Reads one group; false when the fields end inside it.
bool ReadGroup(FieldReader& in, SectionGroup& group) {
    if (!in.Has(6)) return false;
    group.name = in.Take();
    group.colour = ReadInt(in.Take());
    group.loadKind = ReadInt(in.Take());
    group.loadAddress = in.Take();
    group.placement = ReadInt(in.Take());
    group.placementText = in.Take();
    group.noLoad = ReadInt(in.Take()) != 0;
    // Older texts have no keep field: a flag is the keep field only when the
    // field after it cannot begin a content item.
    if (in.Has(1) && IsFlagField(in.Peek()) &&
        (in.Peek(1).substr(0, 2) == "<<" || IsFlagField(in.Peek(1)))) {
        group.keep = in.Take() == "1";
    }
    for (;;) {
        if (!in.More()) return false;
        std::string_view field = in.Take();
        if (field == kContentsEnd) break;
        if (!in.More()) return false;
        ContentItem item;
        item.kind = ReadInt(field);
        item.text = in.Take();
        for (;;) {
            if (!in.More()) return false;
            std::string_view file = in.Take();
            if (file == kFilesEnd) break;
            if (item.kind == kItemSection) item.files.emplace_back(file);
        }
        group.contents.push_back(std::move(item));
    }
    if (!in.More()) return false;
    // The group marker closes the group; anything else in its place is read
    // as the start of the next group, as the marker is not checked.
    if (in.Peek() == kGroupEnd) in.Take();
    return true;
}

} // namespace

std::string RegionsToText(const std::vector<MemoryRegion>& regions) {
    if (regions.empty()) return {};
    std::string text;
    for (const MemoryRegion& region : regions) {
        AppendField(text, region.name);
        AppendField(text, std::to_string(region.colour));
        AppendField(text, region.start);
        AppendField(text, region.end);
    }
    text += '*';
    return text;
}

void RegionsFromText(std::string_view text, std::vector<MemoryRegion>& regions) {
    std::vector<std::string_view> fields = SplitFields(text);
    for (size_t i = 0; i + 3 < fields.size() && fields[i] != "*"; i += 4) {
        MemoryRegion region;
        region.name = fields[i];
        region.colour = ReadInt(fields[i + 1]);
        region.start = fields[i + 2];
        region.end = fields[i + 3];
        regions.push_back(std::move(region));
    }
}

std::string GroupsToText(const std::vector<SectionGroup>& groups) {
    std::string text;
    for (const SectionGroup& group : groups) AppendGroupText(text, group);
    return text;
}

bool GroupsFromText(std::string_view text, std::vector<SectionGroup>& groups) {
    FieldReader in(text);
    while (in.More()) {
        SectionGroup group;
        if (!ReadGroup(in, group)) return false;
        if (group.placement == kAtLabel) {
            if (SectionGroup* holder = FindGroupHoldingLabel(groups, group.placementText))
                holder->children.push_back(std::move(group));
        } else {
            groups.push_back(std::move(group));
        }
    }
    return true;
}

} // namespace quorle::sections
