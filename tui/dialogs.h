// Modal dialogs drawn over the sheet: message boxes, a line editor, a pick
// list, a check list and a list editor. Each redraws the sheet behind it
// first, so a resize while a dialog is open leaves both whole.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/platform.h"
#include "tui/session.h"

namespace quorle::tui {

using Redraw = std::function<void()>;

class Dialogs {
  public:
    Dialogs(const Looks& looks, Redraw background) : looks_(looks), background_(std::move(background)) {}

    platform::MessageAnswer Message(const std::string& caption, const std::string& text,
                                    platform::MessageButtons buttons);
    // Nothing when the user leaves with Escape.
    std::optional<std::string> EditLine(const std::string& caption, const std::string& label,
                                        const std::string& initial);
    std::optional<size_t> Pick(const std::string& caption, const std::vector<std::string>& items,
                               size_t current);
    std::optional<std::vector<bool>> CheckList(const std::string& caption, const std::string& label,
                                               const std::vector<std::string>& items,
                                               std::vector<bool> checked);
    // Entries edited one at a time: `apply` gets the whole new list and
    // answers the list as it now stands, or nothing when it was refused.
    void EditList(const std::string& caption,
                  const std::function<std::vector<std::string>()>& entries,
                  const std::function<bool(const std::vector<std::string>&)>& apply);

  private:
    const Looks& looks_;
    Redraw background_;
};

// Text broken into lines of at most `width` characters, at blanks where it
// can and at "\n" always.
std::vector<std::string> WrapText(const std::string& text, size_t width);

} // namespace quorle::tui
