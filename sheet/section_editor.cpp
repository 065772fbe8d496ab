#include "sheet/section_editor.h"

#include <algorithm>

#include "sections/layout_checks.h"
#include "sections/layout_tree.h"
#include "sheet/layout_walk.h"
#include "sheet/messages.h"

namespace quorle::sheet {

using namespace sections;

namespace {

constexpr const char* kPlacementWords[] = {"follow", "address", "label", "region"};
constexpr const char* kEndOfList = "End of group list";

EditResult Refuse(std::string message) {
    std::string caption = message.rfind("ERROR", 0) == 0 ? kCaptionError : kCaptionWarning;
    return {EditResult::Refused, std::move(message), std::move(caption), {}, {}};
}

} // namespace

std::optional<int> PlacementOf(const std::string& word) {
    for (int i = 0; i < 4; ++i)
        if (word == kPlacementWords[i]) return i;
    return std::nullopt;
}

const char* PlacementWord(int placement) {
    return placement >= 0 && placement < 4 ? kPlacementWords[placement] : "";
}

CSectionEditor::~CSectionEditor() {
    Clear();
}

void CSectionEditor::Clear() {
    DestroyGroups(layout_.groups);
    layout_.regions.clear();
}

void CSectionEditor::Load(const SectionLayout& layout) {
    Clear();
    layout_.regions = layout.regions;
    layout_.groups = CopyGroups(layout.groups);
    changed_ = false;
}

SectionLayout CSectionEditor::Copy() const {
    SectionLayout copy;
    copy.regions = layout_.regions;
    copy.groups = CopyGroups(layout_.groups);
    return copy;
}

EditResult CSectionEditor::Place(SectionGroup group) {
    if (group.placement == kAtLabel) {
        SectionGroup* holder = FindLabelHolder(layout_.groups, group.placementText);
        if (holder == nullptr)
            return EditResult::Bad("no group holds the label " + group.placementText);
        group.colour = holder->colour;
        holder->children.push_back(std::move(group));
        return EditResult::Ok();
    }
    if (group.placement == kInRegion &&
        std::none_of(layout_.regions.begin(), layout_.regions.end(),
                     [&](const MemoryRegion& r) { return r.name == group.placementText; }))
        return EditResult::Bad("no memory region named " + group.placementText);
    sections::GroupAdd added = sections::AddGroup(layout_, std::move(group), toolchain_);
    if (!added.added) return EditResult::Bad("the group could not be placed");
    EditResult result = EditResult::Ok();
    if (!added.messages.empty()) {
        result.notice = std::move(added.messages.front().text);
        result.noticeCaption = kCaptionWarning;
    }
    return result;
}

EditResult CSectionEditor::AddGroup(const std::string& name, const std::string& placementWord,
                                    const std::string& text) {
    auto placement = PlacementOf(placementWord);
    if (!placement) return EditResult::Bad("unknown placement " + placementWord);
    std::vector<SectionGroup> flat = FlatGroups(layout_.groups);
    std::string message = CheckGroupName(flat, name);
    if (message.empty()) message = CheckGroupPlacement(layout_.groups, name, *placement, text);
    if (!message.empty()) return Refuse(message);
    SectionGroup group;
    group.name = name;
    group.colour = 0;
    group.placement = *placement;
    group.placementText = *placement == kFollowOn && text == kEndOfList ? std::string() : text;
    if (*placement == kFollowOn && !group.placementText.empty() &&
        std::none_of(layout_.groups.begin(), layout_.groups.end(),
                     [&](const SectionGroup& g) { return g.name == group.placementText; }))
        return EditResult::Bad("no top-level group named " + group.placementText);
    EditResult placed = Place(std::move(group));
    if (placed.kind == EditResult::Done) changed_ = true;
    return placed;
}

EditResult CSectionEditor::ModifyGroup(const std::string& name, const std::string& newName,
                                       const std::string& placementWord, const std::string& text) {
    auto placement = PlacementOf(placementWord);
    if (!placement) return EditResult::Bad("unknown placement " + placementWord);
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    std::vector<SectionGroup> flat = FlatGroups(layout_.groups);
    std::string message = CheckGroupName(flat, newName, name);
    if (message.empty()) {
        // The group's own placement does not overlap itself.
        std::vector<SectionGroup> others;
        for (const SectionGroup& g : layout_.groups)
            if (g.name != name) others.push_back(FieldsOnly(g));
        message = CheckGroupPlacement(others, newName, *placement, text);
    }
    if (!message.empty()) return Refuse(message);
    SectionGroup& group = place->Group();
    const std::string newText =
        *placement == kFollowOn && text == kEndOfList ? std::string() : text;
    if (group.placement == *placement && group.placementText == newText) {
        group.name = newName;
        changed_ = true;
        return EditResult::Ok();
    }
    if (*placement == kInRegion &&
        std::none_of(layout_.regions.begin(), layout_.regions.end(),
                     [&](const MemoryRegion& r) { return r.name == newText; }))
        return EditResult::Bad("no memory region named " + newText);
    // A new place: take the group (with its children) out and place it again.
    std::vector<SectionGroup>* list = place->list;
    const size_t index = place->index;
    SectionGroup moved = std::move(group);
    list->erase(list->begin() + static_cast<long>(index));
    const bool placeable =
        *placement != kAtLabel || FindLabelHolder(layout_.groups, newText) != nullptr;
    if (!placeable) {
        // Its own labels went out with it: a group cannot sit inside itself.
        list->insert(list->begin() + static_cast<long>(index), std::move(moved));
        return EditResult::Bad("no other group holds the label " + newText);
    }
    moved.name = newName;
    moved.placement = *placement;
    moved.placementText = newText;
    EditResult placed = Place(std::move(moved));
    changed_ = true;
    return placed;
}

EditResult CSectionEditor::RemoveGroup(const std::string& name) {
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    std::vector<SectionGroup> removed;
    removed.push_back(std::move(place->Group()));
    place->list->erase(place->list->begin() + static_cast<long>(place->index));
    DestroyGroups(removed);
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::Advanced(const std::string& name, bool noLoad, bool keep,
                                    bool garbageCollection, const std::string& loadKind,
                                    const std::string& loadAddress) {
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    SectionGroup& group = place->Group();
    int kind = loadKind == "none"      ? kLoadNone
               : loadKind == "address" ? kLoadFixed
               : loadKind == "label"   ? kLoadLabel
                                       : -1;
    if (kind < 0) return EditResult::Bad("unknown map address kind " + loadKind);
    KeepState state = OnNoLoadChanged(noLoad, group.keep, garbageCollection);
    EditResult result = EditResult::Ok();
    // `keep` as the group has it means "left alone"; a change needs the box
    // enabled.
    bool newKeep = state.keep;
    if (keep != group.keep) {
        if (!state.keepEnabled)
            return EditResult::Bad("KEEP can be changed only with garbage collection on");
        newKeep = keep;
    }
    group.noLoad = noLoad;
    group.keep = newKeep;
    group.loadKind = kind;
    group.loadAddress = kind == kLoadNone ? std::string() : loadAddress;
    changed_ = true;
    return result;
}

EditResult CSectionEditor::AddLabel(const std::string& name, const std::string& typed,
                                    bool freeText) {
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    std::string message = CheckLabel(FlatGroups(layout_.groups), typed, freeText);
    if (!message.empty()) return Refuse(message);
    place->Group().contents.push_back(LabelItem(StoredLabel(typed, freeText)));
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::ModifyLabel(const std::string& name, const std::string& label,
                                       const std::string& typed, bool freeText) {
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    auto& contents = place->Group().contents;
    auto item = std::find_if(contents.begin(), contents.end(), [&](const ContentItem& i) {
        return i.kind == kItemLabel && i.text == label;
    });
    if (item == contents.end()) return EditResult::Bad("no label " + label + " in " + name);
    std::vector<SectionGroup> flat = FlatGroups(layout_.groups);
    std::string message = CheckLabelUnreferenced(flat, label, true);
    if (message.empty()) message = CheckLabel(flat, typed, freeText);
    if (!message.empty()) return Refuse(message);
    item->text = StoredLabel(typed, freeText);
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::RemoveLabel(const std::string& name, const std::string& label) {
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    auto& contents = place->Group().contents;
    auto item = std::find_if(contents.begin(), contents.end(), [&](const ContentItem& i) {
        return i.kind == kItemLabel && i.text == label;
    });
    if (item == contents.end()) return EditResult::Bad("no label " + label + " in " + name);
    std::string message = CheckLabelUnreferenced(FlatGroups(layout_.groups), label, false);
    if (!message.empty()) return Refuse(message);
    contents.erase(item);
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::AddSection(const std::string& name, const std::string& section,
                                      const std::vector<std::string>& files) {
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    const bool allSections = section == kAllSections;
    const bool allFiles = files.size() == 1 && files.front() == kAllFiles;
    std::string message = CheckSectionEntry(allSections, section, allFiles, files);
    if (!message.empty()) return Refuse(message);
    place->Group().contents.push_back(
        SectionItem(std::string(allSections ? kAllSections : std::string_view(section)),
                    allFiles ? std::vector<std::string>{std::string(kAllFiles)} : files));
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::RemoveItem(const std::string& name, int position) {
    auto place = FindGroupNamed(layout_.groups, name);
    if (!place) return EditResult::Bad("no group named " + name);
    auto& contents = place->Group().contents;
    std::string message = CheckSelection(position - 1);
    if (message.empty() && static_cast<size_t>(position) > contents.size())
        return EditResult::Bad("no item " + std::to_string(position) + " in " + name);
    if (!message.empty()) return Refuse(message);
    const ContentItem& item = contents[static_cast<size_t>(position - 1)];
    if (item.kind == kItemLabel) {
        message = CheckLabelUnreferenced(FlatGroups(layout_.groups), item.text, false);
        if (!message.empty()) return Refuse(message);
    }
    contents.erase(contents.begin() + (position - 1));
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::AddRegion(const std::string& name, const std::string& start,
                                     const std::string& end) {
    std::string message = CheckRegion(layout_.regions, name, start, end);
    if (!message.empty()) return Refuse(message);
    layout_.regions.push_back(MemoryRegion{name, -1, start, end});
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::ModifyRegion(const std::string& name, const std::string& newName,
                                        const std::string& start, const std::string& end) {
    auto it = std::find_if(layout_.regions.begin(), layout_.regions.end(),
                           [&](const MemoryRegion& r) { return r.name == name; });
    if (it == layout_.regions.end()) return EditResult::Bad("no memory region named " + name);
    int index = static_cast<int>(it - layout_.regions.begin());
    std::string message = CheckRegion(layout_.regions, newName, start, end, index);
    if (!message.empty()) return Refuse(message);
    it->name = newName;
    it->start = start;
    it->end = end;
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::RemoveRegion(const std::string& name) {
    auto it = std::find_if(layout_.regions.begin(), layout_.regions.end(),
                           [&](const MemoryRegion& r) { return r.name == name; });
    if (it == layout_.regions.end()) return EditResult::Bad("no memory region named " + name);
    layout_.regions.erase(it);
    changed_ = true;
    return EditResult::Ok();
}

EditResult CSectionEditor::SetStart(const std::string& name, const std::string& address) {
    auto it = std::find_if(layout_.groups.begin(), layout_.groups.end(),
                           [&](const SectionGroup& g) { return g.name == name; });
    if (it == layout_.groups.end()) return EditResult::Bad("no top-level group named " + name);
    return ModifyGroup(name, name, "address", address);
}

void CSectionEditor::RestoreDefaults() {
    Clear();
    layout_.groups = DefaultGroups();
    changed_ = true;
}

std::vector<GroupRow> CSectionEditor::GroupRows() {
    std::vector<GroupRow> rows;
    ForEachGroupPlace(layout_.groups, [&rows](const GroupPlace& place) {
        const SectionGroup& g = place.Group();
        rows.push_back(
            {place.depth, g.name + "|" + PlacementWord(g.placement) + "|" + g.placementText});
        return true;
    });
    return rows;
}

std::vector<std::string> CSectionEditor::RegionRows() const {
    std::vector<std::string> rows;
    for (const MemoryRegion& r : layout_.regions)
        rows.push_back(r.name + "|" + r.start + "|" + r.end);
    return rows;
}

std::vector<std::string> CSectionEditor::StartRows() const {
    std::vector<std::string> rows;
    for (const SectionGroup& g : layout_.groups)
        if (g.placement == kFixedAddress) rows.push_back(g.name + "=" + g.placementText);
    return rows;
}

} // namespace quorle::sheet
