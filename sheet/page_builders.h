// Small builders for page data: a control per key-table entry group, bound
// to a model field through a getter and a setter, so that a page reads as a
// list of what the user sees.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "models/model_base.h"
#include "models/path_parts.h"
#include "sheet/bindings.h"
#include "sheet/page_engine.h"

namespace quorle::sheet::build {

using SV = std::string_view;

// A binding through two functions of the phase's model class.
template <class Model>
Binding Bind(std::function<Value(const Model&)> get,
             std::function<void(Model&, const Value&)> set) {
    Binding b;
    b.phases = PhaseBit(KindOf<Model>::value);
    b.get = [get](const models::ModelBase& m) -> Value { return get(*As<Model>(&m)); };
    b.set = [set](models::ModelBase& m, const Value& v) { set(*As<Model>(&m), v); };
    return b;
}

// The value word of entry `index` of `table`.
inline std::string WordOf(models::KeyList table, int index) {
    std::vector<std::string> words = WordsOf(table);
    return index < 0 || static_cast<size_t>(index) >= words.size()
               ? std::string()
               : words[static_cast<size_t>(index)];
}
inline std::string Word(const Value& v) {
    return v.empty() ? std::string() : v.front();
}
inline Value Flag(bool on) {
    return {on ? "1" : "0"};
}

// An index field whose -1 means "not set": the words of `table` with ""
// in front for "not set".
template <class Model, class Owner>
Binding BindOptionalIndex(int Owner::*field, models::KeyList table) {
    std::vector<std::string> words = WordsOf(table);
    return Bind<Model>(
        [field, words](const Model& m) -> Value {
            int i = static_cast<const Owner&>(m).*field;
            return {i < 0 || static_cast<size_t>(i) >= words.size()
                        ? ""
                        : words[static_cast<size_t>(i)]};
        },
        [field, words](Model& m, const Value& v) {
            int found = -1;
            for (size_t i = 0; i < words.size(); ++i)
                if (!words[i].empty() && words[i] == Word(v)) found = static_cast<int>(i);
            static_cast<Owner&>(m).*field = found;
        });
}

// An index field of an off/on table whose "on" entry is not a "B|" switch
// ("S|STRING|DATA", "I|GENOBJ|1"): shown as "0" and "1".
template <class Model, class Owner> Binding BindOnOff(int Owner::*field) {
    return Bind<Model>(
        [field](const Model& m) { return Flag(static_cast<const Owner&>(m).*field != 0); },
        [field](Model& m, const Value& v) {
            static_cast<Owner&>(m).*field = Word(v) == "1" ? 1 : 0;
        });
}

// One flag of a fixed array of flags.
template <class Model, class Owner, size_t N>
Binding BindArrayFlag(std::array<bool, N> Owner::*field, size_t position) {
    return Bind<Model>(
        [field, position](const Model& m) {
            return Flag((static_cast<const Owner&>(m).*field)[position]);
        },
        [field, position](Model& m, const Value& v) {
            (static_cast<Owner&>(m).*field)[position] = Word(v) == "1";
        });
}

// A path kept as directory, leaf and extension, edited as one text.
template <class Model, class Owner> Binding BindPath(models::PathParts Owner::*field) {
    return Bind<Model>(
        [field](const Model& m) -> Value { return {(static_cast<const Owner&>(m).*field).Join()}; },
        [field](Model& m, const Value& v) {
            static_cast<Owner&>(m).*field = models::PathParts::Split(Word(v));
        });
}

// A two-state box over an off/on table, or any binding giving "0"/"1".
ControlDef Check(std::string label, models::KeyList table, Binding binding, std::string help);
// A box for a key not in a table (a whole token such as "B|RSARCH|1").
ControlDef CheckToken(std::string label, SV token, Binding binding, std::string help);
// A choice over `table`; `withUnset` puts "" ("not set") first.
ControlDef Choice(std::string label, models::KeyList table, std::vector<std::string> labels,
                  Binding binding, std::string help, bool withUnset = false);
// A text or number field for a key with a value ("S|OUTFILE|").
ControlDef Text(std::string label, SV prefix, Binding binding, std::string help);
// A list for a list-valued key; `paths` offers the placeholders.
ControlDef List(std::string label, SV prefix, Binding binding, std::string help,
                bool paths = false);
// The "Restore defaults" button.
ControlDef RestoreButton();

EnableRule While(std::string control, std::vector<std::string> values);

// Gives every label without a mnemonic one: the first letter or digit not
// yet used on the page.
void AssignMnemonics(PageData& page);
// The page with its "Restore defaults" button and mnemonics.
PageData Finish(PageData page);

} // namespace quorle::sheet::build
