// The section layout of a link: named memory regions and the section groups
// that become the output sections of the generated GNU ld script.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quorle::sections {

inline constexpr std::string_view kAllSections = "All-sections";
inline constexpr std::string_view kAllFiles = "All-files";
// Free-text label expressions keep their blanks in this form, because the
// stored layout text must not contain whitespace.
inline constexpr std::string_view kStoredBlank = "____";

struct MemoryRegion {
    std::string name;
    int colour = -1;
    std::string start; // hexadecimal text, "0x" accepted
    std::string end;   // last byte of the region

    bool operator==(const MemoryRegion&) const = default;
};

enum ItemKind : int { kItemSection = 0, kItemLabel = 1 };

struct ContentItem {
    int kind = kItemSection;
    std::string text;               // section name (or "All-sections") or label
    std::vector<std::string> files; // section entries only; "All-files" for every file

    bool operator==(const ContentItem&) const = default;
};

enum LoadAddressKind : int { kLoadNone = 0, kLoadFixed = 1, kLoadLabel = 2 };
enum Placement : int { kFollowOn = 0, kFixedAddress = 1, kAtLabel = 2, kInRegion = 3 };

struct SectionGroup {
    std::string name;
    int colour = -1;
    int loadKind = kLoadNone;
    std::string loadAddress;
    int placement = kFollowOn;
    std::string placementText; // address, label or region name by placement
    bool noLoad = false;
    bool keep = false;
    std::vector<ContentItem> contents;
    std::vector<SectionGroup> children; // groups placed at labels this group defines

    // A stored layout may chain groups 100,000 deep, so copying, comparing
    // and destroying walk the tree with a work list instead of recursing.
    SectionGroup() = default;
    SectionGroup(const SectionGroup& other);
    SectionGroup(SectionGroup&&) noexcept = default;
    SectionGroup& operator=(const SectionGroup& other);
    SectionGroup& operator=(SectionGroup&&) noexcept = default;
    ~SectionGroup();

    // Every field and the whole child tree.
    bool operator==(const SectionGroup& other) const;
    // Every field but the children.
    bool SameFields(const SectionGroup& other) const;
};

// Every field but the children, copied from an lvalue, moved from an rvalue.
template <class Group> void AssignFields(SectionGroup& to, Group&& from) {
    to.name = std::forward<Group>(from).name;
    to.colour = from.colour;
    to.loadKind = from.loadKind;
    to.loadAddress = std::forward<Group>(from).loadAddress;
    to.placement = from.placement;
    to.placementText = std::forward<Group>(from).placementText;
    to.noLoad = from.noLoad;
    to.keep = from.keep;
    to.contents = std::forward<Group>(from).contents;
}

// Calls fn(group, depth) for each group of the list and its children in
// pre-order (a group, then its children, each followed by its own), without
// recursion; depth 0 is the list itself. fn returns false to stop the walk.
template <class Fn> void ForEachGroup(std::vector<SectionGroup>& groups, Fn&& fn) {
    struct Level {
        std::vector<SectionGroup>* list;
        size_t next;
    };
    std::vector<Level> stack{{&groups, 0}};
    while (!stack.empty()) {
        Level& top = stack.back();
        if (top.next == top.list->size()) {
            stack.pop_back();
            continue;
        }
        SectionGroup& group = (*top.list)[top.next++];
        size_t depth = stack.size() - 1;
        if (!fn(group, depth)) return;
        if (!group.children.empty()) stack.push_back({&group.children, 0});
    }
}
template <class Fn> void ForEachGroup(const std::vector<SectionGroup>& groups, Fn&& fn) {
    // The walk itself changes nothing; fn sees each group as const.
    ForEachGroup(const_cast<std::vector<SectionGroup>&>(groups),
                 [&fn](SectionGroup& group, size_t depth) {
                     return fn(static_cast<const SectionGroup&>(group), depth);
                 });
}

struct SectionLayout {
    std::vector<MemoryRegion> regions;
    std::vector<SectionGroup> groups;

    bool operator==(const SectionLayout&) const = default;
};

// Convenience constructors for content items.
ContentItem LabelItem(std::string label);
ContentItem SectionItem(std::string section, std::vector<std::string> files);

// Hexadecimal address text with an optional "0x" prefix and nothing else;
// nothing when the text is not such a number or does not fit 64 bits.
std::optional<uint64_t> ParseRegionAddress(std::string_view text);

} // namespace quorle::sections
