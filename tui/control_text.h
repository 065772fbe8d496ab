// The terminal form of each control kind as one line of text.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "sheet/control.h"

namespace quorle::tui {

// Switches "[x] Label" / "[ ] Label", the third or mixed state "[-]";
// choices "Label: <shown word>"; texts and numbers "Label: [text]" (numbers
// with their range); lists "Label: n entries: a; b"; buttons "< Label >";
// static text as it stands. A mixed value shows as "<mixed>".
std::string ControlLine(const sheet::ControlDef& def, const sheet::ControlState& state);

// The value Space gives a control: the other state of a switch, the next
// state of a three-state switch (clear, set, third, clear), the next word
// of a choice. Nothing for other kinds.
std::optional<sheet::Value> ToggledValue(const sheet::ControlDef& def,
                                         const sheet::ControlState& state);

// A value as the help shows it: "on"/"off" (and "left as it is" for the
// third state), a choice's shown word, a text in brackets, a list's entries.
std::string ValueText(const sheet::ControlDef& def, const sheet::Value& value);

// The help of a control: its label, key and flag, the default, and the
// value in each configuration (several values: the selected files differ).
std::string
HelpText(const sheet::ControlDef& def, const std::optional<sheet::Value>& defaultValue,
         const std::vector<std::pair<std::string, std::vector<sheet::Value>>>& configurations);

// While a number is typed: "" for a text that is, or may become, an
// integer of the control; else the message, which names the control.
std::string TypedNumberMessage(const sheet::ControlDef& def, const std::string& text);

} // namespace quorle::tui
