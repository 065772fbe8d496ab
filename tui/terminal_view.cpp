// The sheet in a terminal: panes drawn from what the sheet shows, keys turned
// into the sheet's commands. The view keeps only where the cursor is.
#include <curses.h>

#include <algorithm>
#include <cctype>
#include <memory>
#include <set>

#include "core/ascii_text.h"
#include "sheet/page_engine.h"
#include "sheet/sheet_view.h"
#include "tui/control_text.h"
#include "tui/dialogs.h"
#include "tui/labels.h"
#include "tui/layout.h"
#include "tui/section_rows.h"
#include "tui/session.h"
#include "tui/tree_rows.h"

namespace quorle::tui {
namespace {

using sheet::CommandResult;
using sheet::ControlKind;

constexpr int kEscape = 27;
constexpr int kCtrlC = 3;
constexpr int kCtrlS = 19;

enum class Pane { Config, Tree, Tabs, Category, Controls };
constexpr Pane kPanes[] = {Pane::Config, Pane::Tree, Pane::Tabs, Pane::Category, Pane::Controls};

// A key that can be a mnemonic: mnemonics are ASCII letters and digits,
// whatever the locale says of other bytes.
bool IsMnemonicKey(int key) {
    return key >= 0 && key < 128 && core::IsAsciiAlnum(static_cast<char>(key));
}

bool IsEnter(int key) {
    return key == '\n' || key == '\r' || key == KEY_ENTER;
}

void Put(int y, int x, std::string text, int width, int attr = 0) {
    if (width <= 0) return;
    // A line feed or tab in a text would move the cursor off the line.
    for (char& c : text)
        if (static_cast<unsigned char>(c) < 32) c = ' ';
    attron(attr);
    mvaddnstr(y, x, text.c_str(), std::min(width, static_cast<int>(text.size())));
    attroff(attr);
}

void PutPadded(int y, int x, std::string text, int width, int attr = 0) {
    if (width <= 0) return;
    text.resize(static_cast<size_t>(width), ' ');
    Put(y, x, text, width, attr);
}

class TerminalView : public sheet::CSheetView {
  public:
    platform::MessageAnswer Show(const std::string& caption, const std::string& text,
                                 platform::MessageButtons buttons) override {
        if (!session_) return platform::MessageAnswer::Ok; // no terminal taken: nothing to show on
        return dialogs_->Message(caption, text, buttons);
    }

    int Run(sheet::CSheetFace& face) override {
        face_ = &face;
        session_ = std::make_unique<Session>();
        dialogs_ = std::make_unique<Dialogs>(session_->looks(), [this] {
            Draw();
            wnoutrefresh(stdscr); // goes out with the dialog's own refresh
        });
        int result;
        try {
            result = Loop();
        } catch (...) {
            result = 1;
        }
        dialogs_.reset();
        session_.reset(); // the terminal as it was
        face_ = nullptr;
        return result;
    }

  private:
    const Looks& looks() const { return session_->looks(); }

    int Loop() {
        Rebuild();
        while (true) {
            Draw();
            refresh();
            int key = getch();
            session_->ResumeIfInterrupted();
            if (key == KEY_RESIZE) treeTop_ = 0; // the root again, as far as the cursor lets it
            if (key == ERR || key == KEY_RESIZE) continue;
            status_.clear();
            if (key == KEY_F(10) || key == kCtrlS) {
                if (auto result = face_->Ok()) return *result;
                status_ = "The page kept the sheet open.";
                continue;
            }
            if (key == kEscape) {
                // Alt and a letter arrives as Escape and the letter.
                nodelay(stdscr, TRUE);
                int next = getch();
                nodelay(stdscr, FALSE);
                if (IsMnemonicKey(next)) {
                    Mnemonic(core::AsciiLower(static_cast<char>(next)));
                    continue;
                }
                if (next != ERR) ungetch(next);
            }
            if (key == kEscape || key == kCtrlC) {
                const auto question = face_->CancelQuestion();
                if (!question || dialogs_->Message(question->caption, question->text,
                                                   platform::MessageButtons::YesNo) ==
                                     platform::MessageAnswer::Yes)
                    return -1;
                continue;
            }
            if (key == '\t' || key == KEY_BTAB) {
                MoveFocus(key == '\t' ? 1 : -1);
                continue;
            }
            if (key == '/') {
                Search();
                continue;
            }
            if (key == '?') {
                Help();
                continue;
            }
            switch (focus_) {
            case Pane::Config:
                ConfigKey(key);
                break;
            case Pane::Tree:
                TreeKey(key);
                break;
            case Pane::Tabs:
                TabKey(key);
                break;
            case Pane::Category:
                CategoryKey(key);
                break;
            case Pane::Controls:
                ControlKey(key);
                break;
            }
        }
    }

    // ---- what the sheet shows, read again after each command
    void Rebuild() {
        tree_ = face_->Tree();
        rows_ = FlattenTree(tree_, folded_);
        treeCursor_ = std::min(treeCursor_, rows_.empty() ? 0 : rows_.size() - 1);
        visible_.clear();
        const auto& controls = face_->Controls();
        for (size_t i = 0; i < controls.size(); ++i)
            if (!controls[i].hidden) visible_.push_back(i);
        controlCursor_ = std::min(controlCursor_, visible_.empty() ? 0 : visible_.size() - 1);
    }

    void Report(CommandResult result, const std::string& what) {
        switch (result) {
        case CommandResult::Done:
            break;
        case CommandResult::Refused:
            status_ = "The page kept its values; " + what + " not changed.";
            break;
        case CommandResult::Disabled:
            status_ = what + " cannot be changed now.";
            break;
        case CommandResult::BadValue:
            status_ = "That value is not allowed for " + what + ".";
            break;
        case CommandResult::Unknown:
            status_ = what + " is not on this page.";
            break;
        }
        Rebuild();
    }

    // ---- drawing
    bool IsSelected(const sheet::TreeNode& node) const {
        const auto selection = face_->Selection();
        return std::find(selection.begin(), selection.end(), RefOf(node)) != selection.end();
    }

    void Draw() {
        erase();
        const Layout l = CurrentLayout();
        if (!l.fits) {
            Put(0, 0,
                "The options editor needs at least " + std::to_string(kMinColumns) + "x" +
                    std::to_string(kMinLines) + ".",
                COLS);
            Put(1, 0, "Enlarge the terminal, or press Esc to cancel.", COLS);
            return;
        }
        PutPadded(l.title.y, 0, " " + face_->Title(), COLS, looks().title);
        // Plain characters for lines, legible on any terminal and in captures.
        mvvline(l.config.y, l.config.Right(), '|', l.tree.Bottom() - l.config.y);

        int attr = focus_ == Pane::Config ? looks().focus : 0;
        Put(l.config.y, 0, "Configuration :", l.config.width);
        std::string choice = face_->ConfigurationText();
        const size_t room = static_cast<size_t>(std::max(4, l.config.width - 6));
        if (choice.size() > room) choice = choice.substr(0, room - 3) + "...";
        choice.resize(room, ' ');
        Put(l.config.y + 1, 1, "[" + choice + " v]", l.config.width - 1, attr);

        // The tree, scrolled so that the cursor shows.
        const int rows = l.tree.height;
        // No blank rows below the tree while rows above it are hidden.
        const size_t treeRoom = static_cast<size_t>(std::max(1, rows));
        treeTop_ = std::min(treeTop_, rows_.size() > treeRoom ? rows_.size() - treeRoom : 0);
        if (treeCursor_ < treeTop_) treeTop_ = treeCursor_;
        if (treeCursor_ >= treeTop_ + static_cast<size_t>(rows))
            treeTop_ = treeCursor_ - static_cast<size_t>(rows) + 1;
        for (int r = 0; r < rows && treeTop_ + static_cast<size_t>(r) < rows_.size(); ++r) {
            size_t i = treeTop_ + static_cast<size_t>(r);
            const TreeRow& row = rows_[i];
            bool selected = IsSelected(*row.node);
            // Marks as characters too, so that they show without attributes.
            std::string text = std::string(i == treeCursor_ ? ">" : " ") + (selected ? "*" : " ") +
                               TreeRowText(row, face_->PhaseShownBeside(*row.node, row.parent));
            int a = selected ? looks().selected : 0;
            if (i == treeCursor_) a |= focus_ == Pane::Tree ? looks().focus : A_UNDERLINE;
            PutPadded(l.tree.y + r, 0, text, l.tree.width, a);
        }

        DrawStrip(l.tabs, "", face_->Tabs(), face_->ActiveTab(), focus_ == Pane::Tabs);
        if (face_->ActiveTab() < 0)
            Put(l.tabs.y, l.tabs.x + 1, "Select a node in the tree (Enter) to see its options.",
                l.tabs.width - 1);
        DrawStrip(l.category, "Category:", face_->Categories(), face_->ActiveCategory(),
                  focus_ == Pane::Category);
        DrawControls(l.controls);

        std::vector<std::string> preview = WrapText(PreviewText(), static_cast<size_t>(COLS));
        if (preview.size() > static_cast<size_t>(l.preview.height)) {
            // Longer than the room: its end is cut, and says so.
            preview.resize(static_cast<size_t>(l.preview.height));
            std::string& last = preview.back();
            const std::string more = " ...";
            last =
                last.substr(0, std::max<size_t>(0, static_cast<size_t>(COLS) - more.size())) + more;
        }
        for (size_t i = 0; i < preview.size(); ++i)
            PutPadded(l.preview.y + static_cast<int>(i), 0, preview[i], COLS, A_BOLD);
        PutPadded(l.status.y, 0, status_, COLS);
        PutPadded(l.help.y, 0, HelpLine(), COLS, looks().title);
    }

    // A row of titles with the active one in brackets, scrolled to show it.
    void DrawStrip(const Rect& r, const std::string& head, const std::vector<std::string>& items,
                   int active, bool focused) {
        if (items.empty()) return;
        int x = r.x + 1;
        if (!head.empty()) {
            Put(r.y, x, head, r.Right() - x);
            x += static_cast<int>(head.size()) + 1;
        }
        size_t first = 0;
        auto widthFrom = [&](size_t from, size_t to) {
            int w = 0;
            for (size_t i = from; i <= to && i < items.size(); ++i)
                w += static_cast<int>(items[i].size()) + 3;
            return w;
        };
        if (active > 0)
            while (first < static_cast<size_t>(active) &&
                   widthFrom(first, static_cast<size_t>(active)) > r.Right() - x)
                ++first;
        if (first > 0) {
            Put(r.y, x, "<", 1);
            x += 1;
        }
        for (size_t i = first; i < items.size() && x < r.Right(); ++i) {
            bool on = static_cast<int>(i) == active;
            std::string text = on ? "[" + items[i] + "]" : " " + items[i] + " ";
            int a = on ? (focused ? looks().focus : looks().active) : 0;
            Put(r.y, x, text, r.Right() - x, a);
            x += static_cast<int>(text.size()) + 1;
        }
    }

    void DrawControls(const Rect& r) {
        const auto& defs = face_->Controls();
        const auto& states = face_->States();
        if (controlCursor_ < controlTop_) controlTop_ = controlCursor_;
        if (controlCursor_ >= controlTop_ + static_cast<size_t>(r.height))
            controlTop_ = controlCursor_ - static_cast<size_t>(r.height) + 1;
        for (int row = 0;
             row < r.height && controlTop_ + static_cast<size_t>(row) < visible_.size(); ++row) {
            size_t v = controlTop_ + static_cast<size_t>(row);
            size_t c = visible_[v];
            if (c >= defs.size() || c >= states.size()) break;
            const sheet::ControlDef& def = defs[c];
            const sheet::ControlState& state = states[c];
            bool cursor = v == controlCursor_ && focus_ == Pane::Controls;
            std::string line = std::string(cursor ? ">" : " ") + ControlLine(def, state) +
                               (state.enabled || def.kind == ControlKind::Label ? "" : "  (off)");
            int a = state.enabled ? 0 : looks().dim;
            if (cursor) a |= looks().focus;
            PutPadded(r.y + row, r.x + 1, line, r.width - 1, a);
            size_t at = sheet::MnemonicPosition(def.label);
            if (at == std::string::npos || cursor) continue;
            size_t offset = def.kind == ControlKind::Check || def.kind == ControlKind::Check3 ? 5
                            : def.kind == ControlKind::Button                                 ? 3
                                                                                              : 1;
            if (static_cast<int>(offset + at) < r.width - 1)
                mvchgat(r.y + row, r.x + 1 + static_cast<int>(offset + at), 1, a | looks().mnemonic,
                        0, nullptr);
        }
    }

    std::string HelpLine() const {
        switch (focus_) {
        case Pane::Config:
            return KeyHelp(KeyHelpFor::Config);
        case Pane::Tree:
            return KeyHelp(KeyHelpFor::Tree);
        case Pane::Tabs:
        case Pane::Category:
            return KeyHelp(KeyHelpFor::Strip);
        case Pane::Controls:
            break;
        }
        return KeyHelp(KeyHelpFor::Controls);
    }

    // The screen's layout for what it shows now: the tree as wide as its
    // rows, the preview on as many lines as it wraps to.
    Layout CurrentLayout() const {
        int widest = 0;
        for (const TreeRow& row : rows_)
            widest = std::max(
                widest,
                static_cast<int>(
                    TreeRowText(row, face_->PhaseShownBeside(*row.node, row.parent)).size()) +
                    3);
        const int previewLines = static_cast<int>(
            WrapText(PreviewText(), static_cast<size_t>(std::max(1, COLS))).size());
        return ComputeLayout(LINES, COLS, widest, previewLines);
    }

    std::string PreviewText() const { return "Command line: " + face_->Preview(); }

    // ---- keys per pane
    void MoveFocus(int step) {
        size_t i = static_cast<size_t>(std::find(std::begin(kPanes), std::end(kPanes), focus_) -
                                       std::begin(kPanes));
        const size_t n = std::size(kPanes);
        for (size_t k = 0; k < n; ++k) {
            i = (i + n + static_cast<size_t>(step + static_cast<int>(n))) % n;
            focus_ = kPanes[i];
            // Panes with nothing in them are passed over.
            if (focus_ == Pane::Tabs && face_->Tabs().empty()) continue;
            if (focus_ == Pane::Category && face_->Categories().empty()) continue;
            if (focus_ == Pane::Controls && visible_.empty()) continue;
            return;
        }
    }

    void ConfigKey(int key) {
        if (!IsEnter(key) && key != ' ' && key != KEY_DOWN) return;
        std::vector<std::string> choices = face_->ConfigurationChoices();
        std::string now = face_->ConfigurationText();
        size_t current =
            static_cast<size_t>(std::find(choices.begin(), choices.end(), now) - choices.begin());
        const Layout l = CurrentLayout();
        auto picked = dialogs_->DropDown(l.config.y + 2, 1, choices, current);
        if (!picked) return;
        const std::string& choice = choices[*picked];
        std::vector<std::string> names{choice};
        if (*picked + 1 == choices.size()) {
            std::vector<std::string> all = face_->ConfigurationNames();
            std::vector<std::string> shown = face_->ShownConfigurations();
            std::vector<bool> marks;
            for (const std::string& n : all)
                marks.push_back(std::find(shown.begin(), shown.end(), n) != shown.end());
            auto checked = dialogs_->CheckList("Select project configurations to modify",
                                               "Project configurations :", all, marks);
            if (!checked) return;
            names.clear();
            for (size_t i = 0; i < all.size(); ++i)
                if ((*checked)[i]) names.push_back(all[i]);
            if (names.empty()) return;
        }
        Report(face_->ShowConfigurations(names), "the configuration");
    }

    void TreeKey(int key) {
        if (rows_.empty()) return;
        const TreeRow& row = rows_[treeCursor_];
        switch (key) {
        case KEY_UP:
            if (treeCursor_ > 0) --treeCursor_;
            return;
        case KEY_DOWN:
            if (treeCursor_ + 1 < rows_.size()) ++treeCursor_;
            return;
        case KEY_PPAGE:
            treeCursor_ = treeCursor_ > 10 ? treeCursor_ - 10 : 0;
            return;
        case KEY_NPAGE:
            treeCursor_ = std::min(rows_.size() - 1, treeCursor_ + 10);
            return;
        case KEY_HOME:
            treeCursor_ = 0;
            return;
        case KEY_END:
            treeCursor_ = rows_.size() - 1;
            return;
        case KEY_LEFT:
        case '-':
            if (!row.node->children.empty() && !row.folded) {
                folded_.insert(row.id);
            } else {
                // To the parent.
                for (size_t i = treeCursor_; i-- > 0;)
                    if (rows_[i].depth < row.depth) {
                        treeCursor_ = i;
                        break;
                    }
            }
            Rebuild();
            return;
        case KEY_RIGHT:
        case '+':
            if (row.folded)
                folded_.erase(row.id);
            else if (!row.node->children.empty() && treeCursor_ + 1 < rows_.size())
                ++treeCursor_;
            Rebuild();
            return;
        default:
            break;
        }
        sheet::NodeRef ref = RefOf(*row.node);
        if (IsEnter(key)) {
            Report(face_->Select({ref}, false), "the selection");
        } else if (key == ' ') {
            std::vector<sheet::NodeRef> selection = face_->Selection();
            auto it = std::find(selection.begin(), selection.end(), ref);
            if (it == selection.end()) {
                Report(face_->Select({ref}, true), "the selection");
            } else {
                selection.erase(it);
                Report(face_->Select(selection, false), "the selection");
            }
        } else if (key < 256 && std::isgraph(key)) {
            // Type-ahead: the next row whose label starts with the letter.
            for (size_t k = 1; k <= rows_.size(); ++k) {
                size_t i = (treeCursor_ + k) % rows_.size();
                std::string label = PlainText(rows_[i].node->label);
                size_t first = label.find_first_not_of(" _");
                if (first != std::string::npos &&
                    core::AsciiLower(label[first]) == core::AsciiLower(static_cast<char>(key))) {
                    treeCursor_ = i;
                    return;
                }
            }
        }
    }

    void TabKey(int key) {
        int active = face_->ActiveTab();
        int count = static_cast<int>(face_->Tabs().size());
        if (key == KEY_LEFT && active > 0)
            Report(face_->ActivateTab(static_cast<size_t>(active - 1)), "the tab");
        else if (key == KEY_RIGHT && active + 1 < count)
            Report(face_->ActivateTab(static_cast<size_t>(active + 1)), "the tab");
        else if (IsEnter(key) || key == KEY_DOWN)
            MoveFocus(1);
        else if (IsMnemonicKey(key))
            return MnemonicFromTop(core::AsciiLower(static_cast<char>(key)));
        controlCursor_ = 0;
    }

    void CategoryKey(int key) {
        int active = face_->ActiveCategory();
        int count = static_cast<int>(face_->Categories().size());
        if ((key == KEY_LEFT || key == KEY_UP) && active > 0)
            Report(face_->ShowCategory(static_cast<size_t>(active - 1)), "the category");
        else if ((key == KEY_RIGHT || key == KEY_DOWN) && active + 1 < count)
            Report(face_->ShowCategory(static_cast<size_t>(active + 1)), "the category");
        else if (IsEnter(key))
            MoveFocus(1);
        else if (IsMnemonicKey(key))
            return MnemonicFromTop(core::AsciiLower(static_cast<char>(key)));
        controlCursor_ = 0;
    }

    // From the tabs or categories: the first control of the page with the letter.
    void MnemonicFromTop(char letter) {
        controlCursor_ = visible_.empty() ? 0 : visible_.size() - 1;
        Mnemonic(letter);
    }

    bool Selectable(size_t v) const {
        return face_->Controls()[visible_[v]].kind != ControlKind::Label;
    }

    void ControlKey(int key) {
        if (visible_.empty()) return;
        if (key == KEY_UP || key == KEY_DOWN) {
            int step = key == KEY_UP ? -1 : 1;
            for (size_t v = controlCursor_;;) {
                if ((step < 0 && v == 0) || (step > 0 && v + 1 >= visible_.size())) break;
                v = static_cast<size_t>(static_cast<int>(v) + step);
                if (Selectable(v)) {
                    controlCursor_ = v;
                    break;
                }
            }
            return;
        }
        size_t c = visible_[controlCursor_];
        const sheet::ControlDef& def = face_->Controls()[c];
        if (key == ' ' ||
            ((key == KEY_LEFT || key == KEY_RIGHT) && def.kind == ControlKind::Choice)) {
            if (auto value = ToggledValue(def, face_->States()[c]))
                Report(face_->SetControl(c, *value), PlainText(def.label));
            else if (key == ' ')
                Activate(c); // texts, lists and buttons: their editor, as Enter
            return;
        }
        if (IsEnter(key)) {
            Activate(c);
            return;
        }
        if (IsMnemonicKey(key)) Mnemonic(core::AsciiLower(static_cast<char>(key)));
    }

    // Enter on a control: its editor.
    void Activate(size_t c) {
        const sheet::ControlDef def = face_->Controls()[c];
        const sheet::ControlState state = face_->States()[c];
        const std::string label = PlainText(def.label);
        if (!state.enabled && def.kind != ControlKind::Label) {
            status_ = label + " cannot be changed now.";
            return;
        }
        switch (def.kind) {
        case ControlKind::Check:
        case ControlKind::Check3:
            if (auto value = ToggledValue(def, state)) Report(face_->SetControl(c, *value), label);
            return;
        case ControlKind::Choice: {
            std::vector<std::string> shown;
            for (const std::string& word : def.values)
                shown.push_back(sheet::ChoiceText(def, word));
            std::string now = state.value.empty() ? "" : state.value.front();
            size_t current = static_cast<size_t>(
                std::find(def.values.begin(), def.values.end(), now) - def.values.begin());
            // Under the control's line, as a drop-down list opens.
            const Layout l = CurrentLayout();
            const int row = l.controls.y + static_cast<int>(controlCursor_ - controlTop_) + 1;
            if (auto picked = dialogs_->DropDown(row, l.controls.x + 2, shown, current))
                Report(face_->SetControl(c, {def.values[*picked]}), label);
            return;
        }
        case ControlKind::Text:
        case ControlKind::Number: {
            std::string now = state.mixed || state.value.empty() ? "" : state.value.front();
            std::string prompt = label + (def.kind == ControlKind::Number
                                              ? " (" + std::to_string(def.minimum) + ".." +
                                                    std::to_string(def.maximum) + "):"
                                              : ":");
            LineEditor::Check check;
            if (def.kind == ControlKind::Number)
                check = [def](const std::string& t) { return TypedNumberMessage(def, t); };
            if (auto text = dialogs_->EditLine(label, prompt, now, check))
                Report(face_->SetControl(c, {*text}), label);
            return;
        }
        case ControlKind::List:
            EditList(c);
            return;
        case ControlKind::Button:
            PressButton(c);
            return;
        case ControlKind::Label:
            return;
        }
    }

    // The list a button beside it acts on: the nearest one above it.
    std::optional<size_t> ListAbove(size_t c) const {
        for (size_t i = c; i-- > 0;)
            if (face_->Controls()[i].kind == ControlKind::List) return i;
        return std::nullopt;
    }

    void PressButton(size_t c) {
        const std::string label = PlainText(face_->Controls()[c].label);
        if (label == sheet::kRestoreDefaults) {
            Report(face_->Press(c), label);
            return;
        }
        auto list = ListAbove(c);
        if (!list) {
            status_ = label + " has no use in the terminal.";
            return;
        }
        SectionList kind = SectionListOf(face_->Controls()[*list]);
        if (kind == SectionList::None) {
            EditList(*list);
            return;
        }
        // A section button: its own dialog, on the row picked first where it
        // needs one.
        const std::vector<std::string> rows = face_->States()[*list].value;
        const bool adds =
            label.rfind("Add", 0) == 0 || label == "Insert group..." || label == "Export...";
        if (adds) {
            SectionEdit(kind, label, std::nullopt);
        } else if (rows.empty()) {
            status_ = "The list is empty.";
        } else if (auto row = dialogs_->Pick(label, rows, 0)) {
            SectionEdit(kind, label, *row);
        }
    }

    // An entry dialog for a section command, opened again with what was typed
    // while the editor refuses it, as its dialogs stay open.
    bool SectionForm(
        const std::string& caption, std::vector<FormField> fields,
        const std::function<std::vector<std::string>(const std::vector<std::string>&)>& command,
        const std::string& what) {
        while (true) {
            auto typed = dialogs_->Form(caption, fields);
            if (!typed) return false;
            CommandResult result = face_->SectionCommand(command(*typed));
            Report(result, what);
            if (result != CommandResult::Refused) return result == CommandResult::Done;
            for (size_t i = 0; i < fields.size(); ++i) fields[i].text = (*typed)[i];
        }
    }

    // Runs one section command; false when it was not carried out.
    bool Section(const std::vector<std::string>& fields, const std::string& what) {
        CommandResult result = face_->SectionCommand(fields);
        Report(result, what);
        return result == CommandResult::Done;
    }

    // The dialog of a section button `action`, on row `row` of its list.
    bool SectionEdit(SectionList kind, const std::string& action, std::optional<size_t> row) {
        size_t list = 0;
        for (size_t i = 0; i < face_->Controls().size(); ++i)
            if (SectionListOf(face_->Controls()[i]) == kind) list = i;
        const std::vector<std::string> rows = face_->States()[list].value;
        const std::string listLabel = PlainText(face_->Controls()[list].label);
        if (row && *row >= rows.size()) return false;
        const bool remove = action == "Remove";
        switch (kind) {
        case SectionList::Regions: {
            RegionFields now;
            if (row) {
                auto parsed = ParseRegionRow(rows[*row]);
                if (!parsed) return false;
                now = *parsed;
            }
            if (remove) return Section({"region", "remove", now.name}, listLabel);
            const bool modify = row.has_value();
            return SectionForm(
                modify ? "Modify memory region" : "Add memory region",
                {{"Region name:", now.name, {}},
                 {"Start address:", now.start, {}},
                 {"End address:", now.end, {}}},
                [&](const std::vector<std::string>& t) -> std::vector<std::string> {
                    if (modify) return {"region", "modify", now.name, t[0], t[1], t[2]};
                    return {"region", "add", t[0], t[1], t[2]};
                },
                listLabel);
        }
        case SectionList::Starts: {
            auto typed = dialogs_->EditLine("Section start address",
                                            "Group=address:", row ? rows[*row] : std::string());
            if (!typed) return false;
            auto parsed = ParseStartRow(*typed);
            if (!parsed) {
                status_ = "Give the group and its address as group=address.";
                return false;
            }
            return Section({"start", parsed->first, parsed->second}, listLabel);
        }
        case SectionList::Groups:
            return GroupEdit(action, row ? ParseGroupRow(rows[*row]) : std::nullopt, listLabel);
        case SectionList::None:
            break;
        }
        return false;
    }

    std::optional<std::string> PickPlacement(const std::string& now) {
        const auto& words = PlacementWords();
        size_t at = static_cast<size_t>(std::find(words.begin(), words.end(), now) - words.begin());
        auto picked = dialogs_->Pick("Placement", PlacementNames(), at < words.size() ? at : 0);
        if (!picked) return std::nullopt;
        return words[*picked];
    }

    bool GroupEdit(const std::string& action, const std::optional<GroupFields>& group,
                   const std::string& what) {
        if (action == "Export...") {
            auto path = dialogs_->EditLine("Export", "Sections file (.gsi):", "");
            return path && Section({"export", *path}, what);
        }
        if (action == "Insert group...") {
            auto placement = PickPlacement("address");
            if (!placement) return false;
            return SectionForm(
                "Insert group", {{"Group name:", "", {}}, {PlacementPrompt(*placement), "", {}}},
                [&](const std::vector<std::string>& t) -> std::vector<std::string> {
                    return {"group", "add", t[0], *placement, t[1]};
                },
                what);
        }
        if (!group) return false;
        if (action == "Remove") return Section({"group", "remove", group->name}, what);
        if (action == "Modify...") {
            auto placement = PickPlacement(group->placement);
            if (!placement) return false;
            const std::string text = *placement == group->placement ? group->text : "";
            return SectionForm(
                "Modify group",
                {{"Group name:", group->name, {}}, {PlacementPrompt(*placement), text, {}}},
                [&](const std::vector<std::string>& t) -> std::vector<std::string> {
                    return {"group", "modify", group->name, t[0], *placement, t[1]};
                },
                what);
        }
        if (action == "Insert label...") {
            auto label = dialogs_->EditLine("Insert label", "Label name:", "");
            return label && Section({"label", "add", group->name, *label}, what);
        }
        if (action == "Insert section...") {
            auto typed = dialogs_->Form(
                "Insert section", {{"Input section (All-sections for every one):", "", {}},
                                   {"Files, separated by blanks (empty: All-files):", "", {}}});
            if (!typed) return false;
            std::vector<std::string> fields{"section", "add", group->name, (*typed)[0]};
            for (std::string& f : FileWords((*typed)[1])) fields.push_back(std::move(f));
            return Section(fields, what);
        }
        if (action == "Advanced settings...") {
            auto typed = dialogs_->Form(
                "Advanced settings",
                {{"NOLOAD (0 or 1):", "0", {}},
                 {"KEEP (0 or 1):", "0", {}},
                 {"Map (load) address: none, follow, address, label or region:", "none", {}},
                 {"Map address text:", "", {}}});
            if (!typed) return false;
            const std::vector<std::string>& t = *typed;
            std::vector<std::string> fields{"advanced", group->name, t[0], t[1]};
            if (t[2] != "none" || !t[3].empty()) fields.push_back(t[2]);
            if (!t[3].empty()) fields.push_back(t[3]);
            return Section(fields, what);
        }
        return false;
    }

    void EditList(size_t c) {
        const std::string label = PlainText(face_->Controls()[c].label);
        auto rows = [this, c] { return face_->States()[c].value; };
        SectionList kind = SectionListOf(face_->Controls()[c]);
        ListActions actions;
        if (kind != SectionList::None) {
            const bool groups = kind == SectionList::Groups;
            actions.add = [this, kind, groups] {
                return SectionEdit(kind, groups ? "Insert group..." : "Add...", std::nullopt);
            };
            actions.modify = [this, kind](size_t i) { return SectionEdit(kind, "Modify...", i); };
            if (kind != SectionList::Starts)
                actions.remove = [this, kind](size_t i) { return SectionEdit(kind, "Remove", i); };
            dialogs_->EditList(label, rows, actions);
            return;
        }
        auto apply = [this, c, label](const std::vector<std::string>& entries) {
            CommandResult result = face_->SetControl(c, entries);
            Report(result, label);
            return result == CommandResult::Done;
        };
        actions.add = [this, label, rows, apply] {
            auto entry = dialogs_->EditLine(label, "New entry:", "");
            if (!entry) return false;
            std::vector<std::string> changed = rows();
            changed.push_back(*entry);
            return apply(changed);
        };
        actions.modify = [this, label, rows, apply](size_t i) {
            std::vector<std::string> changed = rows();
            auto entry = dialogs_->EditLine(label, "Entry:", changed.at(i));
            if (!entry) return false;
            changed[i] = *entry;
            return apply(changed);
        };
        actions.remove = [rows, apply](size_t i) {
            std::vector<std::string> changed = rows();
            changed.erase(changed.begin() + static_cast<std::ptrdiff_t>(i));
            return apply(changed);
        };
        // The order matters: include directories are searched in it.
        actions.move = [rows, apply](size_t from, size_t to) {
            std::vector<std::string> changed = rows();
            std::swap(changed.at(from), changed.at(to));
            return apply(changed);
        };
        dialogs_->EditList(label, rows, actions);
    }

    // A mnemonic letter: the focus goes to the next control of the page that
    // has it; Space or Enter then changes it.
    void Mnemonic(char letter) {
        const auto& defs = face_->Controls();
        for (size_t k = 1; k <= visible_.size(); ++k) {
            size_t v = (controlCursor_ + k) % visible_.size();
            const sheet::ControlDef& def = defs[visible_[v]];
            if (def.kind == ControlKind::Label || sheet::MnemonicOf(def.label) != letter) continue;
            focus_ = Pane::Controls;
            controlCursor_ = v;
            return;
        }
        status_ = std::string("No control with the letter ") + letter + " on this page.";
    }

    void Search() {
        const sheet::FaceQuestion question = face_->SearchQuestion();
        auto text = dialogs_->EditLine(question.caption, question.text, "");
        if (!text) return;
        const std::vector<sheet::SearchHit> hits = face_->Search(*text);
        if (hits.empty()) {
            status_ = face_->NothingFound(*text);
            return;
        }
        size_t chosen = 0;
        if (hits.size() > 1) {
            std::vector<std::string> lines;
            for (const sheet::SearchHit& h : hits) lines.push_back(h.text);
            auto picked = dialogs_->Pick(question.caption + ": " + *text, lines, 0);
            if (!picked) return;
            chosen = *picked;
        }
        const sheet::FaceControl& hit = hits[chosen].control;
        CommandResult result = face_->ActivateTab(hit.tab);
        if (result == CommandResult::Done && !hit.categoryLabel.empty())
            result = face_->ShowCategory(hit.category);
        Report(result, hit.label);
        if (result != CommandResult::Done) return;
        auto it = std::find(visible_.begin(), visible_.end(), hit.control);
        if (it == visible_.end()) return;
        controlCursor_ = static_cast<size_t>(it - visible_.begin());
        focus_ = Pane::Controls;
    }

    void Help() {
        if (focus_ != Pane::Controls || visible_.empty()) {
            dialogs_->Message(
                "Keys",
                "Tab/Shift-Tab: next/previous pane\nArrows: move; Left/Right fold the tree\n"
                "Enter: select a node, edit a control\nSpace: add a node to the selection, "
                "toggle a switch\nLetters: the underlined letter of a control\n"
                "/: search every page by label or tool flag\n?: help of a control\n"
                "F10 or Ctrl-S: OK    Esc or Ctrl-C: Cancel",
                platform::MessageButtons::Ok);
            return;
        }
        const size_t c = visible_[controlCursor_];
        const sheet::ControlDef& def = face_->Controls()[c];
        const sheet::ControlValues values = face_->ValuesOf(c);
        dialogs_->Message(PlainText(def.label),
                          HelpText(def, values.defaultValue, values.configurations),
                          platform::MessageButtons::Ok);
    }

    sheet::CSheetFace* face_ = nullptr;
    std::unique_ptr<Session> session_;
    std::unique_ptr<Dialogs> dialogs_;
    Pane focus_ = Pane::Tree;
    sheet::TreeNode tree_;
    std::set<std::string> folded_;
    std::vector<TreeRow> rows_;
    size_t treeCursor_ = 0, treeTop_ = 0;
    std::vector<size_t> visible_; // controls shown, by index
    size_t controlCursor_ = 0, controlTop_ = 0;
    std::string status_;
};

} // namespace
} // namespace quorle::tui

extern "C" __attribute__((visibility("default"))) quorle::sheet::CSheetView*
QuorleCreateTerminalView() {
    return new quorle::tui::TerminalView();
}
