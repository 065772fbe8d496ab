// Writing the outcome of the options sheet back into the workspace: option
// entries rewritten only for the items whose string changed, the file text
// re-rendered with every other entry kept as it was.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "host/edit_records.h"
#include "host/workspace.h"

namespace quorle::host {

struct OptionChange {
    std::string project, phase, item,
        config; // item: a file, "default options (TYPE)" or the project
    std::string before, after;
};

// The option entries of one project after the edit; `origin[k]` is the
// position of entry k in the project's original "options" array, or -1 for
// an entry the edit made.
struct EditedEntries {
    std::vector<OptionEntry> entries;
    std::vector<int> origin;
    bool rewritten = false;
};

struct EditOutcome {
    std::vector<OptionChange> changes;   // every item and configuration whose string changed
    std::vector<EditedEntries> projects; // parallel to Workspace::projects
    bool AnyRewritten() const;
};

// Works out the entries that make every item resolve to its new string. A
// file whose new string equals its file type's gets no entry of its own;
// entries of items that did not change are left alone.
EditOutcome ApplyEdit(const Workspace& workspace, const std::vector<EditItem>& items,
                      const EditCatalogue& catalogue);

// `originalText` with the "options" array of each rewritten project replaced.
// Nullopt with `error` when the text no longer parses.
std::optional<std::string> RenderWorkspace(const std::string& originalText,
                                           const EditOutcome& outcome, std::string& error);

enum class WriteOutcome { Written, ChangedOnDisk, ReadOnly, Failed };
// Replaces the file at `path` with `text` (a temporary file beside it, then a
// rename), unless its bytes are no longer `original` or the user may not
// change it: then nothing is written. A symbolic link is followed and stays
// as it is; the new file keeps the old one's mode. Other hard links to the
// old file keep the old text.
WriteOutcome WriteWorkspaceIfUnchanged(const std::string& path, const std::string& original,
                                       const std::string& text, std::string& error);

// One line per option key whose values differ: "KEY: old -> new", "(none)"
// for a key the string does not hold. For a plug-in that gives no change
// list of its own.
std::vector<std::string> DescribeChange(const std::string& before, const std::string& after);

} // namespace quorle::host
