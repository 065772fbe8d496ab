// Control labels as the terminal shows them: the mnemonic marker taken out
// and the mnemonic letter found.
#pragma once

#include <string>

namespace quorle::tui {

// Without "&" (a doubled "&&" stays one) and without a trailing colon.
std::string PlainText(const std::string& label);
// The lower-case letter after a single "&", or 0 when there is none.
char MnemonicOf(const std::string& label);
// Where the mnemonic letter sits in PlainText(label), or npos.
size_t MnemonicPosition(const std::string& label);

} // namespace quorle::tui
