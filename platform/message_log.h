// The redirected form of message boxes and other dialogs, shared by both
// platforms: answers taken from a queue, each box written as one line.
#pragma once

#include <optional>
#include <string>

#include "platform/platform.h"

namespace quorle::platform {

// The next word of QUORLE_ANSWERS, or nothing when the queue is used up. The
// queue starts again whenever the variable's value changes.
std::optional<std::string> NextQueuedAnswer();

// caption TAB text TAB answer, with backslash, line feed and tab in the
// text written as \\, \n and \t.
std::string FormatMessageLine(const std::string& caption, const std::string& text,
                              const std::string& answer);

// Appends the line to the QUORLE_MESSAGES file, or to standard error when the
// variable is not set.
void EmitMessageLine(const std::string& line);

const char* AnswerWord(MessageAnswer answer);

// The answer to a box with these buttons: the queued word when the box has
// such a button, otherwise its first button.
MessageAnswer ChooseAnswer(MessageButtons buttons, const std::optional<std::string>& queued);

} // namespace quorle::platform
