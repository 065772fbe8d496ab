// The text of an entry field and its cursor, without a terminal: the field
// dialog maps keys onto it, and a paste arrives as one insertion so that its
// cost grows with its length only.
#pragma once

#include <functional>
#include <string>
#include <string_view>

namespace quorle::tui {

class LineEditor {
  public:
    // The message for a text the field may not hold, or "" when it may.
    using Check = std::function<std::string(const std::string&)>;

    explicit LineEditor(std::string text = {}, Check check = {});

    // Each edit answers "" when made, else the check's message (and then
    // the text stays as it was; of an insertion, the part before the first
    // character refused goes in).
    std::string Insert(std::string_view typed);
    std::string Backspace();
    std::string Delete();
    std::string Clear();
    void Left();
    void Right();
    void Home();
    void End();

    const std::string& Text() const { return text_; }
    size_t Cursor() const { return cursor_; }
    // The first character a field `width` wide shows, so that the cursor stays in sight.
    size_t FirstShown(size_t width) const;

  private:
    std::string Apply(std::string changed, size_t cursor);

    std::string text_;
    size_t cursor_ = 0;
    Check check_;
};

} // namespace quorle::tui
