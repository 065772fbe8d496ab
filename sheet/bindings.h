// Helpers that bind a control to a field of a phase's model through the
// same key tables the model reads and writes, so that a control's words are
// the option string's values.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "sheet/control.h"
#include "sheet/option_set.h"

namespace quorle::sheet {

// The key of a token text: "B|OPTIMIZE|1" gives "OPTIMIZE".
std::string KeyOfToken(std::string_view token);
// The value word of a token text: "I|OPTLV|2" gives "2"; an empty entry of a
// switch table is its "0".
std::string WordOfToken(std::string_view token, bool switchTable);
// The words of an index table, position by position.
std::vector<std::string> WordsOf(models::KeyList table);

inline constexpr unsigned PhaseBit(PhaseIndex kind) {
    return 1u << static_cast<int>(kind);
}

// An index field of `Model` whose positions are the entries of `table`.
template <class Model, class Owner> Binding BindIndex(int Owner::*field, models::KeyList table) {
    std::vector<std::string> words = WordsOf(table);
    Binding b;
    b.phases = PhaseBit(KindOf<Model>::value);
    b.get = [field, words](const models::ModelBase& m) -> Value {
        int position = static_cast<const Owner&>(*As<Model>(&m)).*field;
        if (position < 0 || static_cast<size_t>(position) >= words.size()) return {""};
        return {words[static_cast<size_t>(position)]};
    };
    b.set = [field, words](models::ModelBase& m, const Value& v) {
        for (size_t i = 0; i < words.size(); ++i) {
            if (words[i] == v.front()) {
                static_cast<Owner&>(*As<Model>(&m)).*field = static_cast<int>(i);
                return;
            }
        }
    };
    return b;
}

// A flag of `Model`, "0" or "1".
template <class Model, class Owner> Binding BindFlag(bool Owner::*field) {
    Binding b;
    b.phases = PhaseBit(KindOf<Model>::value);
    b.get = [field](const models::ModelBase& m) -> Value {
        return {static_cast<const Owner&>(*As<Model>(&m)).*field ? "1" : "0"};
    };
    b.set = [field](models::ModelBase& m, const Value& v) {
        static_cast<Owner&>(*As<Model>(&m)).*field = v.front() == "1";
    };
    return b;
}

// A text field of `Model`.
template <class Model, class Owner> Binding BindText(std::string Owner::*field) {
    Binding b;
    b.phases = PhaseBit(KindOf<Model>::value);
    b.get = [field](const models::ModelBase& m) -> Value {
        return {static_cast<const Owner&>(*As<Model>(&m)).*field};
    };
    b.set = [field](models::ModelBase& m, const Value& v) {
        static_cast<Owner&>(*As<Model>(&m)).*field = v.front();
    };
    return b;
}

// A list field of `Model`.
template <class Model, class Owner> Binding BindList(std::vector<std::string> Owner::*field) {
    Binding b;
    b.phases = PhaseBit(KindOf<Model>::value);
    b.get = [field](const models::ModelBase& m) -> Value {
        return static_cast<const Owner&>(*As<Model>(&m)).*field;
    };
    b.set = [field](models::ModelBase& m, const Value& v) {
        static_cast<Owner&>(*As<Model>(&m)).*field = v;
    };
    return b;
}

// A build-control switch of the base, for the models of every phase in `phases`.
Binding BindBuildControl(bool models::ModelBase::*field, unsigned phases);
// A bit of the workspace toolchain settings value.
Binding BindSettingsBit(unsigned bit);

// A choice control over an index table: key, words and labels from the table.
ControlDef ChoiceControl(std::string label, models::KeyList table,
                         std::vector<std::string> valueLabels, Binding binding, std::string help);

} // namespace quorle::sheet
