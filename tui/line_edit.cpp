#include "tui/line_edit.h"

namespace quorle::tui {

LineEditor::LineEditor(std::string text, Check check)
    : text_(std::move(text)), cursor_(text_.size()), check_(std::move(check)) {}

std::string LineEditor::Apply(std::string changed, size_t cursor) {
    if (check_) {
        std::string message = check_(changed);
        if (!message.empty()) return message;
    }
    text_ = std::move(changed);
    cursor_ = cursor;
    return {};
}

std::string LineEditor::Insert(std::string_view typed) {
    if (typed.empty()) return {};
    if (!check_ && cursor_ == text_.size()) {
        // Typing at the end, the usual case: no copy of the text.
        text_.append(typed);
        cursor_ = text_.size();
        return {};
    }
    std::string changed = text_;
    changed.insert(cursor_, typed);
    std::string refused = Apply(std::move(changed), cursor_ + typed.size());
    if (refused.empty() || typed.size() == 1) return refused;
    // Refused as a whole: what comes before the first refused character stays.
    for (char c : typed) {
        changed = text_;
        changed.insert(cursor_, 1, c);
        refused = Apply(std::move(changed), cursor_ + 1);
        if (!refused.empty()) break;
    }
    return refused;
}

std::string LineEditor::Backspace() {
    if (cursor_ == 0) return {};
    std::string changed = text_;
    changed.erase(cursor_ - 1, 1);
    return Apply(std::move(changed), cursor_ - 1);
}

std::string LineEditor::Delete() {
    if (cursor_ >= text_.size()) return {};
    std::string changed = text_;
    changed.erase(cursor_, 1);
    return Apply(std::move(changed), cursor_);
}

std::string LineEditor::Clear() {
    return Apply({}, 0);
}

void LineEditor::Left() {
    if (cursor_ > 0) --cursor_;
}

void LineEditor::Right() {
    if (cursor_ < text_.size()) ++cursor_;
}

void LineEditor::Home() {
    cursor_ = 0;
}

void LineEditor::End() {
    cursor_ = text_.size();
}

size_t LineEditor::FirstShown(size_t width) const {
    if (width == 0) return cursor_;
    return cursor_ >= width ? cursor_ - width + 1 : 0;
}

} // namespace quorle::tui
