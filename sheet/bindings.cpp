#include "sheet/bindings.h"

#include "sheet/page.h"

namespace quorle::sheet {

std::string KeyOfToken(std::string_view token) {
    size_t first = token.find('|');
    if (first == std::string_view::npos) return {};
    size_t second = token.find('|', first + 1);
    return std::string(token.substr(
        first + 1, second == std::string_view::npos ? std::string_view::npos : second - first - 1));
}

std::string WordOfToken(std::string_view token, bool switchTable) {
    if (token.empty()) return switchTable ? "0" : "";
    size_t first = token.find('|');
    size_t second = first == std::string_view::npos ? first : token.find('|', first + 1);
    return second == std::string_view::npos ? std::string() : std::string(token.substr(second + 1));
}

std::vector<std::string> WordsOf(models::KeyList table) {
    bool switchTable = false;
    for (std::string_view entry : table) switchTable = switchTable || entry.starts_with("B|");
    std::vector<std::string> words;
    for (std::string_view entry : table) words.push_back(WordOfToken(entry, switchTable));
    return words;
}

Binding BindBuildControl(bool models::ModelBase::*field, unsigned phases) {
    Binding b;
    b.phases = phases;
    b.get = [field](const models::ModelBase& m) -> Value { return {m.*field ? "1" : "0"}; };
    b.set = [field](models::ModelBase& m, const Value& v) { m.*field = v.front() == "1"; };
    return b;
}

Binding BindSettingsBit(unsigned bit) {
    Binding b;
    b.getShared = [bit](const SharedState& s) -> Value { return {(s.settings & bit) ? "1" : "0"}; };
    b.setShared = [bit](SharedState& s, const Value& v) {
        s.settings = v.front() == "1" ? (s.settings | bit) : (s.settings & ~bit);
    };
    return b;
}

ControlDef ChoiceControl(std::string label, models::KeyList table,
                         std::vector<std::string> valueLabels, Binding binding, std::string help) {
    ControlDef c;
    c.kind = ControlKind::Choice;
    c.label = std::move(label);
    for (std::string_view entry : table) {
        if (!entry.empty()) {
            c.key = KeyOfToken(entry);
            break;
        }
    }
    c.values = WordsOf(table);
    c.valueLabels = std::move(valueLabels);
    c.binding = std::move(binding);
    c.help = std::move(help);
    return c;
}

} // namespace quorle::sheet
