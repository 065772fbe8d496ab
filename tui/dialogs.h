// Modal dialogs drawn over the sheet: message boxes, a line editor, a pick
// list, a check list and a list editor. Each redraws the sheet behind it
// first, so a resize while a dialog is open leaves both whole.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tui/line_edit.h"
#include "tui/session.h"

namespace quorle::tui {

using Redraw = std::function<void()>;

// One field of an entry dialog.
struct FormField {
    std::string label;
    std::string text;
    LineEditor::Check check; // refuses a keystroke at once, with its message
};

// What a list editor can do to its entries; each answers whether it did.
// An action left empty is not offered.
struct ListActions {
    std::function<bool()> add;
    std::function<bool(size_t)> modify;
    std::function<bool(size_t)> remove;
    std::function<bool(size_t, size_t)> move; // from, to
};

class Dialogs {
  public:
    Dialogs(const Looks& looks, Redraw background)
        : looks_(looks), background_(std::move(background)) {}

    platform::MessageAnswer Message(const std::string& caption, const std::string& text,
                                    platform::MessageButtons buttons);
    // Nothing when the user leaves with Escape.
    std::optional<std::string> EditLine(const std::string& caption, const std::string& label,
                                        const std::string& initial, LineEditor::Check check = {});
    // Several fields at once: Tab and the arrows move between them, Enter
    // takes them all.
    std::optional<std::vector<std::string>> Form(const std::string& caption,
                                                 std::vector<FormField> fields);
    std::optional<size_t> Pick(const std::string& caption, const std::vector<std::string>& items,
                               size_t current);
    // A pick list that opens under the box at `y`, `x` (a drop-down).
    std::optional<size_t> DropDown(int y, int x, const std::vector<std::string>& items,
                                   size_t current);
    std::optional<std::vector<bool>> CheckList(const std::string& caption, const std::string& label,
                                               const std::vector<std::string>& items,
                                               std::vector<bool> checked);
    // Entries edited one at a time through `actions`; `entries` answers the
    // list as it now stands.
    void EditList(const std::string& caption,
                  const std::function<std::vector<std::string>()>& entries,
                  const ListActions& actions);

  private:
    std::optional<size_t> PickAt(const std::string& caption, const std::vector<std::string>& items,
                                 size_t current, int y, int x);

    const Looks& looks_;
    Redraw background_;
};

// Text broken into lines of at most `width` characters, at blanks where it
// can and at "\n" always.
std::vector<std::string> WrapText(const std::string& text, size_t width);

} // namespace quorle::tui
