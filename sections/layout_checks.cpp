#include "sections/layout_checks.h"

#include <algorithm>

#include "resources/string_table.h"
#include "sections/layout_tree.h"

namespace quorle::sections {
namespace {

bool HasBlank(std::string_view text) {
    return text.find_first_of(" \t") != std::string_view::npos;
}

bool LabelDefined(const std::vector<SectionGroup>& groups, std::string_view label) {
    return FindGroupHoldingLabel(groups, label) != nullptr;
}

bool ReferencesLabel(const std::vector<SectionGroup>& groups, std::string_view label) {
    bool found = false;
    ForEachGroup(groups, [&](const SectionGroup& group, size_t) {
        found = (group.placement == kAtLabel && group.placementText == label) ||
                (group.loadKind == kLoadLabel && group.loadAddress == label);
        return !found;
    });
    return found;
}

// An address field the user left empty or at its "0x" prompt.
bool AddressMissing(std::string_view text) {
    return text.empty() || text == "0x" || text == "0X";
}

std::string StringOrEmpty(int id) {
    return LoadModuleString(id).value_or(std::string());
}

// The forms ld takes around a pattern in an input-section description.
constexpr std::string_view kSortForms[] = {"SORT", "SORT_BY_NAME", "SORT_BY_ALIGNMENT",
                                           "SORT_BY_INIT_PRIORITY", "SORT_NONE"};
// Words ld reads as keywords there, so not as a section name.
constexpr std::string_view kInputSectionKeywords[] = {"KEEP", "EXCLUDE_FILE", "INPUT_SECTION_FLAGS",
                                                      "REVERSE"};

bool IsPatternCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
           std::string_view("_./\\$~-+:[]*?^!=,").find(c) != std::string_view::npos;
}

bool IsSectionPattern(std::string_view text) {
    if (text.empty() || !std::all_of(text.begin(), text.end(), IsPatternCharacter)) return false;
    auto same = [text](std::string_view word) { return word == text; };
    return std::none_of(std::begin(kSortForms), std::end(kSortForms), same) &&
           std::none_of(std::begin(kInputSectionKeywords), std::end(kInputSectionKeywords), same);
}

constexpr std::string_view kReadableForms =
    "Give an input-section name or wildcard pattern (such as .text.*), alone or inside "
    "SORT(), SORT_BY_NAME(), SORT_BY_ALIGNMENT(), SORT_BY_INIT_PRIORITY() or SORT_NONE().";

} // namespace

std::string CheckGroupName(const std::vector<SectionGroup>& groups, std::string_view name,
                           std::string_view currentName) {
    if (name.empty()) return "A name must be specified";
    if (name != currentName && FindGroupByName(groups, name))
        return "ERROR: Group name already defined";
    if (HasBlank(name)) return "Whitespace is not permitted in the group name";
    return {};
}

std::string CheckGroupPlacement(const std::vector<SectionGroup>& groups, std::string_view name,
                                int placement, std::string_view placementText) {
    if (placement != kFixedAddress) return {};
    if (placementText.empty()) return StringOrEmpty(2014);
    // Several groups may share a memory region or follow one another; only
    // two fixed addresses can collide.
    for (const SectionGroup& other : groups) {
        if (other.name != name && other.placement == kFixedAddress &&
            other.placementText == placementText) {
            return "Address overlapping found with section ' " + other.name +
                   " '\nPlease give some other address";
        }
    }
    return {};
}

std::string StoredLabel(std::string_view typed, bool allowFreeText) {
    if (!allowFreeText) return std::string(typed);
    std::string stored;
    for (char c : typed) {
        if (c == ' ' || c == '\t')
            stored += kStoredBlank;
        else
            stored += c;
    }
    return stored;
}

std::string CheckLabel(const std::vector<SectionGroup>& groups, std::string_view typed,
                       bool allowFreeText) {
    if (typed.empty()) return StringOrEmpty(2013);
    if (!allowFreeText && HasBlank(typed)) return "Whitespace is not permitted in the label name";
    if (LabelDefined(groups, StoredLabel(typed, allowFreeText)))
        return "ERROR: Label name already defined";
    return {};
}

std::string CheckSectionEntry(bool allSections, std::string_view section, bool allFiles,
                              const std::vector<std::string>& files) {
    if (allSections && allFiles) return "ERROR: \"All sections\" from \"All files\" is not allowed";
    if (!allFiles && std::all_of(files.begin(), files.end(),
                                 [](const std::string& file) { return file.empty(); }))
        return "ERROR: At least one file must be specified";
    if (!allSections && section.empty()) return "ERROR: You must specify a section name";
    if (!allSections && HasBlank(section)) return "Whitespace is not permitted in the section name";
    if (!allSections && !IsReadableSectionEntry(section)) return UnreadableSectionMessage(section);
    return {};
}

bool IsReadableSectionEntry(std::string_view section) {
    if (IsSectionPattern(section)) return true;
    size_t open = section.find('(');
    if (open == std::string_view::npos || section.back() != ')') return false;
    std::string_view form = section.substr(0, open);
    if (std::find(std::begin(kSortForms), std::end(kSortForms), form) == std::end(kSortForms))
        return false;
    return IsSectionPattern(section.substr(open + 1, section.size() - open - 2));
}

std::string UnreadableSectionMessage(std::string_view section) {
    std::string message = "ERROR: \"" + std::string(section) +
                          "\" is not a section name ld can read.\n" + std::string(kReadableForms);
    // The usual slip: KEEP written into the name instead of set on the group.
    if (section.find("KEEP") != std::string_view::npos)
        message += "\nKEEP is set for the whole group, in its Advanced settings.";
    return message;
}

std::string CheckLayoutSectionEntries(const std::vector<SectionGroup>& groups) {
    std::string entries;
    ForEachGroup(groups, [&entries](const SectionGroup& group, size_t) {
        for (const ContentItem& item : group.contents) {
            if (item.kind != kItemSection || item.text == kAllSections ||
                IsReadableSectionEntry(item.text))
                continue;
            entries += "\n  group " + group.name + ": \"" + item.text + "\"";
        }
        return true;
    });
    if (entries.empty()) return {};
    return "ERROR: The section layout holds section entries that ld cannot read, so no linker "
           "script is written and the link stops:" +
           entries + "\n" + std::string(kReadableForms);
}

std::string CheckLabelUnreferenced(const std::vector<SectionGroup>& groups, std::string_view label,
                                   bool modify) {
    if (!ReferencesLabel(groups, label)) return {};
    return modify ? "Label cannot be modified because\nit is referenced elsewhere"
                  : "Label cannot be removed because\nit is referenced elsewhere";
}

std::string CheckSelection(int selectedIndex) {
    return selectedIndex < 0 ? "Selection error; aborting" : std::string();
}

std::string CheckRegion(const std::vector<MemoryRegion>& regions, std::string_view name,
                        std::string_view start, std::string_view end, int ignoreIndex) {
    const std::string insufficient =
        "ERROR: Insuficient information has been\n  given to create a memory region";
    if (name.empty() || AddressMissing(start) || AddressMissing(end)) return insufficient;
    // An address that is no hexadecimal number gives the region no extent.
    std::optional<uint64_t> first = ParseRegionAddress(start);
    std::optional<uint64_t> last = ParseRegionAddress(end);
    if (!first || !last) return insufficient;
    if (*last <= *first) return "ERROR: The end address must be higher than the start address";
    for (size_t i = 0; i < regions.size(); ++i) {
        if (static_cast<int>(i) != ignoreIndex && regions[i].name == name)
            return "ERROR: Region name already in use";
    }
    for (size_t i = 0; i < regions.size(); ++i) {
        if (static_cast<int>(i) == ignoreIndex) continue;
        std::optional<uint64_t> otherFirst = ParseRegionAddress(regions[i].start);
        std::optional<uint64_t> otherLast = ParseRegionAddress(regions[i].end);
        if (!otherFirst || !otherLast) continue;
        if (*first <= *otherLast && *otherFirst <= *last)
            return "ERROR: The new memory region overlaps a region already defined";
    }
    return {};
}

KeepState OnNoLoadChanged(bool noLoad, bool keep, bool garbageCollection) {
    // GNU ld takes both on one output section, and under --gc-sections a
    // NOLOAD section (a stack) survives only with KEEP: NOLOAD leaves KEEP
    // as it is.
    (void)noLoad;
    KeepState state;
    state.keep = keep;
    state.keepEnabled = garbageCollection;
    return state;
}

} // namespace quorle::sections
