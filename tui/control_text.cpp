#include "tui/control_text.h"

#include <algorithm>

#include "tui/labels.h"

namespace quorle::tui {
namespace {

using sheet::ChoiceText;
using sheet::ControlKind;

std::string First(const sheet::Value& value) {
    return value.empty() ? std::string() : value.front();
}

} // namespace

std::string ControlLine(const sheet::ControlDef& def, const sheet::ControlState& state) {
    const std::string label = PlainText(def.label);
    const std::string value = First(state.value);
    switch (def.kind) {
    case ControlKind::Check:
    case ControlKind::Check3: {
        const char* box = "[ ]";
        if (state.mixed || value == "2")
            box = "[-]";
        else if (value == "1")
            box = "[x]";
        return std::string(box) + " " + label;
    }
    case ControlKind::Choice:
        return label + ": <" + (state.mixed ? std::string("mixed") : ChoiceText(def, value)) + ">";
    case ControlKind::Text:
        return label + ": [" + (state.mixed ? std::string("<mixed>") : value) + "]";
    case ControlKind::Number:
        return label + ": [" + (state.mixed ? std::string("<mixed>") : value) + "] (" +
               std::to_string(def.minimum) + ".." + std::to_string(def.maximum) + ")";
    case ControlKind::List: {
        if (state.mixed) return label + ": <mixed>";
        std::string line = label + ": " + std::to_string(state.value.size()) +
                           (state.value.size() == 1 ? " entry" : " entries");
        for (size_t i = 0; i < state.value.size(); ++i)
            line += (i == 0 ? ": " : "; ") + state.value[i];
        return line;
    }
    case ControlKind::Button:
        return "< " + label + " >";
    case ControlKind::Label:
        break;
    }
    return label;
}

std::string ValueText(const sheet::ControlDef& def, const sheet::Value& value) {
    const std::string word = First(value);
    switch (def.kind) {
    case ControlKind::Check:
    case ControlKind::Check3:
        return word == "1" ? "on" : word == "2" ? "left as it is" : "off";
    case ControlKind::Choice:
        return ChoiceText(def, word);
    case ControlKind::Text:
    case ControlKind::Number:
        return "[" + word + "]";
    case ControlKind::List: {
        if (value.empty()) return "no entries";
        std::string joined;
        for (const std::string& e : value) joined += (joined.empty() ? "" : "; ") + e;
        return joined;
    }
    case ControlKind::Button:
    case ControlKind::Label:
        break;
    }
    return word;
}

std::string
HelpText(const sheet::ControlDef& def, const std::optional<sheet::Value>& defaultValue,
         const std::vector<std::pair<std::string, std::vector<sheet::Value>>>& configurations) {
    std::string text = "Label: " + PlainText(def.label);
    text += "\nOption key: " + (def.key.empty() ? std::string("none") : def.key);
    text += "\nTool flag: " + (def.help.empty() ? std::string("none of its own") : def.help);
    if (defaultValue) text += "\nDefault: " + ValueText(def, *defaultValue);
    for (const auto& [name, values] : configurations) {
        text += "\nIn " + name + ": ";
        for (size_t i = 0; i < values.size(); ++i)
            text += (i == 0 ? "" : " | ") + ValueText(def, values[i]);
        if (values.size() > 1) text += " (the selected files differ)";
    }
    return text;
}

std::string TypedNumberMessage(const sheet::ControlDef& def, const std::string& text) {
    size_t start = 0;
    if (!text.empty() && (text[0] == '+' || (text[0] == '-' && def.minimum < 0))) start = 1;
    // Ten digits hold any 32-bit range; more only make a paste slow.
    bool fine = text.size() - start <= 10;
    for (size_t i = start; i < text.size() && fine; ++i) fine = text[i] >= '0' && text[i] <= '9';
    if (fine) return {};
    return PlainText(def.label) + ": please enter an integer between " +
           std::to_string(def.minimum) + " and " + std::to_string(def.maximum) + ".";
}

std::optional<sheet::Value> ToggledValue(const sheet::ControlDef& def,
                                         const sheet::ControlState& state) {
    const std::string value = First(state.value);
    switch (def.kind) {
    case ControlKind::Check:
        return sheet::Value{value == "1" && !state.mixed ? "0" : "1"};
    case ControlKind::Check3:
        // As a three-state box cycles: clear, set, third state, clear.
        if (state.mixed || value == "2") return sheet::Value{"0"};
        return sheet::Value{value == "1" ? "2" : "1"};
    case ControlKind::Choice: {
        if (def.values.empty()) return std::nullopt;
        auto it = std::find(def.values.begin(), def.values.end(), value);
        if (state.mixed || it == def.values.end()) return sheet::Value{def.values.front()};
        ++it;
        return sheet::Value{it == def.values.end() ? def.values.front() : *it};
    }
    default:
        return std::nullopt;
    }
}

} // namespace quorle::tui
