// The section editor behind the Group map, Memory and Start pages: the
// operations of their dialogs on a working copy of a section layout, with
// the dialogs' checks. An operation either changes the layout or gives the
// message its dialog shows and changes nothing (the dialog stays open).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "sections/section_layout.h"

namespace quorle::sheet {

struct EditResult {
    enum Kind { Done, Refused, BadArgument } kind = Done;
    std::string message;  // Refused: the dialog's message
    std::string caption;  // its caption
    std::string notice;   // Done: an information box to show as well (KEEP/NOLOAD)
    std::string noticeCaption;
    static EditResult Ok() { return {}; }
    static EditResult Bad(std::string why) { return {BadArgument, std::move(why), {}, {}, {}}; }
};

// A row of the group map as a view lists it: depth, then the group.
struct GroupRow {
    int depth = 0;
    std::string text; // "name|placement|placement text"
};

class CSectionEditor {
  public:
    explicit CSectionEditor(std::string effectiveToolchain = {})
        : toolchain_(std::move(effectiveToolchain)) {}
    ~CSectionEditor();
    CSectionEditor(const CSectionEditor&) = delete;
    CSectionEditor& operator=(const CSectionEditor&) = delete;

    void SetToolchain(std::string effectiveToolchain) { toolchain_ = std::move(effectiveToolchain); }
    void Load(const sections::SectionLayout& layout);
    // A copy of the working layout (made without recursion).
    sections::SectionLayout Copy() const;
    const sections::SectionLayout& Layout() const { return layout_; }
    bool Changed() const { return changed_; }
    // The models hold the working layout now.
    void MarkSaved() { changed_ = false; }

    // Group dialog. `placement` is "follow", "address", "label" or "region";
    // for "follow" the text names the group to follow, or is "End of group
    // list" (or empty) for the end.
    EditResult AddGroup(const std::string& name, const std::string& placement,
                        const std::string& text);
    EditResult ModifyGroup(const std::string& name, const std::string& newName,
                           const std::string& placement, const std::string& text);
    EditResult RemoveGroup(const std::string& name);
    // Advanced settings: NOLOAD, KEEP and the map (load) address, with
    // `garbageCollection` the linker's GCSECTS switch.
    EditResult Advanced(const std::string& group, bool noLoad, bool keep, bool garbageCollection,
                        const std::string& loadKind, const std::string& loadAddress);
    // Group contents.
    EditResult AddLabel(const std::string& group, const std::string& typed, bool freeText);
    EditResult ModifyLabel(const std::string& group, const std::string& label,
                           const std::string& typed, bool freeText);
    EditResult RemoveLabel(const std::string& group, const std::string& label);
    // `section` "All-sections" for every section; `files` {"All-files"} for every file.
    EditResult AddSection(const std::string& group, const std::string& section,
                          const std::vector<std::string>& files);
    // The item at `position` (from 1; 0 means nothing selected).
    EditResult RemoveItem(const std::string& group, int position);
    // Memory regions.
    EditResult AddRegion(const std::string& name, const std::string& start, const std::string& end);
    EditResult ModifyRegion(const std::string& name, const std::string& newName,
                            const std::string& start, const std::string& end);
    EditResult RemoveRegion(const std::string& name);
    // Start page: a top-level group's start address.
    EditResult SetStart(const std::string& group, const std::string& address);
    // "Restore defaults": the five default groups and no regions.
    void RestoreDefaults();

    std::vector<GroupRow> GroupRows();
    std::vector<std::string> RegionRows() const;
    // "group=address" for each top-level group placed at a fixed address.
    std::vector<std::string> StartRows() const;

  private:
    EditResult Place(sections::SectionGroup group);
    void Clear();

    std::string toolchain_;
    sections::SectionLayout layout_;
    bool changed_ = false;
};

// Placement word of the script and the views: "follow", "address", "label", "region".
std::optional<int> PlacementOf(const std::string& word);
const char* PlacementWord(int placement);

} // namespace quorle::sheet
