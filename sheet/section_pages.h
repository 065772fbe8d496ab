// The Section page of the Link/Library tab and its three sub-pages (Group
// map, Memory, Start) over the section layout of the selected linker models.
// Each sub-page edits a working copy with the section editor and writes it
// into every selected linker model when the page saves. Where the selected
// layouts differ, the pages show the mixed state and edit nothing until
// "Restore defaults" gives them one layout.
#pragma once

#include <string>
#include <vector>

#include "sheet/page_engine.h"
#include "sheet/section_editor.h"

namespace quorle::sheet {

enum class SectionView { Main, GroupMap, Memory, Start };

class CSectionPage : public CControlPage {
  public:
    explicit CSectionPage(SectionView view);

    void Load(const PageContext& context) override;
    bool SaveAndValidate(SaveKind kind) override;
    SetOutcome Press(size_t control) override;
    SetOutcome Set(size_t control, const Value& value) override;

    // Whether a section command (its first field) belongs to this page.
    bool Handles(const std::string& command) const;
    // One section command, the fields after "section". A check that fails
    // shows its message and gives Refused; the layout stays as it was.
    SetOutcome Command(const std::vector<std::string>& fields);
    // Writes the layout of the selection to a ".gsi" file: a temporary file
    // first, renamed over `path` only when it was written whole.
    bool Export(const std::string& path);

    const CSectionEditor& Editor() const { return editor_; }

  private:
    std::vector<models::ModelBase*> Linkers() const;
    void Refresh();
    SetOutcome Report(const EditResult& result);

    SectionView view_;
    CSectionEditor editor_;
    bool mixed_ = false;
    bool hasModels_ = false;
};

// The four section pages in their order.
std::vector<std::unique_ptr<CPage>> SectionPages();

} // namespace quorle::sheet
