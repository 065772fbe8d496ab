#include "tui/dialogs.h"

#include <curses.h>

#include <algorithm>
#include <cctype>

namespace quorle::tui {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;

constexpr int kEscape = 27;

// A centred box over the sheet; freed when it goes out of scope.
class Box {
  public:
    Box(int height, int width, const std::string& caption, int attr) {
        height = std::min(height, LINES);
        width = std::min(width, COLS);
        win_ = newwin(height, width, std::max(0, (LINES - height) / 2),
                      std::max(0, (COLS - width) / 2));
        keypad(win_, TRUE);
        wbkgd(win_, static_cast<chtype>(attr) | ' ');
        werase(win_);
        wborder(win_, '|', '|', '-', '-', '+', '+', '+', '+');
        if (!caption.empty()) {
            std::string title = " " + caption + " ";
            if (static_cast<int>(title.size()) > width - 2) title.resize(static_cast<size_t>(width - 2));
            mvwaddstr(win_, 0, std::max(1, (width - static_cast<int>(title.size())) / 2), title.c_str());
        }
    }
    ~Box() { delwin(win_); }
    Box(const Box&) = delete;
    Box& operator=(const Box&) = delete;
    WINDOW* operator*() const { return win_; }
    int Width() const { return getmaxx(win_); }
    int Height() const { return getmaxy(win_); }

  private:
    WINDOW* win_;
};

void Put(WINDOW* win, int y, int x, const std::string& text, int width, int attr = 0) {
    if (width <= 0) return;
    std::string shown = text.substr(0, static_cast<size_t>(width));
    wattron(win, attr);
    mvwaddstr(win, y, x, shown.c_str());
    wattroff(win, attr);
}

struct Button {
    const char* label;
    MessageAnswer answer;
};

std::vector<Button> ButtonsOf(MessageButtons buttons) {
    switch (buttons) {
    case MessageButtons::Ok:
        return {{"OK", MessageAnswer::Ok}};
    case MessageButtons::OkCancel:
        return {{"OK", MessageAnswer::Ok}, {"Cancel", MessageAnswer::Cancel}};
    case MessageButtons::YesNo:
        return {{"Yes", MessageAnswer::Yes}, {"No", MessageAnswer::No}};
    case MessageButtons::YesNoCancel:
        return {{"Yes", MessageAnswer::Yes}, {"No", MessageAnswer::No}, {"Cancel", MessageAnswer::Cancel}};
    }
    return {{"OK", MessageAnswer::Ok}};
}

// The answer Escape gives: Cancel or No where the box has one, else OK.
MessageAnswer EscapeAnswer(const std::vector<Button>& buttons) {
    for (const Button& b : buttons)
        if (b.answer == MessageAnswer::Cancel) return b.answer;
    for (const Button& b : buttons)
        if (b.answer == MessageAnswer::No) return b.answer;
    return buttons.front().answer;
}

int BoxWidthFor(size_t textWidth) {
    return std::clamp(static_cast<int>(textWidth) + 4, 30, std::max(30, COLS - 4));
}

} // namespace

MessageAnswer Dialogs::Message(const std::string& caption, const std::string& text,
                               MessageButtons kinds) {
    const std::vector<Button> buttons = ButtonsOf(kinds);
    size_t chosen = 0;
    while (true) {
        background_();
        const int width = BoxWidthFor(60);
        std::vector<std::string> lines = WrapText(text, static_cast<size_t>(width - 4));
        Box box(static_cast<int>(lines.size()) + 4, width, caption, looks_.dialog);
        for (size_t i = 0; i < lines.size(); ++i)
            Put(*box, static_cast<int>(i) + 1, 2, lines[i], box.Width() - 4);
        std::string row;
        std::vector<int> at;
        for (const Button& b : buttons) {
            at.push_back(static_cast<int>(row.size()));
            row += std::string("< ") + b.label + " >  ";
        }
        int x = std::max(1, (box.Width() - static_cast<int>(row.size())) / 2);
        for (size_t i = 0; i < buttons.size(); ++i)
            Put(*box, box.Height() - 2, x + at[i], std::string("< ") + buttons[i].label + " >",
                box.Width() - 2 - x - at[i], i == chosen ? looks_.focus : 0);
        wrefresh(*box);
        int key = wgetch(*box);
        if (key == '\n' || key == '\r' || key == KEY_ENTER || key == ' ') return buttons[chosen].answer;
        if (key == kEscape || key == 3) return EscapeAnswer(buttons);
        if (key == KEY_LEFT || key == KEY_BTAB) chosen = (chosen + buttons.size() - 1) % buttons.size();
        if (key == KEY_RIGHT || key == '\t') chosen = (chosen + 1) % buttons.size();
        for (const Button& b : buttons)
            if (key < 256 && std::tolower(key) == std::tolower(b.label[0])) return b.answer;
    }
}

std::optional<std::string> Dialogs::EditLine(const std::string& caption, const std::string& label,
                                             const std::string& initial) {
    std::string text = initial;
    size_t cursor = text.size();
    while (true) {
        background_();
        Box box(6, BoxWidthFor(70), caption, looks_.dialog);
        const int field = box.Width() - 4;
        Put(*box, 1, 2, label, field);
        // The field scrolls so that the cursor stays in sight.
        size_t first = cursor >= static_cast<size_t>(field) ? cursor - static_cast<size_t>(field) + 1 : 0;
        std::string shown = text.substr(first);
        shown.resize(static_cast<size_t>(field), ' ');
        Put(*box, 2, 2, shown, field, A_UNDERLINE);
        Put(*box, 4, 2, "Enter: accept   Esc: leave unchanged", field);
        wmove(*box, 2, 2 + static_cast<int>(cursor - first));
        curs_set(1);
        wrefresh(*box);
        int key = wgetch(*box);
        curs_set(0);
        if (key == '\n' || key == '\r' || key == KEY_ENTER) return text;
        if (key == kEscape || key == 3) return std::nullopt;
        if (key == KEY_LEFT && cursor > 0) --cursor;
        else if (key == KEY_RIGHT && cursor < text.size()) ++cursor;
        else if (key == KEY_HOME || key == 1) cursor = 0;
        else if (key == KEY_END || key == 5) cursor = text.size();
        else if ((key == KEY_BACKSPACE || key == 127 || key == 8) && cursor > 0) text.erase(--cursor, 1);
        else if (key == KEY_DC && cursor < text.size()) text.erase(cursor, 1);
        else if (key == 21) { text.clear(); cursor = 0; } // Ctrl-U
        else if (key >= 32 && key < 256 && key != 127) text.insert(cursor++, 1, static_cast<char>(key));
    }
}

std::optional<size_t> Dialogs::Pick(const std::string& caption, const std::vector<std::string>& items,
                                    size_t current) {
    if (items.empty()) return std::nullopt;
    size_t cursor = std::min(current, items.size() - 1);
    size_t top = 0;
    while (true) {
        background_();
        size_t widest = caption.size();
        for (const std::string& item : items) widest = std::max(widest, item.size());
        int rows = std::min(static_cast<int>(items.size()), std::max(1, LINES - 6));
        Box box(rows + 2, BoxWidthFor(widest), caption, looks_.dialog);
        rows = box.Height() - 2;
        if (cursor < top) top = cursor;
        if (cursor >= top + static_cast<size_t>(rows)) top = cursor - static_cast<size_t>(rows) + 1;
        for (int r = 0; r < rows && top + static_cast<size_t>(r) < items.size(); ++r) {
            size_t i = top + static_cast<size_t>(r);
            std::string line = (i == cursor ? "> " : "  ") + items[i];
            line.resize(static_cast<size_t>(box.Width() - 2), ' ');
            Put(*box, r + 1, 1, line, box.Width() - 2, i == cursor ? looks_.focus : 0);
        }
        wrefresh(*box);
        int key = wgetch(*box);
        if (key == '\n' || key == '\r' || key == KEY_ENTER || key == ' ') return cursor;
        if (key == kEscape || key == 3) return std::nullopt;
        if (key == KEY_UP && cursor > 0) --cursor;
        if (key == KEY_DOWN && cursor + 1 < items.size()) ++cursor;
        if (key == KEY_HOME) cursor = 0;
        if (key == KEY_END) cursor = items.size() - 1;
        if (key == KEY_PPAGE) cursor = cursor > static_cast<size_t>(rows) ? cursor - static_cast<size_t>(rows) : 0;
        if (key == KEY_NPAGE) cursor = std::min(items.size() - 1, cursor + static_cast<size_t>(rows));
    }
}

std::optional<std::vector<bool>> Dialogs::CheckList(const std::string& caption, const std::string& label,
                                                    const std::vector<std::string>& items,
                                                    std::vector<bool> checked) {
    size_t cursor = 0;
    checked.resize(items.size(), false);
    while (true) {
        background_();
        size_t widest = std::max(caption.size(), label.size());
        for (const std::string& item : items) widest = std::max(widest, item.size() + 4);
        Box box(static_cast<int>(items.size()) + 5, BoxWidthFor(widest), caption, looks_.dialog);
        Put(*box, 1, 2, label, box.Width() - 4);
        for (size_t i = 0; i < items.size() && static_cast<int>(i) + 2 < box.Height() - 2; ++i) {
            std::string line = std::string(checked[i] ? "[x] " : "[ ] ") + items[i];
            Put(*box, static_cast<int>(i) + 2, 2, line, box.Width() - 4, i == cursor ? looks_.focus : 0);
        }
        Put(*box, box.Height() - 2, 2, "Space: mark   Enter: OK   Esc: Cancel", box.Width() - 4);
        wrefresh(*box);
        int key = wgetch(*box);
        if (key == '\n' || key == '\r' || key == KEY_ENTER) return checked;
        if (key == kEscape || key == 3) return std::nullopt;
        if (items.empty()) continue;
        if (key == ' ') checked[cursor] = !checked[cursor];
        if (key == KEY_UP && cursor > 0) --cursor;
        if (key == KEY_DOWN && cursor + 1 < items.size()) ++cursor;
    }
}

void Dialogs::EditList(const std::string& caption,
                       const std::function<std::vector<std::string>()>& entries,
                       const std::function<bool(const std::vector<std::string>&)>& apply) {
    size_t cursor = 0;
    while (true) {
        std::vector<std::string> list = entries();
        if (!list.empty()) cursor = std::min(cursor, list.size() - 1);
        background_();
        int rows = std::clamp(static_cast<int>(list.size()), 1, std::max(1, LINES - 8));
        Box box(rows + 4, BoxWidthFor(70), caption, looks_.dialog);
        rows = box.Height() - 4;
        size_t top = cursor >= static_cast<size_t>(rows) ? cursor - static_cast<size_t>(rows) + 1 : 0;
        if (list.empty()) Put(*box, 1, 2, "(no entries)", box.Width() - 4);
        for (int r = 0; r < rows && top + static_cast<size_t>(r) < list.size(); ++r) {
            size_t i = top + static_cast<size_t>(r);
            std::string line = list[i];
            line.resize(static_cast<size_t>(box.Width() - 4), ' ');
            Put(*box, r + 1, 2, line, box.Width() - 4, i == cursor ? looks_.focus : 0);
        }
        Put(*box, box.Height() - 2, 2, "a:Add  Enter:Modify  d:Remove  Esc:Close", box.Width() - 4);
        wrefresh(*box);
        int key = wgetch(*box);
        if (key == kEscape || key == 3 || key == 'q') return;
        if (key == KEY_UP && cursor > 0) --cursor;
        if (key == KEY_DOWN && cursor + 1 < list.size()) ++cursor;
        if (key == 'a' || key == KEY_IC) {
            if (auto entry = EditLine(caption, "New entry:", "")) {
                std::vector<std::string> changed = list;
                changed.push_back(*entry);
                if (apply(changed)) cursor = changed.size() - 1;
            }
        } else if ((key == '\n' || key == '\r' || key == KEY_ENTER || key == 'm') && !list.empty()) {
            if (auto entry = EditLine(caption, "Entry:", list[cursor])) {
                std::vector<std::string> changed = list;
                changed[cursor] = *entry;
                apply(changed);
            }
        } else if ((key == 'd' || key == KEY_DC) && !list.empty()) {
            std::vector<std::string> changed = list;
            changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(cursor));
            apply(changed);
        }
    }
}

} // namespace quorle::tui
