// Page data: the controls of a page as plain data, bound to option keys, and
// the state a view shows for each.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "models/model_base.h"
#include "sheet/mnemonic.h"

namespace quorle::sheet {

// A control's value: one entry for everything but a list. Switches hold "0"
// or "1" ("2" for the third state), choices their word as the option string
// writes it, texts and numbers their text, lists their entries.
using Value = std::vector<std::string>;

enum class ControlKind {
    Check,  // two states
    Check3, // three states; "2" leaves every model as it is
    Choice,
    Text,
    Number, // decimal text in [minimum, maximum], checked when the page saves
    List,
    Button,
    Label, // static text
};

struct SharedState; // what a control may bind to besides the models

// Where a control's value lives. Model-bound controls apply to the selected
// models of the phases in `phases` (bit 1 << phase index).
struct Binding {
    unsigned phases = 0;
    std::function<Value(const models::ModelBase&)> get;
    std::function<void(models::ModelBase&, const Value&)> set;
    std::function<Value(const SharedState&)> getShared;
    std::function<void(SharedState&, const Value&)> setShared;

    bool Bound() const { return get != nullptr || getShared != nullptr; }
};

// Enabled while the control named by key or label holds one of `values`
// (or shows the mixed state). An empty `control` means always.
struct EnableRule {
    std::string control;
    std::vector<std::string> values;
};

// Checks a list entry before it goes in; returns the message to show, or
// nothing when the entry is acceptable. `others` are the remaining entries.
using EntryCheck =
    std::function<std::optional<std::string>(const std::string& entry, const Value& others)>;

struct ControlDef {
    ControlKind kind = ControlKind::Label;
    std::string label; // with its mnemonic "&"
    std::string key;   // option key it is bound to; "" for none
    // The key-table entries the control writes ("B|DEBUG|0", "S|INCDIR|"),
    // when they are more than its own key's or another control shares the
    // key name; empty means every entry of `key`.
    std::vector<std::string> tokens;
    std::vector<std::string> values;      // choice words
    std::vector<std::string> valueLabels; // what a view shows for each word
    int minimum = 0;
    int maximum = 0;
    std::string help; // one line naming the tool flag where there is one
    bool hidden = false;
    EnableRule enable;
    Binding binding;
    EntryCheck checkEntry;    // lists only
    bool pathEntries = false; // list of directories or files: placeholders are offered
};

struct ControlState {
    Value value;
    bool mixed = false; // the selected models differ
    bool enabled = true;
    bool touched = false; // changed by the user since the page was loaded
};

// The label without its mnemonic "&" and without a trailing colon (and the
// blanks before it). Inline: the views, in libraries of their own, use it too.
inline std::string PlainLabel(const std::string& label) {
    std::string plain = LabelWithoutMarks(label);
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    if (!plain.empty() && plain.back() == ':') plain.pop_back();
    while (!plain.empty() && plain.back() == ' ') plain.pop_back();
    return plain;
}

// What a choice shows for one of its words: the word's label, or the word
// itself where it has none (a word the choice does not list, or a blank label).
inline std::string ChoiceText(const ControlDef& def, const std::string& word) {
    for (size_t i = 0; i < def.values.size(); ++i)
        if (def.values[i] == word)
            return i < def.valueLabels.size() && !def.valueLabels[i].empty() ? def.valueLabels[i]
                                                                             : word;
    return word;
}

} // namespace quorle::sheet
