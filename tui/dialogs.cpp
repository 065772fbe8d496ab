#include "tui/dialogs.h"

#include <curses.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "core/ascii_text.h"

namespace quorle::tui {
namespace {

using platform::MessageAnswer;
using platform::MessageButtons;

constexpr int kEscape = 27;

// A centred box over the sheet; freed when it goes out of scope.
class Box {
  public:
    // Centred unless a place is given; kept on the screen either way.
    Box(int height, int width, const std::string& caption, int attr, int y = -1, int x = -1) {
        height = std::min(height, LINES);
        width = std::min(width, COLS);
        y = y < 0 ? (LINES - height) / 2 : std::min(y, LINES - height);
        x = x < 0 ? (COLS - width) / 2 : std::min(x, COLS - width);
        win_ = newwin(height, width, std::max(0, y), std::max(0, x));
        keypad(win_, TRUE);
        wbkgd(win_, static_cast<chtype>(attr) | ' ');
        werase(win_);
        wborder(win_, '|', '|', '-', '-', '+', '+', '+', '+');
        if (!caption.empty()) {
            std::string title = " " + caption + " ";
            if (static_cast<int>(title.size()) > width - 2)
                title.resize(static_cast<size_t>(width - 2));
            mvwaddstr(win_, 0, std::max(1, (width - static_cast<int>(title.size())) / 2),
                      title.c_str());
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
        return {{"Yes", MessageAnswer::Yes},
                {"No", MessageAnswer::No},
                {"Cancel", MessageAnswer::Cancel}};
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
        if (key == '\n' || key == '\r' || key == KEY_ENTER || key == ' ')
            return buttons[chosen].answer;
        if (key == kEscape || key == 3) return EscapeAnswer(buttons);
        if (key == KEY_LEFT || key == KEY_BTAB)
            chosen = (chosen + buttons.size() - 1) % buttons.size();
        if (key == KEY_RIGHT || key == '\t') chosen = (chosen + 1) % buttons.size();
        for (const Button& b : buttons)
            if (key >= 0 && key < 256 &&
                core::AsciiLower(static_cast<char>(key)) == core::AsciiLower(b.label[0]))
                return b.answer;
    }
}

std::optional<std::string> Dialogs::EditLine(const std::string& caption, const std::string& label,
                                             const std::string& initial, LineEditor::Check check) {
    auto texts = Form(caption, {FormField{label, initial, std::move(check)}});
    if (!texts) return std::nullopt;
    return texts->front();
}

namespace {

// True when another key waits (the rest of a paste): the dialog then takes
// it before it draws again, so that a long paste costs one redraw.
bool KeyWaiting(WINDOW* win) {
    nodelay(win, TRUE);
    int next = wgetch(win);
    nodelay(win, FALSE);
    if (next == ERR) return false;
    ungetch(next);
    return true;
}

bool Printable(int key) {
    return key >= 32 && key < 256 && key != 127;
}

} // namespace

std::optional<std::vector<std::string>> Dialogs::Form(const std::string& caption,
                                                      std::vector<FormField> fields) {
    if (fields.empty()) return std::vector<std::string>{};
    std::vector<LineEditor> editors;
    for (FormField& f : fields) editors.emplace_back(f.text, f.check);
    size_t current = 0;
    std::string message;
    std::unique_ptr<Box> box;
    bool draw = true;
    while (true) {
        if (draw || !box) {
            background_();
            const int height = static_cast<int>(fields.size()) * 2 + 4;
            box = std::make_unique<Box>(height, BoxWidthFor(70), caption, looks_.dialog);
            const int field = box->Width() - 4;
            for (size_t i = 0; i < fields.size(); ++i) {
                const int y = 1 + static_cast<int>(i) * 2;
                Put(**box, y, 2, fields[i].label, field);
                const LineEditor& e = editors[i];
                size_t first = e.FirstShown(static_cast<size_t>(field));
                std::string shown = e.Text().substr(first, static_cast<size_t>(field));
                shown.resize(static_cast<size_t>(field), ' ');
                Put(**box, y + 1, 2, shown, field,
                    i == current ? A_UNDERLINE | A_BOLD : A_UNDERLINE);
            }
            const int last = box->Height() - 2;
            if (!message.empty())
                Put(**box, last, 2, message, field, A_BOLD);
            else
                Put(**box, last, 2,
                    fields.size() > 1 ? "Tab: next field   Enter: accept   Esc: leave unchanged"
                                      : "Enter: accept   Esc: leave unchanged",
                    field);
            const LineEditor& e = editors[current];
            wmove(**box, 2 + static_cast<int>(current) * 2,
                  2 + static_cast<int>(e.Cursor() - e.FirstShown(static_cast<size_t>(field))));
            curs_set(1);
            wrefresh(**box);
        }
        int key = wgetch(**box);
        curs_set(0);
        LineEditor& e = editors[current];
        std::string refused;
        if (key == '\n' || key == '\r' || key == KEY_ENTER) {
            std::vector<std::string> texts;
            for (const LineEditor& ed : editors) texts.push_back(ed.Text());
            return texts;
        }
        if (key == kEscape || key == 3) return std::nullopt;
        if (key == KEY_RESIZE)
            box.reset();
        else if ((key == '\t' || key == KEY_DOWN) && current + 1 < fields.size())
            ++current;
        else if ((key == KEY_BTAB || key == KEY_UP) && current > 0)
            --current;
        else if (key == KEY_LEFT)
            e.Left();
        else if (key == KEY_RIGHT)
            e.Right();
        else if (key == KEY_HOME || key == 1)
            e.Home();
        else if (key == KEY_END || key == 5)
            e.End();
        else if (key == KEY_BACKSPACE || key == 127 || key == 8)
            refused = e.Backspace();
        else if (key == KEY_DC)
            refused = e.Delete();
        else if (key == 21)
            refused = e.Clear(); // Ctrl-U
        else if (Printable(key)) {
            // A paste arrives as many keys at once: they go in together.
            std::string typed(1, static_cast<char>(key));
            while (KeyWaiting(**box)) {
                int next = wgetch(**box);
                if (!Printable(next)) {
                    ungetch(next);
                    break;
                }
                typed += static_cast<char>(next);
            }
            refused = e.Insert(typed);
        }
        if (!refused.empty()) beep();
        message = refused;
        draw = !KeyWaiting(**box);
    }
}

std::optional<size_t> Dialogs::Pick(const std::string& caption,
                                    const std::vector<std::string>& items, size_t current) {
    return PickAt(caption, items, current, -1, -1);
}

std::optional<size_t> Dialogs::DropDown(int y, int x, const std::vector<std::string>& items,
                                        size_t current) {
    return PickAt("", items, current, y, x);
}

std::optional<size_t> Dialogs::PickAt(const std::string& caption,
                                      const std::vector<std::string>& items, size_t current, int y,
                                      int x) {
    if (items.empty()) return std::nullopt;
    size_t cursor = std::min(current, items.size() - 1);
    size_t top = 0;
    while (true) {
        background_();
        size_t widest = caption.size();
        for (const std::string& item : items) widest = std::max(widest, item.size());
        // A drop-down takes the room below its box; a centred list the screen.
        int room = y < 0 ? LINES - 6 : LINES - y - 2;
        int rows = std::min(static_cast<int>(items.size()), std::max(1, room));
        const int width =
            y < 0 ? BoxWidthFor(widest)
                  : std::clamp(static_cast<int>(widest) + 4, 12, std::max(12, COLS - x));
        Box box(rows + 2, width, caption, looks_.dialog, y, x);
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
        if (key == KEY_PPAGE)
            cursor = cursor > static_cast<size_t>(rows) ? cursor - static_cast<size_t>(rows) : 0;
        if (key == KEY_NPAGE)
            cursor = std::min(items.size() - 1, cursor + static_cast<size_t>(rows));
    }
}

std::optional<std::vector<bool>> Dialogs::CheckList(const std::string& caption,
                                                    const std::string& label,
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
            Put(*box, static_cast<int>(i) + 2, 2, line, box.Width() - 4,
                i == cursor ? looks_.focus : 0);
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
                       const ListActions& actions) {
    std::string keys;
    if (actions.add) keys += "a:Add  ";
    if (actions.modify) keys += "Enter:Modify  ";
    if (actions.remove) keys += "d:Remove  ";
    if (actions.move) keys += "[/]:Move  ";
    keys += "Esc:Close";
    size_t cursor = 0;
    while (true) {
        std::vector<std::string> list = entries();
        if (!list.empty()) cursor = std::min(cursor, list.size() - 1);
        background_();
        int rows = std::clamp(static_cast<int>(list.size()), 1, std::max(1, LINES - 8));
        Box box(rows + 4, BoxWidthFor(70), caption, looks_.dialog);
        rows = box.Height() - 4;
        size_t top =
            cursor >= static_cast<size_t>(rows) ? cursor - static_cast<size_t>(rows) + 1 : 0;
        if (list.empty()) Put(*box, 1, 2, "(no entries)", box.Width() - 4);
        for (int r = 0; r < rows && top + static_cast<size_t>(r) < list.size(); ++r) {
            size_t i = top + static_cast<size_t>(r);
            std::string line = (i == cursor ? "> " : "  ") + list[i];
            line.resize(static_cast<size_t>(box.Width() - 4), ' ');
            Put(*box, r + 1, 2, line, box.Width() - 4, i == cursor ? looks_.focus : 0);
        }
        Put(*box, box.Height() - 2, 2, keys, box.Width() - 4);
        wrefresh(*box);
        int key = wgetch(*box);
        if (key == kEscape || key == 3 || key == 'q') return;
        if (key == KEY_UP && cursor > 0) --cursor;
        if (key == KEY_DOWN && cursor + 1 < list.size()) ++cursor;
        if ((key == 'a' || key == KEY_IC) && actions.add) {
            if (actions.add()) cursor = entries().size() - 1;
        } else if ((key == '\n' || key == '\r' || key == KEY_ENTER || key == 'm') &&
                   !list.empty() && actions.modify) {
            actions.modify(cursor);
        } else if ((key == 'd' || key == KEY_DC) && !list.empty() && actions.remove) {
            actions.remove(cursor);
        } else if ((key == '[' || key == ']') && actions.move && !list.empty()) {
            // Earlier or later in the list, with the cursor on the entry.
            if (key == '[' && cursor > 0 && actions.move(cursor, cursor - 1)) --cursor;
            if (key == ']' && cursor + 1 < list.size() && actions.move(cursor, cursor + 1))
                ++cursor;
        }
    }
}

} // namespace quorle::tui
