#include "sections/layout_text.h"

#include <climits>
#include <unordered_map>

#include "options/option_string.h"

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

// A field made of double quotes only is never taken for a quoted field.
bool AllQuotes(std::string_view field) {
    return !field.empty() && field.find_first_not_of('"') == std::string_view::npos;
}

// A field the stored text holds in double quotes: one with a blank, which
// would end the option token, one the reader would take for the region
// list's end, or one that itself stands in quotes.
bool NeedsQuotes(std::string_view field) {
    return field.find_first_of(" \t\r\n") != std::string_view::npos || field == "*" ||
           (field.size() >= 2 && field.front() == '"' && field.back() == '"' &&
            !AllQuotes(field));
}

// The field as the option token stores it: every double quote and "]"
// inside written twice (reading the token undoes that, and the quotes stay
// balanced), the whole in single quotes where NeedsQuotes says so.
void AppendField(std::string& text, std::string_view field) {
    bool quoted = NeedsQuotes(field);
    if (quoted) text += '"';
    for (char c : field) {
        text += c;
        if (c == '"' || c == ']') text += c;
    }
    if (quoted) text += '"';
    text += '|';
}

// The text of a field read from the token's unescaped value: enclosing
// quotes removed.
std::string FieldText(std::string_view field) {
    if (field.size() >= 2 && field.front() == '"' && field.back() == '"' && !AllQuotes(field))
        field = field.substr(1, field.size() - 2);
    return std::string(field);
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
    group.name = FieldText(in.Take());
    group.colour = ReadInt(in.Take());
    group.loadKind = ReadInt(in.Take());
    group.loadAddress = FieldText(in.Take());
    group.placement = ReadInt(in.Take());
    group.placementText = FieldText(in.Take());
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
        // Any kind but a label is a section entry, as the script writer
        // treats it; stored as such it reads back the same.
        item.kind = ReadInt(field) == kItemLabel ? kItemLabel : kItemSection;
        item.text = FieldText(in.Take());
        for (;;) {
            if (!in.More()) return false;
            std::string_view file = in.Take();
            if (file == kFilesEnd) break;
            if (item.kind == kItemSection) item.files.push_back(FieldText(file));
        }
        group.contents.push_back(std::move(item));
    }
    if (!in.More()) return false;
    // The group marker closes the group; anything else in its place is read
    // as the start of the next group, as the marker is not checked.
    if (in.Peek() == kGroupEnd) in.Take();
    return true;
}

// The group tree while a stored text is read: flat, with an index from each
// label to the group a placement at that label joins, so that each group
// costs one lookup however deep the chains grow. The holder of a label is
// the first top-level group holding it, else the first child group holding
// it in pre-order, as a search of the finished tree would find.
class GroupForest {
  public:
    // Takes over the groups already in the list.
    explicit GroupForest(std::vector<SectionGroup>& groups) {
        std::vector<int> lastAtDepth;
        ForEachGroup(groups, [&](SectionGroup& group, size_t depth) {
            SectionGroup fields;
            AssignFields(fields, std::move(group));
            lastAtDepth.resize(depth + 1);
            lastAtDepth[depth] = depth == 0 ? AddTop(std::move(fields))
                                            : AddChild(lastAtDepth[depth - 1], std::move(fields));
            return true;
        });
        groups.clear();
    }

    // A group at a label joins the group holding the label, or is dropped
    // when none does; any other group is appended to the top-level list.
    void Add(SectionGroup group) {
        if (group.placement != kAtLabel) {
            AddTop(std::move(group));
            return;
        }
        auto top = topHolder_.find(group.placementText);
        int holder = -1;
        if (top != topHolder_.end()) {
            holder = top->second;
        } else if (auto child = childHolder_.find(group.placementText);
                   child != childHolder_.end()) {
            holder = child->second;
        }
        if (holder >= 0) AddChild(holder, std::move(group));
    }

    // Builds the nested tree into `groups`, children before their parents.
    void MoveTo(std::vector<SectionGroup>& groups) {
        for (size_t i = nodes_.size(); i-- > 0;) {
            Node& node = nodes_[i];
            node.group.children.reserve(node.kids.size());
            for (int kid : node.kids)
                node.group.children.push_back(std::move(nodes_[static_cast<size_t>(kid)].group));
        }
        groups.reserve(groups.size() + tops_.size());
        for (int top : tops_) groups.push_back(std::move(nodes_[static_cast<size_t>(top)].group));
        nodes_.clear();
    }

  private:
    struct Node {
        SectionGroup group; // without children until MoveTo
        int parent = -1;
        int depth = 0;
        int root = 0;  // position of its top-level group
        size_t pos = 0; // position among its parent's children (or the tops)
        std::vector<int> kids;
    };

    int AddTop(SectionGroup group) {
        int id = static_cast<int>(nodes_.size());
        Node node;
        node.root = static_cast<int>(tops_.size());
        node.pos = tops_.size();
        node.group = std::move(group);
        node.group.children.clear();
        nodes_.push_back(std::move(node));
        tops_.push_back(id);
        for (const ContentItem& item : nodes_.back().group.contents)
            if (item.kind == kItemLabel) topHolder_.emplace(item.text, id);
        return id;
    }

    int AddChild(int parent, SectionGroup group) {
        int id = static_cast<int>(nodes_.size());
        Node& up = nodes_[static_cast<size_t>(parent)];
        Node node;
        node.parent = parent;
        node.depth = up.depth + 1;
        node.root = up.root;
        node.pos = up.kids.size();
        up.kids.push_back(id);
        node.group = std::move(group);
        node.group.children.clear();
        nodes_.push_back(std::move(node));
        for (const ContentItem& item : nodes_.back().group.contents) {
            if (item.kind != kItemLabel) continue;
            auto [it, added] = childHolder_.emplace(item.text, id);
            if (!added && Precedes(id, it->second)) it->second = id;
        }
        return id;
    }

    // True when node a comes before node b in pre-order. Labels held twice in
    // one tree walk up to the nodes' common ancestor; all else is direct.
    bool Precedes(int a, int b) const {
        const Node* x = &nodes_[static_cast<size_t>(a)];
        const Node* y = &nodes_[static_cast<size_t>(b)];
        if (x->root != y->root) return x->root < y->root;
        while (x->depth > y->depth) x = &nodes_[static_cast<size_t>(x->parent)];
        if (x == y) return false; // b is an ancestor of a
        while (y->depth > x->depth) y = &nodes_[static_cast<size_t>(y->parent)];
        if (x == y) return true; // a is an ancestor of b
        while (x->parent != y->parent) {
            x = &nodes_[static_cast<size_t>(x->parent)];
            y = &nodes_[static_cast<size_t>(y->parent)];
        }
        return x->pos < y->pos;
    }

    std::vector<Node> nodes_;
    std::vector<int> tops_;
    std::unordered_map<std::string, int> topHolder_;
    std::unordered_map<std::string, int> childHolder_;
};

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
        region.name = FieldText(fields[i]);
        region.colour = ReadInt(fields[i + 1]);
        region.start = FieldText(fields[i + 2]);
        region.end = FieldText(fields[i + 3]);
        regions.push_back(std::move(region));
    }
}

std::string GroupsToText(const std::vector<SectionGroup>& groups) {
    std::string text;
    ForEachGroup(groups, [&text](const SectionGroup& group, size_t) {
        AppendGroupText(text, group);
        return true;
    });
    return text;
}

bool GroupsFromText(std::string_view text, std::vector<SectionGroup>& groups) {
    GroupForest forest(groups);
    FieldReader in(text);
    bool complete = true;
    while (in.More()) {
        SectionGroup group;
        if (!ReadGroup(in, group)) {
            complete = false;
            break;
        }
        forest.Add(std::move(group));
    }
    forest.MoveTo(groups);
    return complete;
}

} // namespace quorle::sections
